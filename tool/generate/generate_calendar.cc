#include "tool/generate/generate_calendar.h"

#include <algorithm>

#include "schedule/shown_text.h"
#include "tool/season/day_formats.h"

namespace tool {
namespace {

using std::chrono::sys_days;

constexpr int kLastYear = 9999;

}  // namespace

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

namespace {

bool IsGameDay(const CalendarRules& rules, sys_days day) {
  if (rules.weekday_off[std::chrono::weekday{day}.c_encoding()]) return false;
  return std::none_of(rules.no_games.begin(), rules.no_games.end(), [&](const DayRange& range) {
    return range.first <= day && day <= range.last;
  });
}

}  // namespace

int GameDaysUpTo(const CalendarRules& rules, sys_days last) {
  int count = 0;
  for (sys_days day = rules.start; day <= last; day += std::chrono::days{1}) {
    count += IsGameDay(rules, day);
  }
  return count;
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
    if (IsGameDay(rules, day)) days->push_back(day);
  }
  return true;
}

}  // namespace tool
