// What a season's order of series costs the teams, counted from its rounds:
// the distance each travels (by tool/season's TravelWalk, the one count of
// travel) and the repeaters no order avoids.
#ifndef ZELTO_TOOL_GENERATE_TRAVEL_COUNT_H_
#define ZELTO_TOOL_GENERATE_TRAVEL_COUNT_H_

#include <cstdint>
#include <vector>

#include "tool/generate/generate_plan.h"
#include "tool/season/distance_table.h"

namespace tool {

/// Each team's travel over `rounds`: from home to the park of its first
/// series, from each series' park straight to the next one's, and home after
/// its last; rests and off days do not send it home.
std::vector<int64_t> TeamTravel(const std::vector<SeriesRound>& rounds,
                                const DistanceTable& distances);

/// The repeaters no order of the series of `rounds` avoids: a team playing
/// S of its T series against one opponent meets it twice in a row at least
/// 2S - T - 1 times.
int UnavoidableRepeaters(const std::vector<SeriesRound>& rounds, int teams);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_TRAVEL_COUNT_H_
