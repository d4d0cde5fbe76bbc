#include "tool/season/team_codes.h"

#include <map>

#include "schedule/shown_text.h"

namespace tool {

bool CheckTeamCodes(const TeamsFile& teams, const std::string& file_name,
                    std::vector<std::string>* errors) {
  const size_t errors_before = errors->size();
  std::map<std::string, const TeamEntry*, std::less<>> owner;  // code -> the first team with it
  for (const TeamEntry& team : teams.teams) {
    if (team.code.empty()) continue;
    const std::string where = file_name + ":" + std::to_string(team.line) + ": team " +
                              schedule::Quoted(team.name) + ": ";
    if (team.code.find_first_of(" \t") != std::string::npos) {
      errors->push_back(where + "code " + schedule::Quoted(team.code) +
                        " holds a blank, which a team code cannot hold");
      continue;
    }
    auto [first, added] = owner.emplace(team.code, &team);
    if (!added) {
      errors->push_back(where + "code " + schedule::Quoted(team.code) + " is team " +
                        schedule::Quoted(first->second->name) + "'s already (line " +
                        std::to_string(first->second->line) + "): a code names one team");
    }
  }
  return errors->size() == errors_before;
}

bool GivesCodes(const TeamsFile& teams) {
  for (const TeamEntry& team : teams.teams) {
    if (!team.code.empty()) return true;
  }
  return false;
}

}  // namespace tool
