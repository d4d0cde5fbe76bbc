// The four figures by which the travel search weighs a season, or a change
// of one: what the teams travel, their breaks, their repeaters and the
// series that make a run at one park longer than allowed.
#ifndef ZELTO_TOOL_GENERATE_TRAVEL_FIGURES_H_
#define ZELTO_TOOL_GENERATE_TRAVEL_FIGURES_H_

#include <cstdint>

namespace tool {

/// A season's figures, or a change of them.
struct TravelFigures {
  int64_t travel = 0;     ///< from home, park to park, and home again (0 without distances)
  int64_t breaks = 0;     ///< two series in a row at one park (home or away)
  int64_t repeaters = 0;  ///< a team's two series in a row against one opponent
  int64_t runs_over = 0;  ///< series that make a run at one park longer than the limit
};

/// Adds `change` to `total`.
inline void AddFigures(TravelFigures* total, const TravelFigures& change) {
  total->travel += change.travel;
  total->breaks += change.breaks;
  total->repeaters += change.repeaters;
  total->runs_over += change.runs_over;
}

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_TRAVEL_FIGURES_H_
