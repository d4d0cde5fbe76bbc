#include "tool/generate/travel_search.h"

#include <algorithm>
#include <thread>

#include "tool/generate/travel_anneal.h"
#include "tool/generate/travel_state.h"
#include "tool/generate/generate_home_away.h"
#include "tool/generate/generate_rounds.h"

namespace tool {
namespace {

// The changes a chain weighs at effort 1: with distances, for each series
// of a team (a team's place in a round); without them, to mend the
// repeaters the round robins left, for each series that repeats.
constexpr int64_t kStepsPerPlaceWithTravel = 4'000;
constexpr int64_t kStepsPerBrokenToMend = 2'000;
// The most changes a chain weighs at effort 1 with distances, however long
// the season: some half a minute on this project's machine.
constexpr int64_t kMostStepsWithTravel = 8'000'000;
// The longest season, in rounds a team, in which two teams may trade their
// whole seasons, or a run of rounds be played in reverse.
constexpr int kRoundsPerTeamForSwaps = 4;
// The changes aimed at a series that breaks a rule, in hundredths.
constexpr int kFocusWithTravel = 0;
constexpr int kFocusToMend = 50;
// The times the chains cool, each time from the best season found, at
// effort 1.
constexpr int kCyclesWithTravel = 4;
constexpr int kCyclesToMend = 1;
// The temperatures of a cycle with distances: the first and each later
// cycle's start, in hundredths of the mean rise, and its end in thousandths.
constexpr int kFirstHeatWithTravel = 40;
constexpr int kReheatWithTravel = 40;
constexpr int kLastHeatWithTravel = 30;
// How often a run of rounds is turned round, against the other changes'
// 10, with distances: it joins the season's runs anew only at its two ends.
constexpr int kReverseWithTravel = 2;
// Mending cools each phase by 1/72, and no further.
constexpr int kCoolingToMend = 72;

}  // namespace

TravelFigures SearchTravel(const TravelSearchRules& rules, std::vector<SeriesRound>* rounds) {
  const int teams = static_cast<int>(rules.division_of.size());
  TravelState start = MakeTravelState(*rounds, teams, rules.most_in_a_row, rules.distance);
  const bool keeps_games = !rules.round_days.empty();
  if (keeps_games) KeepGames(*rounds, rules.round_days, rules.most_idle, &start);
  const bool travels = !rules.distance.empty();
  if (!travels && start.total.repeaters == 0 && start.total.runs_over == 0) return start.total;

  int64_t places = 0;
  for (const SeriesRound& round : *rounds) places += 2 * static_cast<int64_t>(round.size());
  AnnealRules anneal;
  anneal.division_of = rules.division_of;
  // One unit of travel outweighs every break there can be: breaks count
  // only between seasons of equal travel.
  anneal.travel_weight = travels ? places + 1 : 0;
  const int effort = rules.effort < 1 ? 1 : rules.effort;
  int cycles = 0;
  int64_t steps = 0;
  if (travels) {
    anneal.mix.reverse_rounds = kReverseWithTravel;
    steps = effort * std::min(places * kStepsPerPlaceWithTravel, kMostStepsWithTravel);
    cycles = effort * kCyclesWithTravel;
    anneal.mix.focus = kFocusWithTravel;
    anneal.first_heat = kFirstHeatWithTravel;
    anneal.reheat = kReheatWithTravel;
    anneal.last_heat = kLastHeatWithTravel;
    // Two teams trading their whole seasons touch every round: in a long
    // season that costs more than it finds.
    // Nor is a run of rounds turned round there: each of its rounds is
    // recounted for every team.
    if (rounds->size() > static_cast<size_t>(kRoundsPerTeamForSwaps * teams)) {
      anneal.mix.swap_teams = 0;
      anneal.mix.reverse_rounds = 0;
    }
  } else {
    // Mending: changes aimed mostly at the series that repeat, as many as
    // those series call for, none of them moving a team's whole season.
    steps = effort * kStepsPerBrokenToMend * (static_cast<int64_t>(start.broken.size()) + 1);
    cycles = effort * kCyclesToMend;
    anneal.mix = MoveMix{2, 1, 0, 3, 0, kFocusToMend};
    // Barely warm, so that the breaks the round robins were laid out to
    // avoid stay avoided; a repeater outweighs several breaks.
    anneal.first_heat = anneal.reheat = 5;
    anneal.cooling = kCoolingToMend;
    anneal.first_penalty = 400;
    anneal.adapt_penalty = 0;
  }
  if (keeps_games) {
    // No two teams trade series: their games at each park would change.
    anneal.mix.swap_teams = 0;
    anneal.mix.swap_team_rounds = 0;
  }
  anneal.cycle_steps = steps / cycles;

  // Two chains from seeds of their own, one on each core. After each cycle
  // both go on from the better season, the first chain's of equals: the
  // work of a cycle is fixed, so the result never depends on timing.
  uint64_t state = rules.seed ^ 0x7A4E1ULL;
  const uint64_t first_seed = NextRandom(&state);
  const uint64_t second_seed = NextRandom(&state);
  AnnealChain second = StartChain(anneal, start, second_seed);
  AnnealChain first = StartChain(anneal, std::move(start), first_seed);
  for (int cycle = 0; cycle < cycles; ++cycle) {
    std::thread helper([&] { AnnealCycle(anneal, cycle, &second); });
    AnnealCycle(anneal, cycle, &first);
    helper.join();
    if (BetterFigures(second.state.total, first.state.total)) {
      first.state = second.state;
    } else if (cycle + 1 < cycles) {
      second.state = first.state;
    }
  }
  const TravelState& best = first.state;

  *rounds = RoundsOf(best);
  if (!keeps_games) DealGames(teams, rules.series_length, best.hosted_games, rounds);
  return best.total;
}

}  // namespace tool
