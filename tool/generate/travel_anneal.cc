#include "tool/generate/travel_anneal.h"

#include <algorithm>

#include "tool/generate/generate_rounds.h"

namespace tool {
namespace {

// -ln((i + 0.5) / 256) in 65536ths: a worse season is taken when its
// extra cost is within the temperature times one of these, picked at
// random, which takes it with the chance exp(-extra / temperature).
constexpr int64_t kMinusLog[256] = {
    408835, 336836, 303359, 281308, 264838, 251686, 240738, 231360,
    223157, 215868, 209309, 203347, 197883, 192839, 188156, 183785,
    179688, 175832, 172190, 168740, 165462, 162341, 159361, 156512,
    153781, 151159, 148638, 146210, 143869, 141609, 139425, 137310,
    135262, 133276, 131348, 129476, 127655, 125884, 124159, 122479,
    120840, 119242, 117681, 116157, 114668, 113211, 111786, 110392,
    109027, 107689, 106378, 105093, 103833, 102596, 101383, 100191,
    99021, 97871, 96741, 95630, 94538, 93464, 92406, 91366,
    90342, 89334, 88341, 87363, 86399, 85449, 84513, 83590,
    82680, 81782, 80896, 80022, 79160, 78309, 77469, 76639,
    75820, 75011, 74212, 73422, 72642, 71871, 71109, 70355,
    69611, 68874, 68146, 67426, 66714, 66009, 65312, 64622,
    63939, 63264, 62595, 61933, 61277, 60629, 59986, 59350,
    58720, 58095, 57477, 56865, 56258, 55657, 55061, 54470,
    53885, 53305, 52730, 52161, 51596, 51035, 50480, 49929,
    49383, 48842, 48304, 47772, 47243, 46719, 46199, 45683,
    45171, 44663, 44158, 43658, 43162, 42669, 42180, 41694,
    41212, 40734, 40259, 39788, 39320, 38855, 38393, 37935,
    37480, 37028, 36579, 36133, 35690, 35251, 34814, 34380,
    33948, 33520, 33095, 32672, 32252, 31834, 31419, 31007,
    30598, 30191, 29786, 29384, 28984, 28587, 28192, 27800,
    27410, 27022, 26637, 26253, 25872, 25493, 25117, 24742,
    24370, 24000, 23632, 23265, 22901, 22539, 22179, 21821,
    21465, 21111, 20758, 20408, 20059, 19712, 19368, 19024,
    18683, 18344, 18006, 17670, 17335, 17003, 16672, 16342,
    16015, 15689, 15364, 15041, 14720, 14400, 14082, 13766,
    13451, 13137, 12825, 12514, 12205, 11897, 11591, 11286,
    10983, 10681, 10380, 10081, 9783, 9487, 9191, 8898,
    8605, 8314, 8024, 7735, 7448, 7161, 6876, 6593,
    6310, 6029, 5749, 5470, 5192, 4916, 4640, 4366,
    4093, 3821, 3550, 3281, 3012, 2745, 2478, 2213,
    1949, 1685, 1423, 1162, 902, 643, 385, 128,
};

// How many changes the chain makes between two changes of the penalties.
constexpr int64_t kPenaltyTick = 128;
// How many changes are weighed to find the first temperature.
constexpr int kSamples = 256;
// One, in the fixed point of the cooling factor.
constexpr int64_t kUnit = int64_t{1} << 16;

// Weighs the change the chain has just made: its parts recounted.
TravelFigures Weigh(AnnealChain* chain) {
  chain->pending.clear();
  TravelFigures change;
  for (int team : chain->touched.teams) {
    Reweigh(chain->state, team, chain->touched.of_team[team], &change, &chain->pending);
  }
  return change;
}

int64_t Cost(const TravelFigures& tally, int64_t travel_weight, int64_t repeater_penalty,
             int64_t over_penalty) {
  return tally.travel * travel_weight + tally.breaks + tally.repeaters * repeater_penalty +
         tally.runs_over * over_penalty;
}

// Whether a change costing `extra` more is accepted at `temperature`.
bool Accepts(int64_t extra, int64_t temperature, uint64_t* random) {
  if (extra <= 0) return true;
  const int64_t minus_log = kMinusLog[NextRandom(random) >> 56];
  const int64_t reach = (temperature >> 16) * minus_log + (((temperature & 0xFFFF) * minus_log) >> 16);
  return extra <= reach;
}

// `temperature` times `factor` / kUnit, without overflow for any cost.
int64_t Scaled(int64_t temperature, int64_t factor) {
  return (temperature >> 16) * factor + (((temperature & 0xFFFF) * factor) >> 16);
}

// The factor (in kUnit) by which each of `steps` phases cools, so that
// `from` comes down to `to` at the last: the largest whose power reaches it.
int64_t CoolingFactor(int64_t from, int64_t to, int steps) {
  if (steps < 1 || from <= to) return kUnit;
  int64_t low = 0, high = kUnit;
  while (high - low > 1) {
    const int64_t mid = (low + high) / 2;
    int64_t t = from;
    for (int i = 0; i < steps && t > to; ++i) t = Scaled(t, mid);
    (t > to ? high : low) = mid;
  }
  return low;
}

// What the search keeps of a season: who meets whom where, round by round.
struct Snapshot {
  std::vector<int16_t> opponent;
  std::vector<char> at_home;
  std::vector<int> hosted_games;
  std::vector<int8_t> games;  // where series keep their games
  std::vector<int> days;
};

Snapshot SnapshotOf(const TravelState& state) {
  return Snapshot{state.opponent, state.at_home, state.hosted_games, state.games, state.days};
}

// Moves the penalty of a rule up while the chain breaks it and down while
// it keeps it, so that the chain keeps to the edge of what the rules allow.
void Adapt(const AnnealRules& rules, int64_t broken, int64_t least, int64_t* penalty) {
  constexpr int64_t kMost = int64_t{1} << 40;
  if (broken > 0) {
    *penalty = std::min(kMost, *penalty + *penalty / rules.adapt_penalty + 1);
  } else {
    *penalty = std::max(least, *penalty - *penalty / rules.adapt_penalty);
  }
}

}  // namespace

bool BetterFigures(const TravelFigures& a, const TravelFigures& b) {
  if (a.runs_over != b.runs_over) return a.runs_over < b.runs_over;
  if (a.repeaters != b.repeaters) return a.repeaters < b.repeaters;
  if (a.travel != b.travel) return a.travel < b.travel;
  return a.breaks < b.breaks;
}

AnnealChain StartChain(const AnnealRules& rules, TravelState state, uint64_t seed) {
  AnnealChain chain;
  chain.state = std::move(state);
  chain.random = seed;
  // The first temperature and penalties: the mean cost of the changes that
  // cost more, weighed from the start.
  int64_t rises = 0, risen = 0;
  for (int sample = 0; sample < kSamples; ++sample) {
    if (!PickMove(chain.state, rules.division_of, rules.mix, &chain.random, &chain.scratch,
                  &chain.move)) {
      continue;
    }
    MakeMove(&chain.state, chain.move, &chain.touched);
    const int64_t extra = Cost(Weigh(&chain), rules.travel_weight, 0, 0);
    MakeMove(&chain.state, chain.move, nullptr);
    ClearTouched(&chain.touched);
    if (extra > 0) rises += extra, ++risen;
  }
  chain.mean_rise = risen > 0 ? std::max<int64_t>(1, rises / risen)
                              : std::max<int64_t>(1, rules.travel_weight);
  chain.repeater_penalty = chain.over_penalty =
      std::max<int64_t>(1, chain.mean_rise * rules.first_penalty / 100);
  return chain;
}

void AnnealCycle(const AnnealRules& rules, int cycle, AnnealChain* chain) {
  TravelState* state = &chain->state;
  const int64_t mean_rise = chain->mean_rise;
  const int64_t least_penalty = std::max<int64_t>(1, mean_rise / 4);
  TravelFigures best = state->total;
  bool best_is_current = true;
  Snapshot kept;
  const int phases = std::max(1, rules.phases);
  const int64_t phase_steps = std::max<int64_t>(1, rules.cycle_steps / phases);
  int64_t temperature =
      std::max<int64_t>(1, mean_rise * (cycle == 0 ? rules.first_heat : rules.reheat) / 100);
  const int64_t last = std::max<int64_t>(1, mean_rise * rules.last_heat / 1000);
  const int64_t cooling = rules.cooling > 0 ? 0 : CoolingFactor(temperature, last, phases - 1);
  for (int phase = 0; phase < phases; ++phase) {
    for (int64_t s = 0; s < phase_steps; ++s) {
      if ((s & (kPenaltyTick - 1)) == 0 && rules.adapt_penalty) {
        Adapt(rules, state->total.repeaters, least_penalty, &chain->repeater_penalty);
        Adapt(rules, state->total.runs_over, least_penalty, &chain->over_penalty);
      }
      if (!PickMove(*state, rules.division_of, rules.mix, &chain->random, &chain->scratch,
                    &chain->move)) {
        continue;
      }
      MakeMove(state, chain->move, &chain->touched);
      const TravelFigures change = Weigh(chain);
      ClearTouched(&chain->touched);
      const int64_t extra =
          Cost(change, rules.travel_weight, chain->repeater_penalty, chain->over_penalty);
      if (!Accepts(extra, temperature, &chain->random)) {
        MakeMove(state, chain->move, nullptr);
        continue;
      }
      TravelFigures after = state->total;
      AddFigures(&after, change);
      if (BetterFigures(after, best)) {
        best = after;
        best_is_current = true;
      } else if (best_is_current) {
        // Leaving the best season met: keep it first.
        MakeMove(state, chain->move, nullptr);
        kept = SnapshotOf(*state);
        MakeMove(state, chain->move, nullptr);
        best_is_current = false;
      }
      Keep(state, chain->pending, change);
    }
    if (rules.cooling > 0) {
      temperature = std::max<int64_t>(1, temperature - temperature / std::max(2, rules.cooling));
    } else {
      temperature = std::max<int64_t>(1, Scaled(temperature, cooling));
    }
  }
  if (!best_is_current) {
    state->opponent = std::move(kept.opponent);
    state->at_home = std::move(kept.at_home);
    state->hosted_games = std::move(kept.hosted_games);
    state->games = std::move(kept.games);
    state->days = std::move(kept.days);
    RecountAll(state);
  }
}

}  // namespace tool
