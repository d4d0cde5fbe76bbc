#include "tool/generate/generate_teams.h"

#include <map>

#include "schedule/shown_text.h"
#include "tool/season/teams_file.h"

namespace tool {

bool LeagueOf(const TeamsFile& file, const std::string& file_name, League* league,
              std::vector<std::string>* errors) {
  const size_t errors_before = errors->size();
  std::map<std::string, int, std::less<>> division_number;
  const TeamEntry* first_placed = nullptr;
  for (const TeamEntry& entry : file.teams) {
    if (entry.place && first_placed == nullptr) first_placed = &entry;
  }
  for (const TeamEntry& entry : file.teams) {
    // A league's travel is counted for every team or none.
    if (first_placed != nullptr && !entry.place) {
      errors->push_back(file_name + ":" + std::to_string(entry.line) + ": team " +
                        schedule::Quoted(entry.name) +
                        " has no latitude and longitude, but the team on line " +
                        std::to_string(first_placed->line) + " has: give every team its place or none");
    }
    int division = 0;
    if (!entry.division.empty()) {
      division = division_number.emplace(entry.division, static_cast<int>(division_number.size()))
                     .first->second;
    }
    league->teams.push_back(LeagueTeam{entry.name, entry.division, entry.line, entry.place});
    league->division_of.push_back(division);
  }
  league->division_count = static_cast<int>(division_number.size());
  league->placed = first_placed != nullptr;
  const int count = static_cast<int>(league->teams.size());
  if (errors->size() == errors_before && (count < kMinLeagueTeams || count > kMaxLeagueTeams)) {
    errors->push_back(file_name + ": " + std::to_string(count) + (count == 1 ? " team" : " teams") +
                      "; a league holds 2 to " + std::to_string(kMaxLeagueTeams) +
                      " teams (a date holds " + std::to_string(schedule::kSlotsPerRecord) +
                      " games)");
  }
  return errors->size() == errors_before;
}

bool ReadLeague(std::string_view text, const std::string& file_name, League* league,
                std::vector<std::string>* errors) {
  TeamsFile file;
  return ReadTeamsFile(text, file_name, &file, errors) && LeagueOf(file, file_name, league, errors);
}

}  // namespace tool
