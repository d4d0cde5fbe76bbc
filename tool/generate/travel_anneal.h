// One chain of the travel search: simulated annealing over the changes of
// travel_moves, rules broken (runs past the limit, repeaters) weighed as
// penalties of their own whose weight follows how often the chain breaks
// each, cooled in cycles that each start warm from the best season found
// and end cold. Every decision is integer arithmetic on the
// program's own random numbers, so a seed gives the same season anywhere.
#ifndef ZELTO_TOOL_GENERATE_TRAVEL_ANNEAL_H_
#define ZELTO_TOOL_GENERATE_TRAVEL_ANNEAL_H_

#include <cstdint>
#include <vector>

#include "tool/generate/travel_moves.h"
#include "tool/generate/travel_state.h"

namespace tool {

/// How a chain runs.
struct AnnealRules {
  std::vector<int> division_of;   ///< per team; teams of one division meet everyone else alike
  int64_t travel_weight = 0;  ///< what a unit of travel weighs against a break; 0: none
  int64_t cycle_steps = 0;    ///< changes weighed in one cycle
  MoveMix mix;
  int first_heat = 40;      ///< the first cycle's first temperature, in hundredths of the mean rise
  int reheat = 40;          ///< each later cycle's first temperature, likewise
  int last_heat = 2;        ///< every cycle's last temperature, in thousandths of the mean rise
  int phases = 100;         ///< phases of a cycle, each cooler than the one before
  /// Each phase 1/cooling cooler than the one before; 0: as much cooler as
  /// brings the last phase to `last_heat`.
  int cooling = 0;
  int first_penalty = 200;  ///< a broken rule's first weight, in hundredths of the mean rise
  int adapt_penalty = 200;  ///< a penalty changes by 1/adapt_penalty at a time; 0: never
};

/// One chain: its season, its random numbers and what it has learnt of
/// the costs, kept from one cycle to the next.
struct AnnealChain {
  TravelState state;
  uint64_t random = 1;
  int64_t mean_rise = 1;          ///< the mean cost of a change that costs more, at the start
  int64_t repeater_penalty = 1;   ///< what a repeater weighs
  int64_t over_penalty = 1;       ///< what a series past the limit weighs
  TravelMove move;
  TouchedRounds touched;
  std::vector<PendingPart> pending;
  MoveScratch scratch;
};

/// True when `a` is a better season than `b`: fewer runs past the limit,
/// then fewer repeaters, then less travel, then fewer breaks.
bool BetterFigures(const TravelFigures& a, const TravelFigures& b);

/// A chain on `state` from `seed`: the changes' mean rise weighed there,
/// which sets the temperatures and the penalties' first weights.
AnnealChain StartChain(const AnnealRules& rules, TravelState state, uint64_t seed);

/// Cools the chain once from its season, warm at first (`first_heat` for
/// cycle 0, else `reheat`) down to `last_heat`, and leaves in it the best
/// season the cycle met.
void AnnealCycle(const AnnealRules& rules, int cycle, AnnealChain* chain);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_TRAVEL_ANNEAL_H_
