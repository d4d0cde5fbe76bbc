#include "tool/season/day_formats.h"

#include <cstdio>

#include "schedule/shown_text.h"
#include "schedule/whole_number.h"

namespace tool {

using std::chrono::year;
using std::chrono::year_month_day;

std::string SlashDate(year_month_day date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u/%02u/%02d", static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<int>(date.year()) % 100);
  return text;
}

std::string DigitsDate(std::chrono::sys_days day) {
  const year_month_day date{day};
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

std::string IsoDate(std::chrono::sys_days day) {
  const year_month_day date{day};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

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

}  // namespace tool
