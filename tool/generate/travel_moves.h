// The changes the travel search makes to a season. Each keeps every pair's
// series and how many each park hosts, and one series a team a round; each
// undoes itself when made again.
#ifndef ZELTO_TOOL_GENERATE_TRAVEL_MOVES_H_
#define ZELTO_TOOL_GENERATE_TRAVEL_MOVES_H_

#include <cstdint>
#include <utility>
#include <vector>

#include "tool/generate/travel_state.h"

namespace tool {

/// The kinds of change.
enum class MoveKind : uint8_t {
  kSwapHomes,      ///< two series of one pair, hosted by different sides, trade hosts
  kSwapRounds,     ///< two rounds trade places
  kSwapTeams,      ///< two teams of one division trade their seasons
  kSwapChain,      ///< two rounds trade the series linked to one team through them
  kSwapTeamRounds,  ///< two teams trade their series in a few rounds that balance
  kReverseRounds    ///< the rounds from `first` to `second` are played in reverse order
};

/// One change.
struct TravelMove {
  MoveKind kind = MoveKind::kSwapRounds;  ///< which change
  int a = 0, b = 0;                    ///< the teams (kSwapHomes: the pair)
  int first = 0, second = 0;           ///< the rounds (kSwapHomes, kSwapRounds, kSwapChain,
                                       ///< kReverseRounds: first < second)
  std::vector<int> rounds;             ///< kSwapTeamRounds: its rounds, ascending
  std::vector<int> chain;              ///< kSwapChain: the teams it moves
  /// kSwapTeamRounds: series outside its rounds, (team, round), whose home
  /// sides are swapped as well, to keep each pair's parks.
  std::vector<std::pair<int, int>> flips;
};

/// Per team, the rounds a change touched (ascending, each once).
struct TouchedRounds {
  std::vector<std::vector<int>> of_team;  ///< per team, the rounds touched
  std::vector<int> teams;                 ///< the teams touched, each once
};

/// What picking a change needs of its own, kept between picks.
struct MoveScratch {
  std::vector<int> debt;          ///< per (opponent + 1) * 2 + at home
  std::vector<int> debt_keys;     ///< the keys of `debt` in use
  std::vector<char> in_set;       ///< per round
  std::vector<char> in_chain;     ///< per team
  std::vector<int> hosting;       ///< per opponent: the games `a` hosts it gains
};

/// How often each kind is picked, in parts of the sum.
struct MoveMix {
  int swap_homes = 2, swap_rounds = 2, swap_teams = 1, swap_chain = 3, swap_team_rounds = 2;
  int focus = 0;  ///< in hundredths: the picks aimed at a series that breaks a rule, when any
  int reverse_rounds = 0;  ///< kReverseRounds, picked after the others
};

/// Picks a change at random (`random` advancing): false when the one picked
/// cannot be made or would change nothing. `division_of` is per team: teams of
/// one division meet every other team alike.
bool PickMove(const TravelState& state, const std::vector<int>& division_of, const MoveMix& mix,
              uint64_t* random, MoveScratch* scratch, TravelMove* move);

/// Makes the change, and, when `touched` is given, lists what it touched.
void MakeMove(TravelState* state, const TravelMove& move, TouchedRounds* touched);

/// Empties `touched` for the next change.
void ClearTouched(TouchedRounds* touched);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_TRAVEL_MOVES_H_
