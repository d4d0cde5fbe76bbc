#include "tool/season/park_distances.h"

#include <algorithm>

#include "tool/season/season_travel.h"
#include "tool/tool_input.h"

namespace tool {

bool ReadParkDistances(const std::string& distances_path, const std::vector<std::string>& names,
                       const TeamsFile& teams, const std::string& teams_path,
                       DistanceTable* table, std::string* placed_by,
                       std::vector<std::string>* failures) {
  placed_by->clear();
  if (!distances_path.empty()) {
    if (!ReadDistanceTableAt(kToolDistancesFile, distances_path, names, table, failures)) {
      return false;
    }
    *placed_by = distances_path;
    return true;
  }
  if (std::any_of(teams.teams.begin(), teams.teams.end(),
                  [](const TeamEntry& team) { return team.place; })) {
    *table = DistancesOfPlaces(teams);
    *placed_by = teams_path;
  }
  return true;
}

}  // namespace tool
