// One chain of the travel search: simulated annealing over the changes of
// travel_moves, rules broken (runs past the limit, repeaters) weighed as
// penalties whose weight follows how often the chain breaks them, cooled
// and reheated in cycles. Every decision is integer arithmetic on the
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
  std::vector<int> kind_of;   ///< per team; teams of one kind meet everyone else alike
  int64_t travel_weight = 0;  ///< what a unit of travel weighs against a break; 0: none
  int64_t steps = 0;          ///< changes weighed, in all
  int cycles = 1;             ///< times the chain is cooled, reheating between
  uint64_t seed = 1;
  MoveMix mix;
  int first_heat = 40;      ///< the first temperature, in hundredths of the mean rise
  int reheat = 40;          ///< each later cycle's first temperature, likewise
  int phases = 100;         ///< phases of a cycle, each cooler than the one before
  int cooling = 72;         ///< each phase is 1/cooling cooler than the one before
  int first_penalty = 200;  ///< a broken rule's first weight, in hundredths of the mean rise
  int adapt_penalty = 200;  ///< the penalty changes by 1/adapt_penalty at a time; 0: never
};

/// True when `a` is a better season than `b`: fewer runs past the limit,
/// then fewer repeaters, then less travel, then fewer breaks.
bool BetterTally(const TravelTally& a, const TravelTally& b);

/// Runs a chain from `state` and leaves in it the best season the chain met.
void Anneal(const AnnealRules& rules, TravelState* state);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_TRAVEL_ANNEAL_H_
