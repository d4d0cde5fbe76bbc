// The ways the tool writes a day, and the rule that gives a two-digit year
// its century: each once, for every command that meets them. A schedule
// text's date is MM/DD/YY (read by schedule/written_date), a season file's
// row date and an iCalendar date YYYYMMDD, a page's day YYYY-MM-DD.
#ifndef ZELTO_TOOL_SEASON_DAY_FORMATS_H_
#define ZELTO_TOOL_SEASON_DAY_FORMATS_H_

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tool {

/// The days of the week as three letters, from Sunday: indexed by
/// std::chrono::weekday::c_encoding().
inline constexpr std::array<const char*, 7> kWeekdayNames = {"Sun", "Mon", "Tue", "Wed",
                                                             "Thu", "Fri", "Sat"};

/// `date` as a schedule text writes it, MM/DD/YY: the last two digits of
/// its year alone.
std::string SlashDate(std::chrono::year_month_day date);

/// `day` as eight digits, YYYYMMDD: a season file's row date, an iCalendar
/// event's date.
std::string DigitsDate(std::chrono::sys_days day);

/// `day` as YYYY-MM-DD: a day box of the calendar page.
std::string IsoDate(std::chrono::sys_days day);

/// The year of the two-digit year `two_digits` (0 to 99) when the season's
/// first date is read without --year: 20YY when that is no later than the
/// year after `today`'s, else 19YY. In 2026 "27" is 2027 and "45" 1945.
std::chrono::year DefaultSeasonYear(int two_digits, std::chrono::year today);

/// True when a season's date of two-digit year `two_digits`, after one of
/// `last_two_digits` (-1: none before), passes into the next century: 12/31/99
/// then 01/01/00 is the next day, not 99 years back.
inline bool CrossesCentury(int last_two_digits, int two_digits) {
  return last_two_digits == 99 && two_digits == 0;
}

/// Reads a day written YYYY-MM-DD. False, with the reason, when it is not
/// written so (`*miswritten` then set, when given) or is no real day
/// (2027-02-29).
bool ParseDay(std::string_view text, std::chrono::sys_days* day, std::string* problem,
              bool* miswritten = nullptr);

/// Reads a weekday's name, Mon to Sun (any case).
bool ParseWeekday(std::string_view text, std::chrono::weekday* day, std::string* problem);

/// Reads a --year value, the year of a season's first date: exactly four
/// digits, or none when `text` is empty. False, with the message, for
/// anything else.
bool ReadYearOption(const std::string& text, std::optional<std::chrono::year>* year,
                    std::string* problem);

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_DAY_FORMATS_H_
