#include "tool/generate/generate_summary.h"

#include <algorithm>

#include "schedule/messages.h"
#include "tool/generate/generate_calendar.h"
#include "tool/generate/generate_text.h"
#include "tool/generate/travel_count.h"
#include "tool/season/day_formats.h"
#include "tool/season/team_runs.h"

namespace tool {

using schedule::Counted;

namespace {

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

}  // namespace

SeasonSummary Summarize(const League& league, const std::vector<SeriesRound>& rounds,
                        const std::vector<std::chrono::sys_days>& days) {
  SeasonSummary summary;
  summary.teams = static_cast<int>(league.teams.size());
  summary.divisions = league.division_count;
  summary.per_team.resize(league.teams.size());
  std::vector<TeamRuns> runs(league.teams.size());  // a series a stay
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      if (summary.series_of_length.size() <= static_cast<size_t>(series.games)) {
        summary.series_of_length.resize(static_cast<size_t>(series.games) + 1, 0);
      }
      ++summary.series_of_length[series.games];
      summary.games += series.games;
      for (int team : {series.home, series.visitor}) {
        const bool at_home = team == series.home;
        TeamFigures& figures = summary.per_team[team];
        figures.games += series.games;
        (at_home ? figures.home : figures.away) += series.games;
        runs[team].Take(at_home, series.games, at_home ? series.visitor : series.home);
      }
    }
  }
  for (int team = 0; team < summary.teams; ++team) {
    const TeamRuns& team_runs = runs[team];
    TeamFigures& figures = summary.per_team[team];
    figures.breaks = static_cast<int>(team_runs.repeats());
    figures.home_stand_series = static_cast<int>(team_runs.home_stand().stays);
    figures.home_stand_games = static_cast<int>(team_runs.home_stand().games);
    figures.road_trip_series = static_cast<int>(team_runs.road_trip().stays);
    figures.road_trip_games = static_cast<int>(team_runs.road_trip().games);
  }
  for (int team = 0; team < summary.teams; ++team) {
    summary.per_team[team].repeaters = static_cast<int>(runs[team].repeaters());
    summary.repeaters += summary.per_team[team].repeaters;
  }
  summary.unavoidable_repeaters = UnavoidableRepeaters(rounds, summary.teams);
  const size_t dates = SeasonDays(rounds);
  summary.dates = static_cast<int>(dates);
  if (dates > 0) {
    summary.first_date = days.front();
    summary.last_date = days[dates - 1];
  }
  if (dates > 0) {
    // A team plays at most one game a date: its off days are the season's
    // days less its games.
    const int span = static_cast<int>((summary.last_date - summary.first_date).count()) + 1;
    for (TeamFigures& team : summary.per_team) team.off_days = span - team.games;
    summary.off_days = SpreadOf(summary.per_team, &TeamFigures::off_days);
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

void AddTravel(const std::vector<SeriesRound>& rounds, const DistanceTable& distances,
               SeasonSummary* summary) {
  const std::vector<int64_t> travel = TeamTravel(rounds, distances);
  summary->has_travel = true;
  summary->travel_unit = distances.unit;
  summary->travel = 0;
  for (size_t team = 0; team < travel.size(); ++team) {
    summary->per_team[team].travel = travel[team];
    summary->travel += travel[team];
  }
  auto [least, most] = std::minmax_element(travel.begin(), travel.end());
  summary->least_travel = *least;
  summary->most_travel = *most;
}

std::string SummaryText(const SeasonSummary& summary) {
  std::string text = std::to_string(summary.teams) + " teams";
  if (summary.divisions > 0) text += " in " + Counted(summary.divisions, "division", "divisions");
  text += ", " + SpreadText(summary.games_per_team) + " games a team, " +
          std::to_string(summary.games) + " games in all\n";
  text += "home games a team: " + SpreadText(summary.home) +
          "; away games a team: " + SpreadText(summary.away) + "\n";
  // The text keeps two digits of each year: the summary says the century,
  // which calendar and export otherwise take by their rule.
  const std::chrono::year_month_day first{summary.first_date};
  text += Counted(summary.dates, "date", "dates") + " from " + SlashDate(first) + " to " +
          SlashDate(std::chrono::year_month_day{summary.last_date}) + "; calendar and export read "
          "them with --year " + std::to_string(static_cast<int>(first.year())) + "\n";
  if (summary.window_days > 0) {
    text += "game days: " + std::to_string(summary.dates) + " of the window's " +
            std::to_string(summary.window_days) + "\n";
  }
  text += "off days (from the first date to the last, no game): " + SpreadText(summary.off_days) +
          " a team\n";
  std::string lengths;
  for (size_t games = 0; games < summary.series_of_length.size(); ++games) {
    const int count = summary.series_of_length[games];
    if (count == 0) continue;
    lengths += (lengths.empty() ? "" : ", ") + std::to_string(count) + " of " +
               Counted(static_cast<int>(games), "game", "games");
  }
  if (!lengths.empty()) text += "series: " + lengths + "\n";
  text += "breaks (two series in a row both at home or both away): " +
          SpreadText(summary.breaks) + " a team, " + std::to_string(summary.total_breaks) +
          " in all\n";
  text += "longest home stand: " + Counted(summary.home_stand_series, "series", "series") + ", " +
          Counted(summary.home_stand_games, "game", "games") + "; longest road trip: " +
          Counted(summary.road_trip_series, "series", "series") + ", " +
          Counted(summary.road_trip_games, "game", "games") + "\n";
  if (summary.repeaters > 0) {
    text += "repeaters (a team's two series in a row against one opponent): " +
            std::to_string(summary.repeaters) + " in all";
    if (summary.repeaters <= summary.unavoidable_repeaters) {
      text += ", which the league cannot avoid: it leaves no other opponent to play between";
    }
    text += "\n";
  }
  if (summary.has_travel) {
    const std::string least = std::to_string(summary.least_travel);
    const std::string most = std::to_string(summary.most_travel);
    const std::string unit = summary.travel_unit.empty() ? "" : " " + summary.travel_unit;
    text += "travel (from home, park to park, home again): " + std::to_string(summary.travel) +
            unit + " in all, " + (least == most ? least : least + " to " + most) + unit +
            " a team; longest road trip: " +
            Counted(summary.road_trip_series, "park", "parks") + "\n";
  }
  return text;
}

}  // namespace tool
