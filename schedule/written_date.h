// A stored date read as the MM/DD/YY it is meant to be written in. The
// build stores a date as it stands; what reads it as a day (check, which
// warns of a date that is none, and calendar, which places each game on its
// day) reads it here, so that both take the same dates as written.
#ifndef ZELTO_SCHEDULE_WRITTEN_DATE_H_
#define ZELTO_SCHEDULE_WRITTEN_DATE_H_

#include <chrono>
#include <optional>
#include <string_view>

namespace schedule {

/// A date written MM/DD/YY: its month and day as written (either may be no
/// real one, 13 or 00 say) and the last two digits of its year.
struct WrittenDate {
  std::chrono::month month;  ///< 0 to 99 as written
  std::chrono::day day;      ///< 0 to 99 as written
  int two_digit_year = 0;    ///< 0 to 99
};

/// The date `date` written MM/DD/YY, each part two digits; nullopt for
/// anything else (another length, a blank or a sign among the digits).
std::optional<WrittenDate> ParseWrittenDate(std::string_view date);

/// The written date in `year`; not ok() when it is no real day there.
inline std::chrono::year_month_day DayIn(const WrittenDate& date, std::chrono::year year) {
  return std::chrono::year_month_day{year, date.month, date.day};
}

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_WRITTEN_DATE_H_
