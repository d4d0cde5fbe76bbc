#include "tool/generate/generate_rounds.h"

#include <algorithm>
#include <numeric>

namespace tool {
namespace {

// A team number that stands for "rests this round" in a league of an odd
// number of teams.
constexpr int kRest = -1;

// The home sides of every series swapped.
std::vector<SeriesRound> Swapped(std::vector<SeriesRound> rounds) {
  for (SeriesRound& round : rounds) {
    for (Series& series : round) std::swap(series.home, series.visitor);
  }
  return rounds;
}

// A round robin in reverse order with the home sides swapped: a team's last
// series of the one before and its first of this one are at different parks.
std::vector<SeriesRound> Mirrored(const std::vector<SeriesRound>& rounds) {
  return Swapped(std::vector<SeriesRound>(rounds.rbegin(), rounds.rend()));
}

// Where a team stands after the rounds so far: the park of its last series
// (1 home, 0 away, -1 none yet) and its opponent there.
struct Standing {
  int park = -1;
  int opponent = -1;
};

// The repeaters (two series in a row of one pair) and breaks `rounds` make
// after `standing`, counted per team over its series in order, and where
// the teams then stand.
struct Joined {
  int repeaters = 0;
  int breaks = 0;
};

// Adds `cost` to `total`, or takes it away (`sign` -1).
void Add(Joined* total, const Joined& cost, int sign = 1) {
  total->repeaters += sign * cost.repeaters;
  total->breaks += sign * cost.breaks;
}

// True when `a` makes fewer repeaters than `b`, or as many and fewer breaks.
bool Fewer(const Joined& a, const Joined& b) {
  return a.repeaters < b.repeaters || (a.repeaters == b.repeaters && a.breaks < b.breaks);
}
Joined Follow(const std::vector<SeriesRound>& rounds, std::vector<Standing>* standing) {
  Joined joined;
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      for (int side = 0; side < 2; ++side) {
        const int team = side == 0 ? series.home : series.visitor;
        const int opponent = side == 0 ? series.visitor : series.home;
        Standing& at = (*standing)[team];
        joined.repeaters += at.opponent == opponent;
        joined.breaks += at.park == 1 - side;
        at = Standing{1 - side, opponent};
      }
    }
  }
  return joined;
}

// What `rounds` make started at each of their rounds (those before it moved
// to their end) after `standing`. Each team's series run round the rounds
// as a circle: a start counts the circle's repeaters and breaks less the
// one pair it cuts, and the join of its first series to where the team
// stands.
std::vector<Joined> StartCosts(const std::vector<SeriesRound>& rounds,
                               const std::vector<Standing>& standing) {
  const int teams = static_cast<int>(standing.size());
  const int count = static_cast<int>(rounds.size());
  std::vector<std::vector<int>> played(static_cast<size_t>(teams));  // per team, its rounds
  std::vector<Standing> at(static_cast<size_t>(teams) * static_cast<size_t>(count));
  for (int r = 0; r < count; ++r) {
    for (const Series& series : rounds[r]) {
      at[static_cast<size_t>(series.home) * count + r] = Standing{1, series.visitor};
      at[static_cast<size_t>(series.visitor) * count + r] = Standing{0, series.home};
      played[series.home].push_back(r);
      played[series.visitor].push_back(r);
    }
  }
  auto pair_cost = [](const Standing& before, const Standing& after) {
    return Joined{before.opponent == after.opponent ? 1 : 0, before.park == after.park ? 1 : 0};
  };
  std::vector<Joined> costs(static_cast<size_t>(count));
  for (int team = 0; team < teams; ++team) {
    const std::vector<int>& own = played[team];
    if (own.empty()) continue;
    const Standing* row = &at[static_cast<size_t>(team) * count];
    const size_t n = own.size();
    Joined circle;
    if (n > 1) {
      for (size_t i = 0; i < n; ++i) {
        Add(&circle, pair_cost(row[own[(i + n - 1) % n]], row[own[i]]));
      }
    }
    size_t first = 0;  // the team's first series from the start on
    for (int start = 0; start < count; ++start) {
      while (first < n && own[first] < start) ++first;
      const size_t head = first == n ? 0 : first;
      Joined cost = circle;
      if (n > 1) {
        Add(&cost, pair_cost(row[own[(head + n - 1) % n]], row[own[head]]), -1);
      }
      if (standing[team].park >= 0) {
        Add(&cost, pair_cost(standing[team], row[own[head]]));
      }
      Add(&costs[start], cost);
    }
  }
  return costs;
}

// The round robin to follow `previous` (a round robin) after `standing`:
// `previous` mirrored, or with the home sides swapped alone, started at
// any of its rounds (those before it moved to its end), whichever makes the
// fewest repeaters, then the fewest breaks, the first of equals. Mirrored
// from its first round every team would change parks where the two meet,
// but every team would meet its last opponent again; started at its
// second-last round (the last two played first) no team does, and two
// teams of an even league take a break.
std::vector<SeriesRound> NextRoundRobin(const std::vector<SeriesRound>& previous,
                                        const std::vector<Standing>& standing) {
  const std::vector<SeriesRound> forms[] = {Mirrored(previous), Swapped(previous)};
  int best_form = 0, best_start = 0;
  Joined best;
  for (int form = 0; form < 2; ++form) {
    const std::vector<Joined> costs = StartCosts(forms[form], standing);
    for (int start = 0; start < static_cast<int>(costs.size()); ++start) {
      const Joined& cost = costs[start];
      if ((form == 0 && start == 0) || Fewer(cost, best)) {
        best = cost;
        best_form = form;
        best_start = start;
      }
    }
  }
  const std::vector<SeriesRound>& form = forms[best_form];
  std::vector<SeriesRound> rounds(form.begin() + best_start, form.end());
  rounds.insert(rounds.end(), form.begin(), form.begin() + best_start);
  return rounds;
}

