// Generation speed: a season of 30 teams (every pair meeting 6 times in
// series of 3, 174 games a team; and twice, one-game series), and one of
// 12 teams in two divisions (18 meetings within a division, 12 between,
// 162 games a team), each from the league to the schedule text and its
// summary. The goal for the 30-team season is under 100 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "tool/generate/generate_season.h"

namespace {

tool::League MakeLeague(int teams, int divisions) {
  tool::League league;
  for (int t = 0; t < teams; ++t) {
    int division = divisions > 0 ? t % divisions : 0;
    std::string name = "team", division_name;
    name += std::to_string(t + 1);
    if (divisions > 0) division_name = std::to_string(division);
    league.teams.push_back(tool::LeagueTeam{name, division_name, t + 1});
    league.division_of.push_back(division);
  }
  league.division_count = divisions;
  return league;
}

void Generate(benchmark::State& state, int teams, int divisions, int meetings,
              int division_meetings, int series_length) {
  tool::League league = MakeLeague(teams, divisions);
  tool::SeasonRules rules;
  rules.meetings = meetings;
  rules.division_meetings = division_meetings;
  rules.series_length = series_length;
  std::string problem;
  tool::ParseDay("2027-04-01", &rules.calendar.start, &problem);
  rules.calendar.weekday_off[std::chrono::Monday.c_encoding()] = true;
  size_t bytes = 0;
  int games = 0;
  for (auto _ : state) {
    tool::GeneratedSeason season;
    if (!tool::GenerateSeason(league, rules, &season, &problem)) {
      state.SkipWithError(problem.c_str());
      return;
    }
    bytes = season.text.size();
    games = season.summary.games;
    benchmark::DoNotOptimize(season.text.data());
  }
  state.counters["text_bytes"] = static_cast<double>(bytes);
  state.counters["games"] = games;
}

void BM_Generate30Teams174Games(benchmark::State& state) { Generate(state, 30, 0, 6, -1, 3); }
void BM_Generate30TeamsTwice(benchmark::State& state) { Generate(state, 30, 0, 2, -1, 1); }
void BM_Generate12TeamsTwoDivisions(benchmark::State& state) { Generate(state, 12, 2, 12, 18, 3); }

BENCHMARK(BM_Generate30Teams174Games)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate30TeamsTwice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate12TeamsTwoDivisions)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
