#include "tool/generate/travel_search.h"

#include <thread>

#include "tool/generate/travel_anneal.h"
#include "tool/generate/travel_state.h"
#include "tool/generate_home_away.h"
#include "tool/generate_rounds.h"

namespace tool {
namespace {

// The changes a chain weighs for each series of a team (a team's place in a
// round), at effort 1: with distances, and, without them, to mend the
// repeaters the round robins left.
constexpr int64_t kStepsPerPlaceWithTravel = 4'000;
constexpr int64_t kStepsPerPlaceToMend = 200;
// The times a chain cools, reheating between, at effort 1.
constexpr int kCyclesWithTravel = 4;
constexpr int kCyclesToMend = 1;

TravelFigures FiguresOf(const TravelState& state) {
  return TravelFigures{state.total.travel, state.total.breaks, state.total.repeaters,
                       state.total.over};
}

}  // namespace

TravelFigures SearchTravel(const TravelSearchRules& rules, std::vector<SeriesRound>* rounds) {
  const int teams = static_cast<int>(rules.kind_of.size());
  TravelState start = MakeTravelState(*rounds, teams, rules.most_in_a_row, rules.distance);
  const bool travels = !rules.distance.empty();
  if (!travels && start.total.repeaters == 0 && start.total.over == 0) return FiguresOf(start);

  int64_t places = 0;
  for (const SeriesRound& round : *rounds) places += 2 * static_cast<int64_t>(round.size());
  AnnealRules anneal;
  anneal.kind_of = rules.kind_of;
  // One unit of travel outweighs every break there can be: breaks count
  // only between seasons of equal travel.
  anneal.travel_weight = travels ? places + 1 : 0;
  const int effort = rules.effort < 1 ? 1 : rules.effort;
  anneal.steps = effort * places * (travels ? kStepsPerPlaceWithTravel : kStepsPerPlaceToMend);
  anneal.cycles = effort * (travels ? kCyclesWithTravel : kCyclesToMend);

  // Two chains from seeds of their own, one on each core; the better season
  // is taken, the first of equals, so the result never depends on timing.
  uint64_t state = rules.seed ^ 0x7A4E1ULL;
  AnnealRules second_rules = anneal;
  anneal.seed = NextRandom(&state);
  second_rules.seed = NextRandom(&state);
  TravelState first = start, second = std::move(start);
  std::thread helper([&] { Anneal(second_rules, &second); });
  Anneal(anneal, &first);
  helper.join();
  const TravelState& best = BetterTally(second.total, first.total) ? second : first;

  *rounds = RoundsOf(best);
  DealGames(teams, rules.series_length, best.hosted_games, rounds);
  return FiguresOf(best);
}

}  // namespace tool
