// The calendar a generated season is laid on: game days from the first day
// on, day after day, skipping the weekdays off and the days of no games.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_CALENDAR_H_
#define ZELTO_TOOL_GENERATE_GENERATE_CALENDAR_H_

#include <array>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "tool/season/day_formats.h"

namespace tool {

/// A span of days, both ends included.
struct DayRange {
  std::chrono::sys_days first;
  std::chrono::sys_days last;
};

/// What decides the game days.
struct CalendarRules {
  std::chrono::sys_days start;
  std::array<bool, 7> weekday_off{};  ///< by weekday, Sunday = 0
  std::vector<DayRange> no_games;
};

/// Reads "FROM" or "FROM..TO", both days YYYY-MM-DD, TO not before FROM.
bool ParseDayRange(std::string_view text, DayRange* range, std::string* problem,
                   bool* miswritten = nullptr);

/// The first `count` game days by `rules`, in order. False, with the reason,
/// when the rules leave no game day, or the days would run past the year
/// 9999.
bool GameDays(const CalendarRules& rules, size_t count, std::vector<std::chrono::sys_days>* days,
              std::string* problem);

/// The game days by `rules` from the first day to `last`, both included.
int GameDaysUpTo(const CalendarRules& rules, std::chrono::sys_days last);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_CALENDAR_H_
