// The public codes of a teams file (its `code` column): the names the
// season files give its teams. import takes them as its MAP and export
// writes them into rows, so both hold them to what a season file and a MAP
// can carry.
#ifndef ZELTO_TOOL_SEASON_TEAM_CODES_H_
#define ZELTO_TOOL_SEASON_TEAM_CODES_H_

#include <string>
#include <vector>

#include "tool/season/teams_file.h"

namespace tool {

/// Checks every code `teams` gives: none holds a blank, and no two teams
/// share one (a code names one team, or a MAP could not tell them apart).
/// Each refusal is one "FILE:LINE: message" in `errors`, FILE being
/// `file_name`. True when there were none.
bool CheckTeamCodes(const TeamsFile& teams, const std::string& file_name,
                    std::vector<std::string>* errors);

/// True when some team of `teams` gives a code.
bool GivesCodes(const TeamsFile& teams);

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_TEAM_CODES_H_
