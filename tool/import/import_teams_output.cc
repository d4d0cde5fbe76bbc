#include "tool/import/import_teams_output.h"

#include "tool/csv_field.h"
#include "tool/import/team_list.h"

namespace tool {
namespace {

// The name people read: the MAP's, else the team list's city and nickname.
std::string DisplayName(const ImportedTeam& team, const MapDisplays& displays) {
  if (auto given = displays.find(team.code); given != displays.end()) return given->second;
  const TeamListEntry* listed = FindTeam(team.code);
  if (listed == nullptr) return "";
  std::string display(listed->city);
  if (!display.empty() && !listed->nickname.empty()) display += ' ';
  return display.append(listed->nickname);
}

}  // namespace

std::string ImportedTeamsCsv(const std::vector<ImportedTeam>& teams, const MapDisplays& displays) {
  std::string csv = "name,code,league,display\r\n";
  for (const ImportedTeam& team : teams) {
    csv.append(CsvField(team.name)).append(",").append(CsvField(team.code)).append(",");
    csv.append(CsvField(team.league)).append(",").append(CsvField(DisplayName(team, displays))).append("\r\n");
  }
  return csv;
}

}  // namespace tool
