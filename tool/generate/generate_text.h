// The schedule text of a generated season: each round's series laid on the
// game days, a date line and the games of each day.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_TEXT_H_
#define ZELTO_TOOL_GENERATE_GENERATE_TEXT_H_

#include <chrono>
#include <string>
#include <vector>

#include "tool/generate/generate_plan.h"
#include "tool/generate/generate_teams.h"

namespace tool {

/// The game days a round takes: as many as its longest series.
int RoundDays(const SeriesRound& round);

/// The game days all the rounds take.
size_t SeasonDays(const std::vector<SeriesRound>& rounds);

/// The text, CR LF: for each game day a date line [MM/DD/YY] and one game a
/// line, the visitor in columns 1-8 and the home team from column 10. A
/// round's series start on its first day, one after another in `days`;
/// `days` holds at least SeasonDays(rounds) days.
std::string ScheduleText(const League& league, const std::vector<SeriesRound>& rounds,
                         const std::vector<std::chrono::sys_days>& days);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_TEXT_H_
