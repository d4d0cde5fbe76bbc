// A calendar of many teams of a long season, written a batch of teams at a
// time: the teams, in the order the calendar shows them, are cut into runs
// whose games fit a fixed number, and each run's games alone are held while
// its part is written. A page is a section per team, so the parts follow
// one another as they are; an iCalendar file gives each game once, as an
// event of the batch of the first of its teams the calendar shows.
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_BATCHES_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_BATCHES_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tool/calendar/calendar_season.h"

namespace tool {

/// The games a batch holds at most: 4 MiB of 16-byte games, and while a
/// team's section is written its own games again in 12 bytes each.
inline constexpr size_t kCalendarBatchGames = 256 * 1024;

/// The teams shown from `first` up to `end` (places in the calendar's order).
struct CalendarBatch {
  size_t first = 0;
  size_t end = 0;
};

/// Cuts `shown` (indexes into the season's teams, in the calendar's order;
/// `team_games` the games of each team by index) into batches in that
/// order, each as many teams as fit `budget` games together; a team of more
/// games than that is a batch alone.
std::vector<CalendarBatch> PlanBatches(const std::vector<int32_t>& shown,
                                       const std::vector<uint64_t>& team_games, uint64_t budget);

/// Keeps the games of the page's batch: every game of a team of it.
CalendarKeep GamesOfBatch(const std::vector<int32_t>& shown, CalendarBatch batch,
                          size_t team_count);

/// Keeps the events of the iCalendar file's batch: each game whose first
/// team shown (of its two) is of the batch, so that a game of two teams of
/// different batches is one event, not two.
CalendarKeep EventsOfBatch(const std::vector<int32_t>& shown, CalendarBatch batch,
                           size_t team_count);

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_BATCHES_H_
