#include "tool/generate/generate_summary.h"

#include <algorithm>

#include "tool/generate/generate_calendar.h"
#include "tool/generate/generate_text.h"

namespace tool {
namespace {

// Follows one team's runs at one park, in series and in games.
struct Run {
  int series = 0;
  int games = 0;
};

Spread SpreadOf(const std::vector<TeamFigures>& teams, int TeamFigures::*figure) {
  Spread spread{teams.front().*figure, teams.front().*figure};
  for (const TeamFigures& team : teams) {
    spread.least = std::min(spread.least, team.*figure);
    spread.most = std::max(spread.most, team.*figure);
  }
  return spread;
}

std::string SpreadText(const Spread& spread) {
  if (spread.least == spread.most) return std::to_string(spread.least);
  return std::to_string(spread.least) + " to " + std::to_string(spread.most);
}

std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

SeasonSummary Summarize(const League& league, const std::vector<SeriesRound>& rounds,
                        const std::vector<std::chrono::sys_days>& days) {
  SeasonSummary summary;
  summary.teams = static_cast<int>(league.teams.size());
  summary.divisions = league.division_count;
  summary.per_team.resize(league.teams.size());
  std::vector<int> last_park(league.teams.size(), -1);  // 1 home, 0 away, -1 no series yet
  std::vector<Run> run(league.teams.size());
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      summary.games += series.games;
      for (int team : {series.home, series.visitor}) {
        const int park = team == series.home ? 1 : 0;
        TeamFigures& figures = summary.per_team[team];
        figures.games += series.games;
        (park == 1 ? figures.home : figures.away) += series.games;
        Run& current = run[team];
        if (last_park[team] == park) {
          ++figures.breaks;
          current.series += 1;
          current.games += series.games;
        } else {
          current = Run{1, series.games};
        }
        last_park[team] = park;
        int& series_record = park == 1 ? figures.home_stand_series : figures.road_trip_series;
        int& games_record = park == 1 ? figures.home_stand_games : figures.road_trip_games;
        series_record = std::max(series_record, current.series);
        games_record = std::max(games_record, current.games);
      }
    }
  }
  const size_t dates = SeasonDays(rounds);
  summary.dates = static_cast<int>(dates);
  if (dates > 0) {
    summary.first_date = days.front();
    summary.last_date = days[dates - 1];
  }
  summary.games_per_team = SpreadOf(summary.per_team, &TeamFigures::games);
  summary.home = SpreadOf(summary.per_team, &TeamFigures::home);
  summary.away = SpreadOf(summary.per_team, &TeamFigures::away);
  summary.breaks = SpreadOf(summary.per_team, &TeamFigures::breaks);
  for (const TeamFigures& team : summary.per_team) {
    summary.total_breaks += team.breaks;
    summary.home_stand_series = std::max(summary.home_stand_series, team.home_stand_series);
    summary.home_stand_games = std::max(summary.home_stand_games, team.home_stand_games);
    summary.road_trip_series = std::max(summary.road_trip_series, team.road_trip_series);
    summary.road_trip_games = std::max(summary.road_trip_games, team.road_trip_games);
  }
  return summary;
}

std::string SummaryText(const SeasonSummary& summary) {
  std::string text = std::to_string(summary.teams) + " teams";
  if (summary.divisions > 0) text += " in " + Counted(summary.divisions, "division", "divisions");
  text += ", " + SpreadText(summary.games_per_team) + " games a team, " +
          std::to_string(summary.games) + " games in all\n";
  text += "home games a team: " + SpreadText(summary.home) +
          "; away games a team: " + SpreadText(summary.away) + "\n";
  text += Counted(summary.dates, "date", "dates") + " from " + DateText(summary.first_date) +
          " to " + DateText(summary.last_date) + "\n";
  text += "breaks (two series in a row both at home or both away): " +
          SpreadText(summary.breaks) + " a team, " + std::to_string(summary.total_breaks) +
          " in all\n";
  text += "longest home stand: " + Counted(summary.home_stand_series, "series", "series") + ", " +
          Counted(summary.home_stand_games, "game", "games") + "; longest road trip: " +
          Counted(summary.road_trip_series, "series", "series") + ", " +
          Counted(summary.road_trip_games, "game", "games") + "\n";
  return text;
}

}  // namespace tool
