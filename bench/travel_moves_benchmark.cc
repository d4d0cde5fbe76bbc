// The travel search's changes measured one by one, to see where a chain
// spends its steps and why it stops finding better seasons: on a circ or
// con instance made by its rule, one chain of the search's own changes
// (travel_moves) from a mirrored circle-method season, its teams placed at
// random.
//
//   travel_moves_benchmark [--teams 10] [--family circ|con] [--steps 1400000]
//                          [--heat 40] [--seed 1] [--ttsa]
//
// Default: the search's cost (travel weighed above every break, a repeater
// or a series past the limit at twice the mean rise), cooling from `heat`
// hundredths of the mean rise to a hundredth of that over the steps.
// --ttsa: the same changes, the five of the published annealer picked
// alike, weighed as it weighs them: sqrt(travel^2 + (w f(v))^2) for a
// season of v broken rules, f(v) = 1 + sqrt(v) ln(v) / 2, w rising while the
// chain breaks a rule and falling while it keeps them all, the temperature
// `heat` hundredths of a unit of travel, cooled by phases and reheated
// from the temperature of the best season when a phase finds nothing.
//
// Printed per kind of change: picked, could not be made, accepted, better,
// of equal cost, microseconds a change (made, weighed, and undone when
// refused), series recounted a change, and of the changes made to a season
// that keeps every rule, the share that keeps them all still; then the steps a second, the share
// of steps spent breaking a rule, the best season that keeps every rule,
// and whether the counted figures equal those counted afresh.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tool/generate/generate_rounds.h"
#include "tool/generate/travel_moves.h"
#include "tool/generate/travel_state.h"

