// The real days of a season's dates, for the commands that place a season
// on the calendar (calendar, export). A stored date holds two digits of the
// year (MM/DD/YY); the season's first date fixes the century, and later
// dates follow it, passing into the next century where a 99 year is
// followed by a 00 year, as check counts the dates.
#ifndef ZELTO_TOOL_SEASON_SEASON_DAYS_H_
#define ZELTO_TOOL_SEASON_SEASON_DAYS_H_

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

/// `day` as eight digits, YYYYMMDD: a season file's row date, an iCalendar
/// event's date.
std::string DigitsDate(std::chrono::sys_days day);

/// The year of the two-digit year `two_digits` (0 to 99) when the season's
/// first date is read without --year: 20YY when that is no later than the
/// year after `today`'s, else 19YY. In 2026 "27" is 2027 and "45" 1945.
std::chrono::year DefaultSeasonYear(int two_digits, std::chrono::year today);

/// Reads a --year value, the year of a season's first date: exactly four
/// digits, or none when `text` is empty. False, with the message, for
/// anything else.
bool ReadYearOption(const std::string& text, std::optional<std::chrono::year>* year,
                    std::string* problem);

/// Follows the dates of a season in the order of the file and turns each
/// into its real day.
class SeasonDays {
 public:
  /// `first_year`: the year of the season's first date (--year), or nullopt
  /// for the default rule, which reads `today`.
  SeasonDays(std::optional<std::chrono::year> first_year, std::chrono::year today)
      : first_year_(first_year), today_(today) {}

  /// The real day of the stored date `date` (8 bytes, space-padded). False
  /// with the reason in `problem` when it is not written MM/DD/YY, is no
  /// real day in its year, or does not agree with --year (the first date's
  /// two digits are not the last two of the year given).
  bool Take(std::string_view date, std::chrono::sys_days* day, std::string* problem);

  /// True once a date disagreed with --year: nothing more can be placed.
  bool year_refused() const { return year_refused_; }

 private:
  std::optional<std::chrono::year> first_year_;
  std::chrono::year today_;
  bool anchored_ = false;  // the first written date has fixed the century
  bool year_refused_ = false;
  int century_start_ = 0;  // the year of the century's 00, e.g. 1800
  int last_two_digits_ = -1;
};

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_SEASON_DAYS_H_
