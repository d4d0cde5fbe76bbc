// The order of a season's series by where the teams play: among the
// seasons that keep every rule of the settled one (each pair's series and
// parks, at most so many series in a row at one park, one series a team a
// round) and make no repeaters (two series in a row of one pair, where the
// league leaves another opponent to play between), the one with the least
// travel when the parks' distances are known, else the fewest breaks.
#ifndef ZELTO_TOOL_GENERATE_TRAVEL_SEARCH_H_
#define ZELTO_TOOL_GENERATE_TRAVEL_SEARCH_H_

#include <cstdint>
#include <vector>

#include "tool/generate/generate_plan.h"
#include "tool/generate/travel_figures.h"

namespace tool {

/// What the search keeps to and how long it looks.
struct TravelSearchRules {
  int most_in_a_row = 3;          ///< series in a row at one park, at most
  int series_length = 1;          ///< games of a full series
  std::vector<int> division_of;   ///< per team; teams of one division meet everyone else alike
  std::vector<int64_t> distance;  ///< teams x teams, [from * teams + to]; empty: none known
  uint64_t seed = 1;
  int effort = 1;                 ///< the search looks this many times as long
  /// Per round, its game days, when each series keeps its games (a league's
  /// season): a series moves only into a round it fits, `most_idle` days
  /// shorter at most. Empty: the pairs' games are dealt after the search.
  std::vector<int> round_days;
  int most_idle = 2;
};

/// Rearranges the settled `rounds` (home sides and games set) as the
/// search finds best and deals each pair's games into its series again.
TravelFigures SearchTravel(const TravelSearchRules& rules, std::vector<SeriesRound>* rounds);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_TRAVEL_SEARCH_H_
