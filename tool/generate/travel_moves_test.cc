// The travel search's changes on seasons of every shape: each keeps the
// rounds a season (one series a team a round, each pair's series and parks
// as many as before), undoes itself when made again, and the figures kept
// up a few series at a time are those counted afresh.
#include "tool/generate/travel_moves.h"

#include <gtest/gtest.h>

#include "tool/generate/generate_league.h"
#include "tool/generate/generate_rounds.h"
#include "tool/generate/travel_anneal.h"
#include "tool/generate/travel_count.h"
#include "tool/season/team_runs.h"

namespace tool {
namespace {

// Series of `state` per (home, visitor): what every change must keep, up to
// two teams of one division trading places.
std::vector<int> HostedSeries(const TravelState& state) {
  std::vector<int> hosted(static_cast<size_t>(state.teams * state.teams), 0);
  for (int team = 0; team < state.teams; ++team) {
    for (int r = 0; r < state.rounds; ++r) {
      const int at = team * state.rounds + r;
      const int opponent = state.opponent[at];
      if (opponent == kResting) continue;
      // Each series is seen by both teams, the opposite sides.
      EXPECT_EQ(state.opponent[opponent * state.rounds + r], team);
      EXPECT_NE(state.at_home[opponent * state.rounds + r], state.at_home[at]);
      if (state.at_home[at]) ++hosted[team * state.teams + opponent];
    }
  }
  return hosted;
}

void ExpectSameFigures(const TravelFigures& a, const TravelFigures& b) {
  EXPECT_EQ(a.travel, b.travel);
  EXPECT_EQ(a.breaks, b.breaks);
  EXPECT_EQ(a.repeaters, b.repeaters);
  EXPECT_EQ(a.runs_over, b.runs_over);
}

// The season's figures by the one count of travel (TravelWalk) and of runs
// (TeamRuns) that the summary and report use, from its rounds alone.
TravelFigures CountedAfresh(const TravelState& state) {
  const std::vector<SeriesRound> rounds = RoundsOf(state);
  std::vector<TeamRuns> runs(static_cast<size_t>(state.teams), TeamRuns(state.limit));
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      runs[series.home].Take(true, 1, series.visitor);
      runs[series.visitor].Take(false, 1, series.home);
    }
  }
  TravelFigures figures;
  for (const TeamRuns& team : runs) {
    figures.breaks += team.repeats();
    figures.repeaters += team.repeaters();
    figures.runs_over += team.over();
  }
  if (!state.distance.empty()) {
    const DistanceTable table{state.teams, {}, state.distance, ""};
    for (int64_t travel : TeamTravel(rounds, table)) figures.travel += travel;
  }
  return figures;
}

// A league of `teams` in `divisions` (0: none) whose pairs meet so often,
// its distances made up, as the search starts from it.
TravelState LeagueState(int teams, int divisions, int series_between, int series_within,
                        int limit, std::vector<int>* division_of) {
  RoundsRequest request;
  for (int t = 0; t < teams; ++t) request.division_of.push_back(divisions ? t % divisions : 0);
  request.division_count = divisions;
  request.series_between_divisions = series_between;
  request.series_within_division = series_within;
  std::vector<SeriesRound> rounds = PairRounds(request);
  for (SeriesRound& round : rounds) {
    for (Series& series : round) series.games = 1;
  }
  std::vector<int64_t> distance;
  for (int a = 0; a < teams; ++a) {
    for (int b = 0; b < teams; ++b) distance.push_back(a == b ? 0 : (a * 7 + b * 3) % 11 + 1);
  }
  *division_of = request.division_of;
  return MakeTravelState(rounds, teams, limit, distance);
}

TEST(TravelMoves, EveryChangeKeepsTheSeasonAndItsFiguresAsCountedAfresh) {
  struct Case {
    int teams, divisions, series_between, series_within, limit;
  };
  // Even and odd leagues (rests), divisions meeting more or less, limits of
  // 1 to 3 series in a row.
  for (const Case& c : {Case{6, 0, 2, 2, 3}, Case{7, 0, 3, 3, 2}, Case{9, 3, 2, 4, 1},
                        Case{10, 2, 3, 1, 3}}) {
    SCOPED_TRACE(testing::Message() << c.teams << " teams, limit " << c.limit);
    std::vector<int> division_of;
    TravelState state =
        LeagueState(c.teams, c.divisions, c.series_between, c.series_within, c.limit, &division_of);
    uint64_t random = 5;
    MoveScratch scratch;
    TravelMove move;
    TouchedRounds touched;
    int kept = 0;
    for (int step = 0; step < 20000; ++step) {
      if (!PickMove(state, division_of, MoveMix{2, 2, 1, 3, 2, 20, 2}, &random, &scratch,
                    &move)) {
        continue;
      }
      const TravelState before = state;
      MakeMove(&state, move, &touched);
      std::vector<PendingPart> pending;
      TravelFigures change;
      for (int team : touched.teams) Reweigh(state, team, touched.of_team[team], &change, &pending);
      ClearTouched(&touched);
      if (NextRandom(&random) % 3 == 0) {
        MakeMove(&state, move, nullptr);
        ASSERT_EQ(state.opponent, before.opponent) << "kind " << static_cast<int>(move.kind);
        ASSERT_EQ(state.at_home, before.at_home);
        ASSERT_EQ(state.hosted_games, before.hosted_games);
        continue;
      }
      Keep(&state, pending, change);
      ++kept;
      TravelState afresh = state;
      RecountAll(&afresh);
      ExpectSameFigures(state.total, afresh.total);
      ExpectSameFigures(state.total, CountedAfresh(state));
      ASSERT_EQ(state.part.size(), afresh.part.size());
      ASSERT_EQ(state.broken.size(), afresh.broken.size());
      ASSERT_EQ(HostedSeries(state), state.hosted_games) << "kind " << static_cast<int>(move.kind);
    }
    EXPECT_GT(kept, 5000);
  }
}

