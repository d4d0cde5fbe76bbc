#include "tool/season/season_days.h"

#include <cstdio>

#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "schedule/written_date.h"

namespace tool {

using schedule::WrittenDate;
using std::chrono::year;

namespace {

// The last game day whose next day still has a four-digit year, as an
// iCalendar date needs for the end of an all-day event.
constexpr std::chrono::year_month_day kLastDay{year{9999}, std::chrono::December,
                                               std::chrono::day{30}};

}  // namespace

bool SeasonDays::FromYearOption(const std::string& year_option, std::optional<SeasonDays>* days,
                                std::string* problem) {
  std::optional<year> first_year;
  if (!ReadYearOption(year_option, &first_year, problem)) return false;
  const year today = std::chrono::year_month_day{
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())}.year();
  days->emplace(first_year, today);
  return true;
}

std::string SeasonDays::CenturyNote(const std::string& season) const {
  if (first_year_ || !anchored_) return "";
  const int taken = century_start_ + first_two_digits_;
  const int other = taken >= 2000 ? taken - 100 : taken + 100;
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02d", first_two_digits_);
  return season + ": dates read as " + std::to_string(taken) + " (two-digit year " + digits +
         "); give --year " + std::to_string(other) + " for another century";
}

bool SeasonDays::Take(std::string_view date, std::chrono::sys_days* day, std::string* problem) {
  const std::string shown = schedule::Quoted(schedule::TrimTrailingSpaces(date));
  const std::optional<WrittenDate> written = schedule::ParseWrittenDate(date);
  if (!written) {
    *problem = "date " + shown + " is not written MM/DD/YY";
    return false;
  }
  if (!anchored_) {
    const year first =
        first_year_ ? *first_year_ : DefaultSeasonYear(written->two_digit_year, today_);
    const int first_year = static_cast<int>(first);
    if (first_year % 100 != written->two_digit_year) {
      year_refused_ = true;
      *problem = "--year " + std::to_string(first_year) +
                 " is not the year of the season's first date " + shown + ": its year ends in " +
                 std::string(date.substr(6, 2));
      return false;
    }
    century_start_ = first_year - written->two_digit_year;
    first_two_digits_ = written->two_digit_year;
    anchored_ = true;
  } else if (CrossesCentury(last_two_digits_, written->two_digit_year) &&
             century_start_ <= static_cast<int>(kLastDay.year())) {
    // Past the last day a calendar holds, further centuries change nothing.
    century_start_ += 100;
  }
  last_two_digits_ = written->two_digit_year;

  const int full_year = century_start_ + written->two_digit_year;
  const std::chrono::year_month_day real = schedule::DayIn(*written, year{full_year});
  if (!real.ok()) {
    *problem = "date " + shown + " is no real day in " + std::to_string(full_year);
    return false;
  }
  if (std::chrono::sys_days{real} > std::chrono::sys_days{kLastDay}) {
    *problem = "date " + shown + " falls in " + std::to_string(full_year) +
               ", past the last day a calendar holds";
    return false;
  }
  *day = std::chrono::sys_days{real};
  return true;
}

}  // namespace tool
