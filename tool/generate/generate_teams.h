// The league a season is generated for: its teams file (lines "NAME" or
// "NAME DIVISION", or CSV with a header naming its columns), with the
// division of each team and, where the file gives them, the places where
// they play.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_TEAMS_H_
#define ZELTO_TOOL_GENERATE_GENERATE_TEAMS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/schedule_record.h"
#include "tool/season/teams_file.h"

namespace tool {

/// The most teams a league holds: every team plays on a date, and a date
/// holds 15 games.
inline constexpr int kMaxLeagueTeams = 2 * schedule::kSlotsPerRecord;
inline constexpr int kMinLeagueTeams = 2;

/// One team of the league.
struct LeagueTeam {
  std::string name;      ///< its team file name, as game lines carry it
  std::string division;  ///< empty when the league has no divisions
  int line = 0;          ///< its line in the TEAMS file
  std::optional<Place> place = std::nullopt;  ///< where it plays, when TEAMS says
};

/// The teams of a league and the division of each, as numbers.
struct League {
  std::vector<LeagueTeam> teams;
  std::vector<int> division_of;  ///< per team; all 0 when there are no divisions
  int division_count = 0;        ///< 0 when the league has no divisions
  bool placed = false;           ///< every team has its place (TEAMS gives them)
};

/// The league of a teams file read whole (TEAMS being `file_name`): either
/// every team names a division or none does (the file's own rule), and
/// either every team has a place or none does: a team without one when
/// another has is "TEAMS:LINE: message" in `errors`, a count of teams
/// outside 2 to 30 "TEAMS: message". True when there were none.
bool LeagueOf(const TeamsFile& file, const std::string& file_name, League* league,
              std::vector<std::string>* errors);

/// Reads a TEAMS file's text as a teams file (ReadTeamsFile) and makes its
/// league (LeagueOf).
bool ReadLeague(std::string_view text, const std::string& file_name, League* league,
                std::vector<std::string>* errors);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_TEAMS_H_
