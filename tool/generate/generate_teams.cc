#include "tool/generate/generate_teams.h"

#include <map>

#include "tool/season/teams_file.h"

namespace tool {

bool ReadLeague(std::string_view text, const std::string& file_name, League* league,
                std::vector<std::string>* errors) {
  TeamsFile file;
  if (!ReadTeamsFile(text, file_name, &file, errors)) return false;
  std::map<std::string, int, std::less<>> division_number;
  for (const TeamEntry& entry : file.teams) {
    int division = 0;
    if (!entry.division.empty()) {
      division = division_number.emplace(entry.division, static_cast<int>(division_number.size()))
                     .first->second;
    }
    league->teams.push_back(LeagueTeam{entry.name, entry.division, entry.line, entry.place});
    league->division_of.push_back(division);
  }
  league->division_count = static_cast<int>(division_number.size());
  const int count = static_cast<int>(league->teams.size());
  if (count < kMinLeagueTeams || count > kMaxLeagueTeams) {
    errors->push_back(file_name + ": " + std::to_string(count) + (count == 1 ? " team" : " teams") +
                      "; a league holds 2 to " + std::to_string(kMaxLeagueTeams) +
                      " teams (a date holds " + std::to_string(schedule::kSlotsPerRecord) +
                      " games)");
    return false;
  }
  return true;
}

}  // namespace tool