// `copies` round robins one after another after `before`, `first` the
// first (or, when `first_follows`, the one before them), each after it the
// one before it as NextRoundRobin turns it, or mirrored plainly.
std::vector<SeriesRound> Copies(std::vector<SeriesRound> first, int copies,
                                const std::vector<SeriesRound>& before, int teams,
                                bool plain_mirrors, bool first_follows = false) {
  std::vector<Standing> standing(static_cast<size_t>(teams));
  Follow(before, &standing);
  std::vector<SeriesRound> rounds;
  for (int copy = 0; copy < copies; ++copy) {
    if (copy > 0 || first_follows) {
      first = plain_mirrors ? Mirrored(first) : NextRoundRobin(first, standing);
    }
    Follow(first, &standing);
    rounds.insert(rounds.end(), first.begin(), first.end());
  }
  return rounds;
}

// The round robin of `members` to follow `before`: as made, reversed, with
// the home sides swapped, or both, whichever makes the fewest repeaters
// (unless `breaks_alone`), then the fewest breaks, where it meets the
// rounds before.
std::vector<SeriesRound> FittingRoundRobin(const std::vector<int>& members,
                                           const std::vector<SeriesRound>& before, int teams,
                                           bool breaks_alone) {
  std::vector<Standing> standing(static_cast<size_t>(teams));
  Follow(before, &standing);
  std::vector<SeriesRound> best;
  Joined best_joined;
  for (int variant = 0; variant < 4; ++variant) {
    std::vector<SeriesRound> rounds = SingleRoundRobin(members);
    if (variant & 1) rounds = Mirrored(rounds);
    if (variant & 2) std::reverse(rounds.begin(), rounds.end());
    std::vector<Standing> after = standing;
    Joined joined = Follow(rounds, &after);
    if (breaks_alone) joined.repeaters = 0;
    if (best.empty() || Fewer(joined, best_joined)) {
      best = std::move(rounds);
      best_joined = joined;
    }
  }
  return best;
}

// `copies` round robins inside every division at once, each division's
// fitted to the rounds before: round j holds the j-th round of each.
std::vector<SeriesRound> DivisionRoundRobins(const std::vector<int>& places,
                                             const std::vector<int>& division_of,
                                             int division_count, int copies,
                                             const std::vector<SeriesRound>& before,
                                             bool plain_mirrors) {
  std::vector<SeriesRound> rounds;
  for (int division = 0; division < division_count; ++division) {
    std::vector<int> members;
    for (int team : places) {
      if (division_of[team] == division) members.push_back(team);
    }
    if (members.size() < 2) continue;
    const int teams = static_cast<int>(division_of.size());
    std::vector<SeriesRound> own =
        Copies(FittingRoundRobin(members, before, teams, plain_mirrors), copies, before, teams,
               plain_mirrors);
    if (rounds.size() < own.size()) rounds.resize(own.size());
    for (size_t j = 0; j < own.size(); ++j) {
      rounds[j].insert(rounds[j].end(), own[j].begin(), own[j].end());
    }
  }
  return rounds;
}

// The rounds of the whole league without the pairs of one division.
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

int RandomBelow(uint64_t* state, int count) {
  return static_cast<int>(NextRandom(state) % static_cast<uint64_t>(count));
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

  // The whole league's round robins, as many as both kinds of pair play,
  // and those the pairs of two divisions play beyond them, alternating on,
  // without the pairs of one division.
  // Those beyond are turned as they stand, without those pairs, so that
  // they meet without repeaters where the pairs left out rest.
  const std::vector<SeriesRound> league = SingleRoundRobin(places);
  std::vector<SeriesRound> rounds = Copies(league, whole, {}, teams, request.plain_mirrors);
  if (between > whole) {
    const std::vector<SeriesRound> last =
        whole > 0 ? std::vector<SeriesRound>(rounds.end() - static_cast<std::ptrdiff_t>(league.size()),
                                             rounds.end())
                  : league;
    std::vector<SeriesRound> more = Copies(BetweenDivisions(last, request.division_of),
                                           between - whole, rounds, teams, request.plain_mirrors,
                                           whole > 0);
    rounds.insert(rounds.end(), more.begin(), more.end());
  }
  if (within > whole) {
    std::vector<SeriesRound> extra = DivisionRoundRobins(
        places, request.division_of, request.division_count, within - whole, rounds,
        request.plain_mirrors);
    rounds.insert(rounds.end(), extra.begin(), extra.end());
  }
  std::erase_if(rounds, [](const SeriesRound& round) { return round.empty(); });
  if (NextRandom(&state) & 1) std::reverse(rounds.begin(), rounds.end());
  return rounds;
}

}  // namespace tool
