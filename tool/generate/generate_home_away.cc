#include "tool/generate/generate_home_away.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "tool/generate/generate_rounds.h"

namespace tool {
namespace {

// A run of series at one park longer than allowed outweighs all else; two
// series in a row of one pair at one park (which the text would show as one
// long series) outweigh every break.
constexpr int64_t kOverLimit = int64_t{1} << 40;
constexpr int64_t kSeriesRunTogether = int64_t{1} << 20;
// How many changes the search weighs at most, and how often it starts
// again from a shaken copy of the best arrangement when a run is too long.
constexpr int64_t kWeighings = 2'000'000;
constexpr int kRestarts = 40;

// One series of a pair, where it stands in the rounds and in the two teams'
// own sequences of series.
struct Meeting {
  int round = 0;
  int slot = 0;
  int team[2] = {0, 0};      // the pair, the lower number first
  int position[2] = {0, 0};  // the series' place in each team's sequence
};

// The season as the search changes it: who is at home in every series.
struct Arrangement {
  int teams = 0;
  int limit = 0;                            // series in a row at one park, at most
  std::vector<Meeting> meetings;
  std::vector<char> first_home;             // per meeting: its lower team is at home
  std::vector<std::vector<char>> at_home;   // per team, its series in order
  std::vector<std::vector<int>> opponent;   // per team, the opponent of each of its series
  std::vector<std::vector<int>> of_pair;    // per pair (a * teams + b), its meetings in order
  std::vector<int> odd_host;                // per pair, the park of its odd game (-1: none)
  std::vector<int> balance;                 // per team, odd games at home less those away
  std::vector<char> odd_game_moves_series;  // per pair: moving its odd game moves a series
  int64_t cost = 0;
};

// Who is at home where: what the search keeps of its best arrangement.
struct Homes {
  std::vector<char> first_home;
  std::vector<int> odd_host;
};

// What the series at `i` of one team's sequence adds: a break when it is at
// the same park as the one before, and far more when it ends a run longer
// than the limit.
int64_t PositionCost(const std::vector<char>& home, const std::vector<int>& opponent, int limit,
                     int i) {
  int64_t cost = 0;
  if (i > 0 && home[i] == home[i - 1]) {
    cost += opponent[i] == opponent[i - 1] ? kSeriesRunTogether : 1;
  }
  int run = 1;
  while (run <= limit && i - run >= 0 && home[i - run] == home[i]) ++run;
  if (run > limit) cost += kOverLimit;
  return cost;
}

int64_t TeamCost(const Arrangement& season, int team) {
  const std::vector<char>& home = season.at_home[team];
  int64_t cost = 0;
  for (int i = 0; i < static_cast<int>(home.size()); ++i) {
    cost += PositionCost(home, season.opponent[team], season.limit, i);
  }
  return cost;
}

// The cost of the places a change at `positions` of one team can touch:
// each position and the `limit` after it.
int64_t WindowCost(const Arrangement& season, int team, std::vector<int> positions) {
  const std::vector<char>& home = season.at_home[team];
  const int last = static_cast<int>(home.size()) - 1;
  std::sort(positions.begin(), positions.end());
  int64_t cost = 0;
  int next = 0;  // the first position not yet counted
  for (int from : positions) {
    for (int i = std::max(from, next); i <= std::min(last, from + season.limit); ++i) {
      cost += PositionCost(home, season.opponent[team], season.limit, i);
    }
    next = std::max(next, std::min(last, from + season.limit) + 1);
  }
  return cost;
}

void SetHome(Arrangement* season, int meeting, bool first_home) {
  const Meeting& m = season->meetings[meeting];
  season->first_home[meeting] = first_home;
  season->at_home[m.team[0]][m.position[0]] = first_home;
  season->at_home[m.team[1]][m.position[1]] = !first_home;
}

// Swaps the home side of the meetings given (all of one pair) and answers
// how much the cost changed.
int64_t Flip(Arrangement* season, std::initializer_list<int> meetings) {
  const Meeting& any = season->meetings[*meetings.begin()];
  int64_t change = 0;
  for (int side = 0; side < 2; ++side) {
    std::vector<int> positions;
    for (int meeting : meetings) positions.push_back(season->meetings[meeting].position[side]);
    change -= WindowCost(*season, any.team[side], positions);
  }
  for (int meeting : meetings) SetHome(season, meeting, !season->first_home[meeting]);
  for (int side = 0; side < 2; ++side) {
    std::vector<int> positions;
    for (int meeting : meetings) positions.push_back(season->meetings[meeting].position[side]);
    change += WindowCost(*season, any.team[side], positions);
  }
  season->cost += change;
  return change;
}

Arrangement Arrange(const std::vector<SeriesRound>& rounds, int teams, int limit) {
  Arrangement season;
  season.teams = teams;
  season.limit = limit;
  season.at_home.resize(static_cast<size_t>(teams));
  season.opponent.resize(static_cast<size_t>(teams));
  season.of_pair.resize(static_cast<size_t>(teams * teams));
  for (int r = 0; r < static_cast<int>(rounds.size()); ++r) {
    for (int s = 0; s < static_cast<int>(rounds[r].size()); ++s) {
      const Series& series = rounds[r][s];
      Meeting m;
      m.round = r;
      m.slot = s;
      m.team[0] = std::min(series.home, series.visitor);
      m.team[1] = std::max(series.home, series.visitor);
      for (int side = 0; side < 2; ++side) {
        m.position[side] = static_cast<int>(season.at_home[m.team[side]].size());
        season.at_home[m.team[side]].push_back(series.home == m.team[side]);
        season.opponent[m.team[side]].push_back(m.team[1 - side]);
      }
      season.of_pair[m.team[0] * teams + m.team[1]].push_back(
          static_cast<int>(season.meetings.size()));
      season.first_home.push_back(series.home == m.team[0]);
      season.meetings.push_back(m);
    }
  }
  for (int team = 0; team < teams; ++team) season.cost += TeamCost(season, team);
  return season;
}

void SetAllHomes(Arrangement* season, const Homes& homes) {
  for (int m = 0; m < static_cast<int>(homes.first_home.size()); ++m) {
    SetHome(season, m, homes.first_home[m]);
  }
  season->odd_host = homes.odd_host;
  std::fill(season->balance.begin(), season->balance.end(), 0);
  for (int pair = 0; pair < static_cast<int>(homes.odd_host.size()); ++pair) {
    if (homes.odd_host[pair] < 0) continue;
    int host = homes.odd_host[pair];
    ++season->balance[host];
    --season->balance[host == pair / season->teams ? pair % season->teams : pair / season->teams];
  }
  season->cost = 0;
  for (int team = 0; team < season->teams; ++team) season->cost += TeamCost(*season, team);
}

// Per pair, the team whose park has the odd game of an odd number of
// meetings (-1 for an even number). The first guess's own choice (the team
// it has at home more often, else in the pair's first meeting) when that
// keeps every team's home and away games within one; else the odd pairs are
// walked as trails, as an Euler tour would walk them, each pair's odd game
// going to the team the walk comes to, so that every team comes to as many
// as it leaves from, give or take one.
std::vector<int> OddGameHosts(const HomeAwayRules& rules, const Arrangement& season) {
  const int teams = season.teams;
  std::vector<int> host(static_cast<size_t>(teams * teams), -1);
  std::vector<int> odd_pairs;
  std::vector<int> balance(static_cast<size_t>(teams), 0);
  for (int a = 0; a < teams; ++a) {
    for (int b = a + 1; b < teams; ++b) {
      if (MeetingsOf(rules, a, b) % 2 == 0) continue;
      const std::vector<int>& meetings = season.of_pair[a * teams + b];
      int first_hosts = 0;
      for (int m : meetings) first_hosts += season.first_home[m] ? 1 : -1;
      bool first = first_hosts > 0 || (first_hosts == 0 && !meetings.empty() &&
                                       season.first_home[meetings.front()]);
      host[a * teams + b] = first ? a : b;
      balance[first ? a : b] += 1;
      balance[first ? b : a] -= 1;
      odd_pairs.push_back(a * teams + b);
    }
  }
  if (std::all_of(balance.begin(), balance.end(), [](int d) { return std::abs(d) <= 1; })) {
    return host;
  }
  std::vector<std::vector<int>> touching(static_cast<size_t>(teams));
  for (int pair : odd_pairs) {
    touching[pair / teams].push_back(pair);
    touching[pair % teams].push_back(pair);
  }
  std::vector<char> walked(host.size(), 0);
  std::vector<int> left(static_cast<size_t>(teams));
  for (int team = 0; team < teams; ++team) left[team] = static_cast<int>(touching[team].size());
  for (;;) {
    int start = -1;
    for (int team = 0; team < teams && start < 0; ++team) {
      if (left[team] % 2 == 1) start = team;
    }
    for (int team = 0; team < teams && start < 0; ++team) {
      if (left[team] > 0) start = team;
    }
    if (start < 0) break;
    for (int at = start;;) {
      // The next pair: one whose first guess already gives the odd game to
      // the team walked to, if there is one.
      int next = -1;
      for (int pair : touching[at]) {
        if (walked[pair]) continue;
        int other = pair / teams == at ? pair % teams : pair / teams;
        if (next < 0 || host[pair] == other) next = pair;
        if (host[pair] == other) break;
      }
      if (next < 0) break;
      walked[next] = 1;
      int other = next / teams == at ? next % teams : next / teams;
      host[next] = other;
      --left[at];
      --left[other];
      at = other;
    }
  }
  return host;
}

// The games `team` plays at home against its pair: half the meetings, and
// the odd one if it is its.
int HomeGames(const HomeAwayRules& rules, const Arrangement& season, int team, int pair) {
  const int teams = season.teams;
  int meetings = MeetingsOf(rules, pair / teams, pair % teams);
  return meetings / 2 + (season.odd_host[pair] == team ? 1 : 0);
}

int SeriesOf(int games, int length) { return (games + length - 1) / length; }

// Makes every pair's home series as many as its home games need, changing
// each time the meeting whose change costs least.
void MatchSeriesCounts(const HomeAwayRules& rules, Arrangement* season) {
  const int teams = season->teams;
  for (int pair = 0; pair < teams * teams; ++pair) {
    const std::vector<int>& meetings = season->of_pair[pair];
    if (meetings.empty()) continue;
    const int first = pair / teams;
    const int wanted = SeriesOf(HomeGames(rules, *season, first, pair), rules.series_length);
    for (;;) {
      int hosted = 0;
      for (int m : meetings) hosted += season->first_home[m];
      if (hosted == wanted) break;
      const bool from_first = hosted > wanted;  // the first team hosts too many
      int best = -1;
      int64_t best_change = 0;
      for (int m : meetings) {
        if (static_cast<bool>(season->first_home[m]) != from_first) continue;
        int64_t change = Flip(season, {m});
        Flip(season, {m});
        if (best < 0 || change < best_change) best = m, best_change = change;
      }
      Flip(season, {best});
    }
  }
}

// Moves the odd game of `pair` to the other park where that keeps every
// team's home and away games within one (its host has one home game more,
// the other one fewer) and moves a series with it: the meeting whose move
// costs least, taken when it lowers the cost or `always` is set.
bool MoveOddGame(Arrangement* season, int pair, bool always) {
  const int teams = season->teams;
  const int host = season->odd_host[pair];
  if (host < 0 || !season->odd_game_moves_series[pair]) return false;
  const int other = host == pair / teams ? pair % teams : pair / teams;
  if (season->balance[host] != 1 || season->balance[other] != -1) return false;
  const bool first_hosts = host == pair / teams;
  int best = -1;
  int64_t best_change = 0;
  for (int m : season->of_pair[pair]) {
    if (static_cast<bool>(season->first_home[m]) != first_hosts) continue;
    int64_t change = Flip(season, {m});
    Flip(season, {m});
    if (best < 0 || change < best_change) best = m, best_change = change;
  }
  if (best < 0 || (!always && best_change >= 0)) return false;
  Flip(season, {best});
  season->odd_host[pair] = other;
  season->balance[host] -= 2;
  season->balance[other] += 2;
  return true;
}

// Swaps the home sides of two meetings of one pair, and moves odd games,
// wherever that lowers the cost, until nothing does or the weighings run
// out. A pair's meetings are swapped with those a few meetings on, which
// keeps a long season's weighings in bounds.
void Climb(Arrangement* season, const std::vector<int>& pair_order, int64_t* weighings) {
  constexpr size_t kSwapReach = 8;
  for (bool improved = true; improved && *weighings > 0;) {
    improved = false;
    for (int pair : pair_order) {
      const std::vector<int>& meetings = season->of_pair[pair];
      if (MoveOddGame(season, pair, false)) improved = true;
      for (size_t i = 0; i < meetings.size(); ++i) {
        for (size_t j = i + 1; j < std::min(meetings.size(), i + 1 + kSwapReach); ++j) {
          if (season->first_home[meetings[i]] == season->first_home[meetings[j]]) continue;
          --*weighings;
          if (Flip(season, {meetings[i], meetings[j]}) < 0) {
            improved = true;
          } else {
            Flip(season, {meetings[i], meetings[j]});
          }
        }
      }
    }
  }
}

// Swaps the home sides of two meetings of a few pairs picked at random, and
// moves a few odd games.
void Shake(Arrangement* season, const std::vector<int>& pair_order, uint64_t* state) {
  for (int i = 0; i < season->teams; ++i) {
    const int pair = pair_order[NextRandom(state) % pair_order.size()];
    MoveOddGame(season, pair, true);
    const std::vector<int>& meetings = season->of_pair[pair];
    if (meetings.size() < 2) continue;
    int m1 = meetings[NextRandom(state) % meetings.size()];
    int m2 = meetings[NextRandom(state) % meetings.size()];
    if (season->first_home[m1] != season->first_home[m2]) Flip(season, {m1, m2});
  }
}

// The longest run of series at one park of any team.
int LongestRun(const Arrangement& season) {
  int longest = 0;
  for (const std::vector<char>& home : season.at_home) {
    int run = 0;
    for (size_t i = 0; i < home.size(); ++i) {
      run = i > 0 && home[i] == home[i - 1] ? run + 1 : 1;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

}  // namespace

int MeetingsOf(const HomeAwayRules& rules, int a, int b) {
  return rules.division_of[a] == rules.division_of[b] ? rules.meetings_within
                                                      : rules.meetings_between;
}

int SeriesOfPair(int meetings, int length) {
  return SeriesOf((meetings + 1) / 2, length) + SeriesOf(meetings / 2, length);
}

bool DealGames(int teams, int series_length, const std::vector<int>& hosted_games,
               std::vector<SeriesRound>* rounds) {
  std::vector<int> left = hosted_games;
  for (SeriesRound& round : *rounds) {
    for (Series& series : round) {
      int& games = left[static_cast<size_t>(series.home * teams + series.visitor)];
      series.games = std::min(games, series_length);
      games -= series.games;
    }
  }
  return std::all_of(left.begin(), left.end(), [](int games) { return games == 0; });
}

bool SettleHomeAndAway(const HomeAwayRules& rules, std::vector<SeriesRound>* rounds,
                       std::string* problem) {
  const int teams = static_cast<int>(rules.division_of.size());
  Arrangement season = Arrange(*rounds, teams, rules.most_in_a_row);
  season.balance.assign(static_cast<size_t>(teams), 0);
  season.odd_game_moves_series.assign(season.of_pair.size(), 0);
  SetAllHomes(&season, Homes{season.first_home, OddGameHosts(rules, season)});
  for (int pair = 0; pair < teams * teams; ++pair) {
    const int meetings = MeetingsOf(rules, pair / teams, pair % teams);
    season.odd_game_moves_series[pair] = SeriesOf((meetings + 1) / 2, rules.series_length) !=
                                         SeriesOf(meetings / 2, rules.series_length);
  }
  MatchSeriesCounts(rules, &season);

  std::vector<int> pair_order;
  for (int pair = 0; pair < teams * teams; ++pair) {
    if (!season.of_pair[pair].empty()) pair_order.push_back(pair);
  }
  uint64_t state = rules.seed ^ 0x5EA5011ULL;
  for (size_t i = pair_order.size(); i > 1; --i) {
    std::swap(pair_order[i - 1], pair_order[NextRandom(&state) % i]);
  }
  int64_t weighings = kWeighings;
  Climb(&season, pair_order, &weighings);
  Homes best{season.first_home, season.odd_host};
  int64_t best_cost = season.cost;
  for (int restart = 0; restart < kRestarts && best_cost >= kSeriesRunTogether && !pair_order.empty() &&
                        weighings > 0;
       ++restart) {
    SetAllHomes(&season, best);
    Shake(&season, pair_order, &state);
    Climb(&season, pair_order, &weighings);
    if (season.cost < best_cost) best = Homes{season.first_home, season.odd_host}, best_cost = season.cost;
  }
  SetAllHomes(&season, best);

  // The home sides into the rounds, then the games: each park's series of
  // a pair in order, full ones first and the shorter rest last.
  std::vector<int> hosted_games(static_cast<size_t>(teams * teams), 0);
  for (int pair = 0; pair < teams * teams; ++pair) {
    if (pair / teams >= pair % teams) continue;  // each pair once, the lower team first
    for (int side = 0; side < 2; ++side) {
      const int team = side == 0 ? pair / teams : pair % teams;
      const int other = side == 0 ? pair % teams : pair / teams;
      hosted_games[team * teams + other] = HomeGames(rules, season, team, pair);
    }
  }
  for (size_t m = 0; m < season.meetings.size(); ++m) {
    const Meeting& meeting = season.meetings[m];
    const int side = season.first_home[m] ? 0 : 1;
    Series& series = (*rounds)[meeting.round][meeting.slot];
    series.home = meeting.team[side];
    series.visitor = meeting.team[1 - side];
  }
  const bool dealt = DealGames(teams, rules.series_length, hosted_games, rounds);
  if (best_cost >= kOverLimit) {
    *problem = "no arrangement was found in which every team plays at most " +
               std::to_string(rules.most_in_a_row) +
               " series in a row at home or on the road (--most-in-a-row " +
               std::to_string(rules.most_in_a_row) + "); the closest has a team with " +
               std::to_string(LongestRun(season)) + " in a row";
    if (rules.most_in_a_row == 1) {
      *problem += ": a team that changes parks after every series has one of two patterns, "
                  "and two teams of one pattern playing every round never meet; allow 2 or more";
    }
    return false;
  }
  if (!dealt) {
    *problem = "the series do not hold every meeting: the league's rounds are wrong";
    return false;
  }
  return true;
}

}  // namespace tool
