#include "tool/season/display_names.h"

namespace tool {

bool ReadDisplayNames(int16_t number, const std::string& path, DisplayNames* names,
                      std::vector<std::string>* failures) {
  TeamsFile teams;
  if (!ReadTeamsFileAt(number, path, &teams, failures)) return false;
  *names = DisplayNamesOf(teams);
  return true;
}

DisplayNames DisplayNamesOf(const TeamsFile& teams) {
  DisplayNames names;
  for (const TeamEntry& team : teams.teams) {
    if (!team.display.empty()) names.by_name.emplace(team.name, team.display);
  }
  return names;
}

std::string_view DisplayNameOf(const DisplayNames& names, std::string_view name) {
  auto found = names.by_name.find(name);
  return found == names.by_name.end() ? std::string_view() : std::string_view(found->second);
}

}  // namespace tool
