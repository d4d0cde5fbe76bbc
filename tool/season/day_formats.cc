#include "tool/season/day_formats.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "schedule/shown_text.h"
#include "schedule/whole_number.h"

namespace tool {

using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

namespace {

// The value of `text` when it is all decimal digits, else -1.
int DigitsValue(std::string_view text) {
  uint64_t value = 0;
  return schedule::IsWholeNumber(text, 9999, &value) ? static_cast<int>(value) : -1;
}

}  // namespace

std::string SlashDate(year_month_day date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u/%02u/%02d", static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<int>(date.year()) % 100);
  return text;
}

namespace {

// The year in four digits, then the month and the day in two, with
// `between` between the three.
std::string YearFirstDate(std::chrono::sys_days day, const char* between) {
  const year_month_day date{day};
  char text[48];
  std::snprintf(text, sizeof text, "%04d%s%02u%s%02u", static_cast<int>(date.year()), between,
                static_cast<unsigned>(date.month()), between, static_cast<unsigned>(date.day()));
  return text;
}

}  // namespace

std::string DigitsDate(std::chrono::sys_days day) { return YearFirstDate(day, ""); }

std::string IsoDate(std::chrono::sys_days day) { return YearFirstDate(day, "-"); }

year DefaultSeasonYear(int two_digits, year today) {
  const year recent{2000 + two_digits};
  return recent <= today + std::chrono::years{1} ? recent : year{1900 + two_digits};
}

bool ReadYearOption(const std::string& text, std::optional<year>* season_year,
                    std::string* problem) {
  if (text.empty()) return true;
  uint64_t value = 0;
  if (text.size() != 4 || !schedule::IsWholeNumber(text, 9999, &value)) {
    *problem = "--year takes a year of four digits, e.g. 1884, not " + schedule::Quoted(text);
    return false;
  }
  *season_year = year{static_cast<int>(value)};
  return true;
}

bool ParseDay(std::string_view text, sys_days* day, std::string* problem, bool* miswritten) {
  int year = -1, month = -1, day_of_month = -1;
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    year = DigitsValue(text.substr(0, 4));
    month = DigitsValue(text.substr(5, 2));
    day_of_month = DigitsValue(text.substr(8, 2));
  }
  if (year < 0 || month < 0 || day_of_month < 0) {
    *problem = schedule::Quoted(text) + " is not a day written YYYY-MM-DD";
    if (miswritten != nullptr) *miswritten = true;
    return false;
  }
  std::chrono::year_month_day date{std::chrono::year{year},
                                   std::chrono::month{static_cast<unsigned>(month)},
                                   std::chrono::day{static_cast<unsigned>(day_of_month)}};
  if (!date.ok() || year < 1) {
    *problem = schedule::Quoted(text) + " is no real day";
    return false;
  }
  *day = sys_days{date};
  return true;
}

bool ParseWeekday(std::string_view text, std::chrono::weekday* day, std::string* problem) {
  for (unsigned i = 0; i < kWeekdayNames.size(); ++i) {
    std::string_view name = kWeekdayNames[i];
    bool same = text.size() == name.size() &&
                std::equal(text.begin(), text.end(), name.begin(), [](char a, char b) {
                  return std::tolower(static_cast<unsigned char>(a)) ==
                         std::tolower(static_cast<unsigned char>(b));
                });
    if (same) {
      *day = std::chrono::weekday{i};
      return true;
    }
  }
  *problem = schedule::Quoted(text) + " is no weekday: Mon, Tue, Wed, Thu, Fri, Sat or Sun";
  return false;
}

}  // namespace tool
