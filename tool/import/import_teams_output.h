// What --teams-output writes: the teams of the season imported as a CSV
// teams file, so that one file names each team's file name, public code and
// league and display name, and serves as the MAP and TEAMS of later imports
// and exports.
#ifndef ZELTO_TOOL_IMPORT_IMPORT_TEAMS_OUTPUT_H_
#define ZELTO_TOOL_IMPORT_IMPORT_TEAMS_OUTPUT_H_

#include <string>
#include <vector>

#include "tool/import/import_season.h"
#include "tool/import/import_team_map.h"

namespace tool {

/// The header line "name,code,league,display", then one row for each of
/// `teams`, in its order, each line ending CR LF, fields quoted where CSV
/// needs it. A team's display name is the one `displays` gives its code (a
/// CSV MAP's display column), else its city and nickname in the team list
/// ("Boston Braves"), else empty.
std::string ImportedTeamsCsv(const std::vector<ImportedTeam>& teams, const MapDisplays& displays);

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_IMPORT_TEAMS_OUTPUT_H_
