#include "tool/generate/generate_calendar.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "schedule/shown_text.h"
#include "schedule/whole_number.h"
#include "tool/season/season_days.h"

namespace tool {
namespace {

using std::chrono::sys_days;

constexpr int kLastYear = 9999;

// The value of `text` when it is all decimal digits, else -1.
int DigitsValue(std::string_view text) {
  uint64_t value = 0;
  return schedule::IsWholeNumber(text, 9999, &value) ? static_cast<int>(value) : -1;
}

}  // namespace

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

bool ParseDayRange(std::string_view text, DayRange* range, std::string* problem,
                   bool* miswritten) {
  size_t dots = text.find("..");
  if (!ParseDay(text.substr(0, dots), &range->first, problem, miswritten)) return false;
  if (dots == std::string_view::npos) {
    range->last = range->first;
    return true;
  }
  if (!ParseDay(text.substr(dots + 2), &range->last, problem, miswritten)) return false;
  if (range->last < range->first) {
    *problem = schedule::Quoted(text) + " ends before it starts";
    return false;
  }
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

bool GameDays(const CalendarRules& rules, size_t count, std::vector<sys_days>* days,
              std::string* problem) {
  if (std::all_of(rules.weekday_off.begin(), rules.weekday_off.end(), [](bool off) { return off; })) {
    *problem = "every weekday is an off day: no day is left for games";
    return false;
  }
  const sys_days last_day{std::chrono::year{kLastYear} / std::chrono::December / 31};
  days->clear();
  days->reserve(count);
  for (sys_days day = rules.start; days->size() < count; day += std::chrono::days{1}) {
    if (day > last_day) {
      *problem = "the season would run past the year " + std::to_string(kLastYear);
      return false;
    }
    if (rules.weekday_off[std::chrono::weekday{day}.c_encoding()]) continue;
    bool no_games = std::any_of(rules.no_games.begin(), rules.no_games.end(),
                                [&](const DayRange& range) {
                                  return range.first <= day && day <= range.last;
                                });
    if (!no_games) days->push_back(day);
  }
  return true;
}

}  // namespace tool
