#include "tool/generate/generate_league.h"

#include <algorithm>

#include "tool/generate/generate_rounds.h"

namespace tool {
namespace {

// How often one round's pairing is tried afresh, and the whole dealing,
// before a round is let have a team rest.
constexpr int kTriesPerRound = 60;
constexpr int kTriesPerDealing = 40;
// How many more series a team than the fewest its games allow are tried.
constexpr int kMostExtraSeries = 8;

// The fewest and the most series `games` at one park split into.
int FewestSeries(int games, const SeriesLengths& lengths) {
  return (games + lengths.most - 1) / lengths.most;
}
int MostSeries(int games, const SeriesLengths& lengths) { return games / lengths.least; }

// Every park's series of each pair: their number, between the fewest and the
// most its games allow, such that every team plays `per_team`. False when
// the greedy raising of counts found none.
bool SeriesCounts(const std::vector<int>& hosted, int n, const SeriesLengths& lengths,
                  int per_team, uint64_t* random, std::vector<int>* count) {
  std::vector<int> most(hosted.size(), 0), total(static_cast<size_t>(n), 0);
  count->assign(hosted.size(), 0);
  for (int h = 0; h < n; ++h) {
    for (int v = 0; v < n; ++v) {
      const int games = hosted[h * n + v];
      if (games == 0) continue;
      (*count)[h * n + v] = FewestSeries(games, lengths);
      most[h * n + v] = MostSeries(games, lengths);
      total[h] += (*count)[h * n + v];
      total[v] += (*count)[h * n + v];
    }
  }
  for (;;) {
    // The team furthest short, then the partner furthest short it can add
    // a series with (ties by a random turn).
    const int turn = RandomBelow(random, n);
    int team = -1;
    for (int step = 0; step < n; ++step) {
      const int t = (turn + step) % n;
      if (total[t] > per_team) return false;
      if (total[t] < per_team && (team < 0 || total[t] < total[team])) team = t;
    }
    if (team < 0) return true;
    int best = -1, best_park = -1;
    for (int step = 0; step < n; ++step) {
      const int u = (turn + step) % n;
      if (u == team || total[u] >= per_team) continue;
      for (int park : {team * n + u, u * n + team}) {
        if ((*count)[park] < most[park] && (best < 0 || total[u] < total[best])) {
          best = u;
          best_park = park;
        }
      }
    }
    if (best < 0) return false;
    ++(*count)[best_park];
    ++total[team];
    ++total[best];
  }
}

// One series waiting to be dealt.
struct Waiting {
  int home, visitor, games;
  bool dealt = false;
};

// Pairs the teams of one round from the series still waiting: each team at
// most one series, the series' lengths within `most_idle` of each other.
// The longest series first when `long_first`, the team with the fewest
// choices first. The round's series' indices in `picked`; true when no
// team that still has series rests (one may, in an odd league).
bool PairRound(const std::vector<Waiting>& waiting, const std::vector<std::vector<int>>& of_team,
               int most_idle, bool long_first, uint64_t* random, std::vector<int>* picked) {
  const int n = static_cast<int>(of_team.size());
  std::vector<char> paired(static_cast<size_t>(n), 0);
  picked->clear();
  int shortest = 1 << 20, longest = 0;
  auto fits = [&](const Waiting& w) {
    return !w.dealt && !paired[w.home] && !paired[w.visitor] &&
           std::max(longest, w.games) - std::min(shortest, w.games) <= most_idle;
  };
  int left_with_series = 0;
  for (int t = 0; t < n; ++t) {
    for (int i : of_team[t]) {
      if (!waiting[i].dealt) {
        ++left_with_series;
        break;
      }
    }
  }
  int rested = 0;
  for (;;) {
    // The unpaired team with the fewest series it can still play here.
    const int turn = RandomBelow(random, n);
    int team = -1, fewest = 1 << 30;
    for (int step = 0; step < n; ++step) {
      const int t = (turn + step) % n;
      if (paired[t]) continue;
      int choices = 0;
      bool any = false;
      for (int i : of_team[t]) {
        if (waiting[i].dealt) continue;
        any = true;
        choices += fits(waiting[i]);
      }
      if (!any) continue;
      if (choices < fewest) {
        fewest = choices;
        team = t;
      }
    }
    if (team < 0) break;
    if (fewest == 0) {
      paired[team] = 1;
      ++rested;
      continue;
    }
    int best = -1;
    int best_games = 0, best_choices = 0;
    const int offset = RandomBelow(random, static_cast<int>(of_team[team].size()));
    for (size_t k = 0; k < of_team[team].size(); ++k) {
      const int i = of_team[team][(offset + k) % of_team[team].size()];
      if (!fits(waiting[i])) continue;
      const int other = waiting[i].home == team ? waiting[i].visitor : waiting[i].home;
      int choices = 0;
      for (int j : of_team[other]) choices += fits(waiting[j]);
      const int games = long_first ? waiting[i].games : 0;
      if (best < 0 || games > best_games || (games == best_games && choices < best_choices)) {
        best = i;
        best_games = games;
        best_choices = choices;
      }
    }
    picked->push_back(best);
    paired[waiting[best].home] = paired[waiting[best].visitor] = 1;
    shortest = std::min(shortest, waiting[best].games);
    longest = std::max(longest, waiting[best].games);
  }
  return rested <= (left_with_series % 2);
}

// Deals the series of `waiting` into rounds. False when some round had to
// let a team rest that an even pairing would not.
bool Deal(std::vector<Waiting> waiting, int n, const SeriesLengths& lengths, int per_team,
          uint64_t* random, bool settle_for_rests, LeagueRounds* league) {
  std::vector<std::vector<int>> of_team(static_cast<size_t>(n));
  for (size_t i = 0; i < waiting.size(); ++i) {
    of_team[waiting[i].home].push_back(static_cast<int>(i));
    of_team[waiting[i].visitor].push_back(static_cast<int>(i));
  }
  league->rounds.clear();
  league->days.clear();
  size_t left = waiting.size();
  std::vector<int> picked, best;
  while (left > 0) {
    // The longest series gathered into the first rounds: a round lasts as
    // long as its longest series.
    const bool long_first = static_cast<int>(league->rounds.size()) < per_team / 2;
    bool even = false;
    best.clear();
    for (int attempt = 0; attempt < kTriesPerRound && !even; ++attempt) {
      even = PairRound(waiting, of_team, lengths.most_idle, long_first, random, &picked);
      if (even || picked.size() > best.size()) best = picked;
    }
    if (!even && !settle_for_rests) return false;
    if (best.empty()) return false;
    SeriesRound round;
    int days = 0;
    for (int i : best) {
      waiting[i].dealt = true;
      round.push_back(Series{waiting[i].home, waiting[i].visitor, waiting[i].games});
      days = std::max(days, waiting[i].games);
    }
    left -= best.size();
    league->rounds.push_back(std::move(round));
    league->days.push_back(days);
  }
  return true;
}

}  // namespace

bool LeagueSeries(const std::vector<int>& hosted, int teams, const SeriesLengths& lengths,
                  uint64_t seed, LeagueRounds* league, std::string* problem) {
  const int n = teams;
  int fewest_per_team = 0;
  std::vector<int> total(static_cast<size_t>(n), 0);
  for (int h = 0; h < n; ++h) {
    for (int v = 0; v < n; ++v) {
      const int games = hosted[h * n + v];
      if (games == 0) continue;
      const int fewest = FewestSeries(games, lengths);
      if (fewest > MostSeries(games, lengths)) {
        *problem = std::to_string(games) + (games == 1 ? " game" : " games") + " at a park of " +
                   "one pair do not split into series of " + std::to_string(lengths.least) +
                   " to " + std::to_string(lengths.most) + " games";
        return false;
      }
      total[h] += fewest;
      total[v] += fewest;
    }
  }
  for (int t : total) fewest_per_team = std::max(fewest_per_team, t);
  if (fewest_per_team == 0) {
    *problem = "the matchups give no game to play";
    return false;
  }
  uint64_t random = seed ^ 0x1EA6E5ULL;
  std::vector<int> count;
  // Every team the same number of series where the games allow it; else
  // each its fewest, and the rounds let teams rest.
  bool equal = false;
  int per_team = fewest_per_team;
  for (int extra = 0; extra <= kMostExtraSeries && !equal; ++extra) {
    per_team = fewest_per_team + extra;
    for (int attempt = 0; attempt < 4 && !equal; ++attempt) {
      equal = SeriesCounts(hosted, n, lengths, per_team, &random, &count);
    }
  }
  if (!equal) {
    count.assign(hosted.size(), 0);
    for (int h = 0; h < n; ++h) {
      for (int v = 0; v < n; ++v) {
        const int games = hosted[h * n + v];
        count[h * n + v] = FewestSeries(games, lengths);
      }
    }
    per_team = fewest_per_team;
  }
  // Each park's games as evenly as its series allow: the longer first.
  std::vector<Waiting> waiting;
  for (int h = 0; h < n; ++h) {
    for (int v = 0; v < n; ++v) {
      const int k = count[h * n + v];
      const int games = hosted[h * n + v];
      for (int s = 0; s < k; ++s) {
        waiting.push_back(Waiting{h, v, games / k + (s < games % k ? 1 : 0)});
      }
    }
  }
  for (int attempt = 0; attempt < kTriesPerDealing; ++attempt) {
    if (Deal(waiting, n, lengths, per_team, &random, false, league)) return true;
  }
  return Deal(waiting, n, lengths, per_team, &random, true, league);
}

void GiveRoom(const SeriesLengths& lengths, int window, LeagueRounds* league) {
  int spare = window - LeagueDays(*league);
  for (size_t r = 0; r < league->rounds.size() && spare > 0; ++r) {
    int shortest = lengths.most;
    for (const Series& series : league->rounds[r]) shortest = std::min(shortest, series.games);
    const int room = std::min(lengths.most, shortest + lengths.most_idle) - league->days[r];
    const int given = std::min(room, spare);
    if (given <= 0) continue;
    league->days[r] += given;
    spare -= given;
  }
}

int LeagueDays(const LeagueRounds& league) {
  int days = 0;
  for (int d : league.days) days += d;
  return days;
}

}  // namespace tool
