#include "tool/generate_rounds.h"

#include <algorithm>
#include <numeric>

namespace tool {
namespace {

// A team number that stands for "rests this round" in a league of an odd
// number of teams.
constexpr int kRest = -1;

// The round robin `copy` of a family: even copies as made, odd copies in
// reverse order with the home sides swapped. A team's last series of one
// copy and its first of the next are then at different parks.
std::vector<SeriesRound> Copy(const std::vector<SeriesRound>& base, int copy) {
  if (copy % 2 == 0) return base;
  std::vector<SeriesRound> mirrored(base.rbegin(), base.rend());
  for (SeriesRound& round : mirrored) {
    for (Series& series : round) std::swap(series.home, series.visitor);
  }
  return mirrored;
}

void AppendCopies(const std::vector<SeriesRound>& base, int copies,
                  std::vector<SeriesRound>* rounds) {
  for (int copy = 0; copy < copies; ++copy) {
    for (SeriesRound& round : Copy(base, copy)) {
      if (!round.empty()) rounds->push_back(std::move(round));
    }
  }
}

// A round robin inside every division at once: round j holds the j-th round
// of each division's own round robin.
std::vector<SeriesRound> DivisionRoundRobin(const std::vector<int>& places,
                                            const std::vector<int>& division_of,
                                            int division_count) {
  std::vector<SeriesRound> rounds;
  for (int division = 0; division < division_count; ++division) {
    std::vector<int> members;
    for (int team : places) {
      if (division_of[team] == division) members.push_back(team);
    }
    if (members.size() < 2) continue;
    std::vector<SeriesRound> own = SingleRoundRobin(members);
    if (rounds.size() < own.size()) rounds.resize(own.size());
    for (size_t j = 0; j < own.size(); ++j) {
      rounds[j].insert(rounds[j].end(), own[j].begin(), own[j].end());
    }
  }
  return rounds;
}

// The round robin of the whole league without the pairs of one division.
std::vector<SeriesRound> BetweenDivisions(std::vector<SeriesRound> rounds,
                                          const std::vector<int>& division_of) {
  for (SeriesRound& round : rounds) {
    std::erase_if(round, [&](const Series& series) {
      return division_of[series.home] == division_of[series.visitor];
    });
  }
  return rounds;
}

}  // namespace

uint64_t NextRandom(uint64_t* state) {
  uint64_t z = (*state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::vector<SeriesRound> SingleRoundRobin(const std::vector<int>& places) {
  // The circle: the last place stays put, the others turn one step a
  // round; an odd league gets a resting place as its fixed one.
  std::vector<int> circle = places;
  if (circle.size() % 2 == 1) circle.push_back(kRest);
  const int m = static_cast<int>(circle.size());
  const int turning = m - 1;
  std::vector<SeriesRound> rounds;
  for (int r = 0; r < turning; ++r) {
    SeriesRound round;
    // The fixed place is at home in odd rounds, and of the other pairs the
    // one turning forward at home for odd steps: every team then changes
    // parks each round but once.
    auto add = [&](int home, int visitor) {
      if (circle[home] != kRest && circle[visitor] != kRest) {
        round.push_back(Series{circle[home], circle[visitor], 0});
      }
    };
    if (r % 2 == 1) add(m - 1, r); else add(r, m - 1);
    for (int k = 1; k < m / 2; ++k) {
      int forward = (r + k) % turning, backward = (r - k + turning) % turning;
      if (k % 2 == 1) add(forward, backward); else add(backward, forward);
    }
    rounds.push_back(std::move(round));
  }
  return rounds;
}

std::vector<SeriesRound> PairRounds(const RoundsRequest& request) {
  const int teams = static_cast<int>(request.division_of.size());
  std::vector<int> places(static_cast<size_t>(teams));
  std::iota(places.begin(), places.end(), 0);
  uint64_t state = request.seed;
  // Fisher-Yates by a generator of our own, so that a seed gives the same
  // places on every platform.
  for (int i = teams - 1; i > 0; --i) {
    int j = static_cast<int>(NextRandom(&state) % static_cast<uint64_t>(i + 1));
    std::swap(places[static_cast<size_t>(i)], places[static_cast<size_t>(j)]);
  }

  bool has_within = false, has_between = false;
  for (int a = 0; a < teams; ++a) {
    for (int b = a + 1; b < teams; ++b) {
      (request.division_of[a] == request.division_of[b] ? has_within : has_between) = true;
    }
  }
  int between = has_between ? request.series_between_divisions : request.series_within_division;
  int within = has_within ? request.series_within_division : between;
  const int whole = std::min(between, within);

  std::vector<SeriesRound> rounds;
  std::vector<SeriesRound> league = SingleRoundRobin(places);
  AppendCopies(league, whole, &rounds);
  if (between > whole) {
    // Further copies of the league's round robin, the home sides going on
    // alternating from the last whole one.
    std::vector<SeriesRound> extra = BetweenDivisions(league, request.division_of);
    for (int copy = whole; copy < between; ++copy) {
      for (SeriesRound& round : Copy(extra, copy)) {
        if (!round.empty()) rounds.push_back(std::move(round));
      }
    }
  }
  if (within > whole) {
    AppendCopies(DivisionRoundRobin(places, request.division_of, request.division_count),
                 within - whole, &rounds);
  }
  if (NextRandom(&state) & 1) std::reverse(rounds.begin(), rounds.end());
  return rounds;
}

}  // namespace tool