namespace {

using tool::MoveKind;
using tool::TravelFigures;

struct Options {
  int teams = 10;
  std::string family = "circ";
  int64_t steps = 1'400'000;  // two chains of circ10 at effort 1, about
  int heat = 40;
  uint64_t seed = 1;
  bool ttsa = false;
};

// A mirrored double round robin by the circle method: `order` places the
// teams on the circle; the second half the first with the parks swapped.
std::vector<tool::SeriesRound> MirroredCircle(const std::vector<int>& order) {
  const int n = static_cast<int>(order.size()), m = n - 1;
  std::vector<tool::SeriesRound> rounds(static_cast<size_t>(2 * m));
  for (int k = 0; k < m; ++k) {
    for (int i = 0; i < n / 2; ++i) {
      const int p = i == 0 ? m : (k + i) % m;
      const int q = i == 0 ? k : (k - i + m) % m;
      const bool p_hosts = i == 0 ? k % 2 == 0 : i % 2 == 0;
      const int home = order[p_hosts ? p : q], visitor = order[p_hosts ? q : p];
      rounds[k].push_back(tool::Series{home, visitor, 1});
      rounds[k + m].push_back(tool::Series{visitor, home, 1});
    }
  }
  return rounds;
}

double Uniform(uint64_t* random) {
  return static_cast<double>(tool::NextRandom(random) >> 11) * (1.0 / 9007199254740992.0);
}

int64_t Broken(const TravelFigures& f) { return f.repeaters + f.runs_over; }

struct KindCount {
  int64_t picked = 0, impossible = 0, accepted = 0, better = 0, equal = 0, parts = 0;
  int64_t from_keeping = 0, still_keeping = 0;  // changes of a season keeping every rule
  double seconds = 0;
};

constexpr const char* kKindNames[] = {"swap homes",  "swap rounds",      "swap teams",
                                      "swap chain",  "swap team rounds", "reverse rounds"};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--ttsa") {
      options.ttsa = true;
    } else if (i + 1 == argc) {
      break;
    } else if (argument == "--teams") {
      options.teams = std::atoi(argv[++i]);
    } else if (argument == "--family") {
      options.family = argv[++i];
    } else if (argument == "--steps") {
      options.steps = std::atoll(argv[++i]);
    } else if (argument == "--heat") {
      options.heat = std::atoi(argv[++i]);
    } else if (argument == "--seed") {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    }
  }
  const int n = options.teams;
  if (n < 4 || n % 2 != 0) {
    std::fprintf(stderr, "--teams: an even number of 4 or more\n");
    return 2;
  }
  std::vector<int64_t> distance(static_cast<size_t>(n * n));
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) {
      const int apart = std::abs(a - b);
      distance[a * n + b] = options.family == "con" ? (a != b) : std::min(apart, n - apart);
    }
  }
  uint64_t random = options.seed;
  std::vector<int> order(static_cast<size_t>(n));
  for (int t = 0; t < n; ++t) order[t] = t;
  for (int t = n - 1; t > 0; --t) std::swap(order[t], order[tool::NextRandom(&random) % (t + 1)]);
  tool::TravelState state = tool::MakeTravelState(MirroredCircle(order), n, 3, distance);

  const std::vector<int> division_of(static_cast<size_t>(n), 0);
  tool::MoveMix mix;
  if (options.ttsa) {
    mix = tool::MoveMix{1, 1, 1, 1, 1, 0, 0};
  } else {
    mix.reverse_rounds = 2;  // as the search mixes them with distances
  }
  const int64_t places = 2 * static_cast<int64_t>(n) * (n - 1);
  const int64_t travel_weight = places + 1;
  tool::MoveScratch scratch;
  tool::TravelMove move;
  tool::TouchedRounds touched;
  std::vector<tool::PendingPart> pending;
  auto weigh = [&] {
    pending.clear();
    TravelFigures change;
    for (int team : touched.teams) {
      tool::Reweigh(state, team, touched.of_team[team], &change, &pending);
    }
    return change;
  };

  // The mean rise of the changes at the start, as the search weighs it.
  int64_t rises = 0, risen = 0;
  for (int sample = 0; sample < 256; ++sample) {
    if (!tool::PickMove(state, division_of, mix, &random, &scratch, &move)) continue;
    tool::MakeMove(&state, move, &touched);
    const TravelFigures change = weigh();
    tool::MakeMove(&state, move, nullptr);
    tool::ClearTouched(&touched);
    const int64_t extra = change.travel * travel_weight + change.breaks;
    if (extra > 0) rises += extra, ++risen;
  }
  const int64_t mean_rise = std::max<int64_t>(1, risen > 0 ? rises / risen : 1);
  const int64_t penalty = 2 * mean_rise;

  // TTSA's weight of broken rules and its schedule.
  double w = 4, temperature = options.ttsa ? options.heat / 100.0
                                           : static_cast<double>(mean_rise * options.heat) / 100;
  const double cooling = std::pow(0.01, 1024.0 / static_cast<double>(options.steps));
  double best_temperature = temperature;
  const int64_t phase = 5000;
  int idle_phases = 0;
  auto ttsa_cost = [&](const TravelFigures& f) {
    const double v = static_cast<double>(Broken(f));
    const double c = static_cast<double>(f.travel);
    if (v == 0) return c;
    const double weighed = w * (1 + std::sqrt(v) * std::log(v) / 2);
    return std::sqrt(c * c + weighed * weighed);
  };

  KindCount count[6];
  int64_t breaking = 0;
  int64_t best = -1;
  const auto start = std::chrono::steady_clock::now();
  for (int64_t step = 0; step < options.steps; ++step) {
    const bool picked = tool::PickMove(state, division_of, mix, &random, &scratch, &move);
    KindCount& kind = count[static_cast<int>(move.kind)];
    if (!picked) {
      ++kind.impossible;
    } else {
      ++kind.picked;
      const auto made = std::chrono::steady_clock::now();
      tool::MakeMove(&state, move, &touched);
      for (int team : touched.teams) kind.parts += static_cast<int64_t>(touched.of_team[team].size());
      const TravelFigures change = weigh();
      tool::ClearTouched(&touched);
      double extra = 0;
      if (options.ttsa) {
        TravelFigures after = state.total;
        tool::AddFigures(&after, change);
        extra = ttsa_cost(after) - ttsa_cost(state.total);
      } else {
        extra = static_cast<double>(change.travel * travel_weight + change.breaks +
                                    (change.repeaters + change.runs_over) * penalty);
      }
      const bool accepted = extra <= 0 || Uniform(&random) < std::exp(-extra / temperature);
      if (Broken(state.total) == 0) {
        ++kind.from_keeping;
        kind.still_keeping += Broken(change) == 0;
      }
      if (extra < 0) ++kind.better;
      if (extra == 0) ++kind.equal;
      if (accepted) {
        ++kind.accepted;
        tool::Keep(&state, pending, change);
        if (options.ttsa) w = Broken(state.total) == 0 ? w / 1.04 : w * 1.04;
        w = std::clamp(w, 0.01, 1e6);
      } else {
        tool::MakeMove(&state, move, nullptr);
      }
      kind.seconds +=
          std::chrono::duration<double>(std::chrono::steady_clock::now() - made).count();
      if (Broken(state.total) == 0 && (best < 0 || state.total.travel < best)) {
        best = state.total.travel;
        best_temperature = temperature;
        idle_phases = 0;
      }
    }
    breaking += Broken(state.total) > 0;
    if (options.ttsa) {
      if ((step + 1) % phase == 0) {
        temperature *= 0.98;
        if (++idle_phases > 60) temperature = 2 * best_temperature, idle_phases = 0;
      }
    } else if ((step & 1023) == 1023) {
      temperature *= cooling;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  tool::TravelState recounted = state;
  tool::RecountAll(&recounted);
  const bool same = recounted.total.travel == state.total.travel &&
                    recounted.total.breaks == state.total.breaks &&
                    recounted.total.repeaters == state.total.repeaters &&
                    recounted.total.runs_over == state.total.runs_over;

  std::printf("%s%d, %lld steps, %s, seed %llu; mean rise %.2f of travel\n",
              options.family.c_str(), n, static_cast<long long>(options.steps),
              options.ttsa ? "TTSA's cost" : "the search's cost",
              static_cast<unsigned long long>(options.seed),
              static_cast<double>(mean_rise) / static_cast<double>(travel_weight));
  std::printf("%-17s %9s %9s %9s %8s %8s %8s %8s %8s\n", "change", "picked", "not made",
              "accepted", "better", "equal", "us each", "series", "keeps");
  for (int k = 0; k < 6; ++k) {
    const KindCount& c = count[k];
    if (c.picked + c.impossible == 0) continue;
    const double picked = static_cast<double>(std::max<int64_t>(1, c.picked));
    std::printf("%-17s %9lld %8.1f%% %8.2f%% %7.2f%% %7.2f%% %8.2f %8.1f %7.1f%%\n", kKindNames[k],
                static_cast<long long>(c.picked),
                100.0 * static_cast<double>(c.impossible) /
                    static_cast<double>(c.picked + c.impossible),
                100.0 * static_cast<double>(c.accepted) / picked,
                100.0 * static_cast<double>(c.better) / picked,
                100.0 * static_cast<double>(c.equal) / picked, 1e6 * c.seconds / picked,
                static_cast<double>(c.parts) / picked,
                100.0 * static_cast<double>(c.still_keeping) /
                    static_cast<double>(std::max<int64_t>(1, c.from_keeping)));
  }
  std::printf("%.0f steps a second; %.1f%% of steps breaking a rule; best keeping every rule %lld; "
              "counted figures %s those counted afresh\n",
              static_cast<double>(options.steps) / seconds,
              100.0 * static_cast<double>(breaking) / static_cast<double>(options.steps),
              static_cast<long long>(best), same ? "equal" : "DIFFER FROM");
  return same ? 0 : 1;
}
