// Which two teams meet in which round of series: round robins by the circle
// method, laid end to end, with the home side of each meeting as the
// canonical pattern gives it (n - 2 breaks in a single round robin of an
// even number n of teams, none in one of an odd number when rests are
// skipped). The games of each series are decided later.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_ROUNDS_H_
#define ZELTO_TOOL_GENERATE_GENERATE_ROUNDS_H_

#include <cstdint>
#include <vector>

#include "tool/generate/generate_plan.h"

namespace tool {

/// A single round robin of the teams `places` (team numbers, in circle
/// order): n - 1 rounds for an even n, n for an odd n (one team resting in
/// each).
std::vector<SeriesRound> SingleRoundRobin(const std::vector<int>& places);

/// What the rounds must hold.
struct RoundsRequest {
  std::vector<int> division_of;  ///< per team; all 0 without divisions
  int division_count = 0;        ///< 0 without divisions
  int series_between_divisions = 0;  ///< series a pair of two divisions plays
  int series_within_division = 0;    ///< series a pair of one division plays
  uint64_t seed = 1;             ///< picks the teams' places and the first round
  /// Each round robin the one before mirrored from its first round: no
  /// break where two meet, but every team meets its last opponent again
  /// there; what a limit of one series in a row at a park may need.
  bool plain_mirrors = false;
};

/// The rounds in which every pair meets its number of series: round robins
/// of the whole league as long as both kinds of pair need them, then round
/// robins inside each division (pairs of one division meeting more), or of
/// the whole league without the pairs of one division (pairs of two
/// divisions meeting more). Each round robin after the first is the one
/// before with the home sides swapped, reversed or not, started at the
/// round that makes no repeaters (two series in a row of one pair) and the
/// fewest breaks where the two meet. The seed shuffles the places and may
/// reverse the whole order.
std::vector<SeriesRound> PairRounds(const RoundsRequest& request);

/// The next number of a small generator whose numbers are the same on every
/// platform (splitmix64), advancing `state`.
uint64_t NextRandom(uint64_t* state);

/// A number from 0 to count - 1 of NextRandom, advancing `state`.
int RandomBelow(uint64_t* state, int count);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_ROUNDS_H_
