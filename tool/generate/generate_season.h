// A balanced season for a league: the rounds of series, their home sides
// and games, laid on the calendar and written as schedule text.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_SEASON_H_
#define ZELTO_TOOL_GENERATE_GENERATE_SEASON_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tool/generate/generate_calendar.h"
#include "tool/generate/generate_plan.h"
#include "tool/generate/generate_summary.h"
#include "tool/generate/generate_teams.h"
#include "tool/season/distance_table.h"

namespace tool {

/// The most games one pair may be set to meet.
inline constexpr int kMaxMeetings = 200;

/// The most games of one series.
inline constexpr int kMostSeriesGames = 100;

/// How the season is to be made.
struct SeasonRules {
  int meetings = 2;            ///< games of two teams of different divisions (all pairs without)
  int division_meetings = -1;  ///< games of two teams of one division; -1: as `meetings`
  int series_length = 3;       ///< games of a full series
  int most_in_a_row = 3;       ///< series in a row at home or on the road, at most
  uint64_t seed = 1;           ///< picks another of the schedules that keep the rules
  int effort = 1;              ///< the travel search looks this many times as long
  DistanceTable distances;     ///< between the parks; no teams: not known
  CalendarRules calendar;
  /// teams x teams, [home * teams + visitor]: the games at home's park, as
  /// a matchups file gives them; empty: by the meetings.
  std::vector<int> hosted;
  /// Series of `series_least` to `series_most` games, the generator
  /// choosing (0: every full series of `series_length`).
  int series_least = 0, series_most = 0;
  /// The last day a game may be played; none: as soon as the season ends.
  std::optional<std::chrono::sys_days> end;
};

/// A season made.
struct GeneratedSeason {
  std::vector<SeriesRound> rounds;
  std::vector<std::chrono::sys_days> days;  ///< the game days, one a date
  std::string text;                         ///< the schedule text, CR LF
  SeasonSummary summary;
};

/// Makes the season of `league` by `rules`: its series in the order of least
/// travel when the distances are known, else of fewest breaks, in either
/// case with no repeaters where the league leaves another opponent to play
/// between. False, with the reason, when the rules cannot all be met.
bool GenerateSeason(const League& league, const SeasonRules& rules, GeneratedSeason* season,
                    std::string* problem);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_SEASON_H_
