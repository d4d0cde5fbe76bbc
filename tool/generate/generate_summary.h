// What a generated season holds, in the figures its summary shows: games,
// home and away per team, dates, breaks and the longest stands.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_SUMMARY_H_
#define ZELTO_TOOL_GENERATE_GENERATE_SUMMARY_H_

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tool/generate/generate_plan.h"
#include "tool/generate/generate_teams.h"
#include "tool/season/distance_table.h"

namespace tool {

/// The least and the most of one figure over the teams.
struct Spread {
  int least = 0;
  int most = 0;
};

/// The figures of one team.
struct TeamFigures {
  int games = 0;
  int home = 0;
  int away = 0;
  int breaks = 0;               ///< two series in a row both at home or both away
  int home_stand_series = 0;    ///< the longest run of series at home
  int home_stand_games = 0;     ///< the longest run of games at home
  int road_trip_series = 0;
  int road_trip_games = 0;
  int repeaters = 0;            ///< two series in a row against one opponent
  int64_t travel = 0;           ///< from home, park to park, and home again
  int off_days = 0;             ///< days from the season's first date to its last without a game
};

/// The season's figures.
struct SeasonSummary {
  int teams = 0;
  int divisions = 0;
  int games = 0;                ///< in all
  std::vector<TeamFigures> per_team;
  Spread games_per_team, home, away, breaks;
  int total_breaks = 0;
  int dates = 0;
  std::chrono::sys_days first_date, last_date;
  int home_stand_series = 0, home_stand_games = 0;
  int road_trip_series = 0, road_trip_games = 0;
  int repeaters = 0;              ///< in all
  int unavoidable_repeaters = 0;  ///< those no order of the series avoids
  bool has_travel = false;        ///< the distances between the parks are known
  int64_t travel = 0;             ///< in all
  int64_t least_travel = 0, most_travel = 0;  ///< of a team
  std::string travel_unit;        ///< "km" for great-circle distances, else empty
  Spread off_days;                ///< of a team, from the season's first date to its last
  std::vector<int> series_of_length;  ///< [games]: the series of that many games
  int window_days = 0;            ///< the game days from --start to --end; 0: no --end
};

/// The figures of `rounds` laid on `days` (a team's series in order, rests
/// skipped).
SeasonSummary Summarize(const League& league, const std::vector<SeriesRound>& rounds,
                        const std::vector<std::chrono::sys_days>& days);

/// Adds each team's travel over `rounds` by the distances given (the
/// league's teams, in its order) to `summary`.
void AddTravel(const std::vector<SeriesRound>& rounds, const DistanceTable& distances,
               SeasonSummary* summary);

/// The summary as lines a person reads, each ending in a line feed.
std::string SummaryText(const SeasonSummary& summary);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_SUMMARY_H_