// The games of each (home, visitor) where series keep their games, checking
// that both teams of a series see it alike and that it fits its round.
std::vector<int> HostedGames(const TravelState& state) {
  std::vector<int> hosted(static_cast<size_t>(state.teams * state.teams), 0);
  for (int team = 0; team < state.teams; ++team) {
    for (int r = 0; r < state.rounds; ++r) {
      const int at = team * state.rounds + r;
      if (state.opponent[at] == kResting) continue;
      EXPECT_EQ(state.games[state.opponent[at] * state.rounds + r], state.games[at]);
      EXPECT_TRUE(FitsRound(state, state.games[at], r)) << state.games[at] << " in " << r;
      if (state.at_home[at]) hosted[team * state.teams + state.opponent[at]] += state.games[at];
    }
  }
  return hosted;
}

// A league's series of 2 to 4 games, each keeping its games through every
// change: each park's games of each pair stay, every series within its
// round's days and at most two shorter, and a change made twice is none.
TEST(TravelMoves, SeriesThatKeepTheirGamesStayWithinTheirRounds) {
  const int teams = 8;
  std::vector<int> hosted(teams * teams, 0);
  for (int a = 0; a < teams; ++a) {
    for (int b = a + 1; b < teams; ++b) {
      hosted[a * teams + b] = 2 + (a + 2 * b) % 5;  // 2 to 6 games at each park
      hosted[b * teams + a] = 2 + (3 * a + b) % 4;
    }
  }
  LeagueRounds league;
  std::string problem;
  ASSERT_TRUE(LeagueSeries(hosted, teams, SeriesLengths{}, 3, &league, &problem)) << problem;
  GiveRoom(SeriesLengths{}, LeagueDays(league) + 12, &league);
  std::vector<int64_t> distance;
  for (int a = 0; a < teams; ++a) {
    for (int b = 0; b < teams; ++b) distance.push_back(a == b ? 0 : (a * 5 + b * 3) % 7 + 1);
  }
  TravelState state = MakeTravelState(league.rounds, teams, 3, distance);
  KeepGames(league.rounds, league.days, 2, &state);
  for (size_t r = 0; r < league.rounds.size(); ++r) {
    EXPECT_EQ(league.rounds[r].size(), static_cast<size_t>(teams / 2));  // nobody waits
  }
  ASSERT_EQ(HostedGames(state), hosted);
  const std::vector<int> division_of(teams, 0);
  uint64_t random = 11;
  MoveScratch scratch;
  TravelMove move;
  int kept = 0;
  for (int step = 0; step < 20000; ++step) {
    if (!PickMove(state, division_of, MoveMix{2, 2, 1, 3, 2, 0, 2}, &random, &scratch, &move)) {
      continue;
    }
    ASSERT_NE(move.kind, MoveKind::kSwapTeams);
    ASSERT_NE(move.kind, MoveKind::kSwapTeamRounds);
    const TravelState before = state;
    MakeMove(&state, move, nullptr);
    if (NextRandom(&random) % 3 == 0) {
      MakeMove(&state, move, nullptr);
      ASSERT_EQ(state.games, before.games);
      ASSERT_EQ(state.days, before.days);
      continue;
    }
    ++kept;
    ASSERT_EQ(HostedGames(state), hosted) << "kind " << static_cast<int>(move.kind);
  }
  EXPECT_GT(kept, 2000);
  // The rounds the search hands back carry each series' games.
  int games = 0;
  for (const SeriesRound& round : RoundsOf(state)) {
    for (const Series& series : round) games += series.games;
  }
  int all = 0;
  for (int g : hosted) all += g;
  EXPECT_EQ(games, all);
}

// A cycle of a chain, cooled from its season, leaves the best it met: a
// season keeping every pair's series and parks, no worse than where it
// started, its figures those of the one count; two chains from one seed
// end alike.
TEST(TravelAnneal, ACycleLeavesTheBestSeasonItMetWithItsFiguresCountedAfresh) {
  std::vector<int> division_of;
  const TravelState start = LeagueState(8, 2, 2, 4, 3, &division_of);
  AnnealRules rules;
  rules.division_of = division_of;
  rules.travel_weight = 200;
  rules.cycle_steps = 20000;
  rules.mix.reverse_rounds = 2;
  AnnealChain chain = StartChain(rules, start, 7);
  AnnealChain twin = StartChain(rules, start, 7);
  for (int cycle = 0; cycle < 2; ++cycle) {
    AnnealCycle(rules, cycle, &chain);
    AnnealCycle(rules, cycle, &twin);
  }
  EXPECT_FALSE(BetterFigures(start.total, chain.state.total));
  EXPECT_LT(chain.state.total.travel, start.total.travel);
  ExpectSameFigures(chain.state.total, CountedAfresh(chain.state));
  EXPECT_EQ(HostedSeries(chain.state), start.hosted_games);
  EXPECT_EQ(chain.state.opponent, twin.state.opponent);
  EXPECT_EQ(chain.state.at_home, twin.state.at_home);
}

}  // namespace
}  // namespace tool
