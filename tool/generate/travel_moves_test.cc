// The travel search's changes on seasons of every shape: each keeps the
// rounds a season (one series a team a round, each pair's series and parks
// as many as before), undoes itself when made again, and the figures kept
// up a few series at a time are those counted afresh.
#include "tool/generate/travel_moves.h"

#include <gtest/gtest.h>

#include "tool/generate/generate_rounds.h"

namespace tool {
namespace {

// Series of `state` per (home, visitor): what every change must keep, up to
// two teams of one kind trading places.
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

void ExpectSameTally(const TravelTally& a, const TravelTally& b) {
  EXPECT_EQ(a.travel, b.travel);
  EXPECT_EQ(a.breaks, b.breaks);
  EXPECT_EQ(a.repeaters, b.repeaters);
  EXPECT_EQ(a.over, b.over);
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
    RoundsRequest request;
    for (int t = 0; t < c.teams; ++t) request.division_of.push_back(c.divisions ? t % c.divisions : 0);
    request.division_count = c.divisions;
    request.series_between_divisions = c.series_between;
    request.series_within_division = c.series_within;
    std::vector<SeriesRound> rounds = PairRounds(request);
    for (SeriesRound& round : rounds) {
      for (Series& series : round) series.games = 1;
    }
    std::vector<int64_t> distance;
    for (int a = 0; a < c.teams; ++a) {
      for (int b = 0; b < c.teams; ++b) distance.push_back(a == b ? 0 : (a * 7 + b * 3) % 11 + 1);
    }
    TravelState state = MakeTravelState(rounds, c.teams, c.limit, distance);
    uint64_t random = 5;
    MoveScratch scratch;
    TravelMove move;
    TouchedRounds touched;
    int kept = 0;
    for (int step = 0; step < 20000; ++step) {
      if (!PickMove(state, request.division_of, MoveMix{2, 2, 1, 3, 2, 20, 2}, &random, &scratch,
                    &move)) {
        continue;
      }
      const TravelState before = state;
      MakeMove(&state, move, &touched);
      std::vector<PendingPart> pending;
      TravelTally change;
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
      ExpectSameTally(state.total, afresh.total);
      ASSERT_EQ(state.part.size(), afresh.part.size());
      ASSERT_EQ(state.broken.size(), afresh.broken.size());
      ASSERT_EQ(HostedSeries(state), state.hosted_games) << "kind " << static_cast<int>(move.kind);
    }
    EXPECT_GT(kept, 5000);
  }
}

}  // namespace
}  // namespace tool
