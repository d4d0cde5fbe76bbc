// The plan of a generated season before it meets the calendar: rounds of
// series, each team in at most one series a round.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_PLAN_H_
#define ZELTO_TOOL_GENERATE_GENERATE_PLAN_H_

#include <vector>

namespace tool {

/// One series: `games` games on consecutive game days at `home`'s park.
struct Series {
  int home = 0;
  int visitor = 0;
  int games = 0;
};

/// The series of one round, all starting on its first game day; a team in
/// none of them rests.
using SeriesRound = std::vector<Series>;

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_PLAN_H_
