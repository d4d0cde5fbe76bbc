#include "tool/import/import_team_map.h"

#include <map>

#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "tool/csv_field.h"
#include "tool/file_lines.h"
#include "tool/season/team_codes.h"
#include "tool/season/teams_file.h"

namespace tool {
namespace {

// Why `code` cannot be a team code, or an empty string.
std::string CodeProblem(std::string_view code) {
  if (code.empty()) return "no team code before the comma";
  for (char c : code) {
    auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == 0x7F || c == '"') {
      return "team code " + schedule::Quoted(code) + " holds a blank, double quote or control byte";
    }
  }
  return "";
}

// True when the first line that is not blank or a comment is a CSV header
// naming a `code` and a `name` column, in any case: a CSV teams file.
bool IsTeamsCsv(std::string_view map_text) {
  std::string_view line;
  for (size_t at = 0; NextLine(map_text, &at, &line);) {
    if (Trimmed(line).empty() || line.front() == '#') continue;
    std::vector<std::string> fields;
    std::string problem;
    if (!SplitCsvRow(line, &fields, &problem)) return false;
    bool code = false, name = false;
    for (const std::string& field : fields) {
      const std::string word = ColumnName(field);
      code = code || word == "code";
      name = name || word == "name";
    }
    return code && name;
  }
  return false;
}

// A CSV teams file as a MAP: its teams that give a code.
int ReadTeamsCsvMap(std::string_view map_text, const std::string& map_name, std::vector<MappedName>* teams,
                    std::vector<std::string>* errors, MapDisplays* displays) {
  const size_t errors_before = errors->size();
  TeamsFile file;
  ReadTeamsFile(map_text, map_name, &file, errors);
  CheckTeamCodes(file, map_name, errors);
  if (errors->size() != errors_before) return static_cast<int>(errors->size() - errors_before);
  for (const TeamEntry& team : file.teams) {
    if (team.code.empty()) continue;
    teams->push_back(MappedName{team.code, team.name, team.line});
    if (displays != nullptr && !team.display.empty()) displays->emplace(team.code, team.display);
  }
  return 0;
}

}  // namespace

int ReadTeamMap(std::string_view map_text, const std::string& map_name, std::vector<MappedName>* teams,
                std::vector<std::string>* errors, MapDisplays* displays) {
  if (IsTeamsCsv(map_text)) return ReadTeamsCsvMap(map_text, map_name, teams, errors, displays);
  std::map<std::string, int, std::less<>> named_on;  // code -> its line
  int refused = 0;
  int number = 0;
  std::string_view line;
  for (size_t at = 0; NextLine(map_text, &at, &line);) {
    ++number;
    if (Trimmed(line).empty() || line.front() == '#') continue;

    std::string problem;
    size_t comma = line.find(',');
    std::string_view code = line.substr(0, comma);
    std::string_view name = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
    if (comma == std::string_view::npos) {
      problem = "a line is CODE,NAME; this one has no comma: " + schedule::Quoted(line);
    } else if (problem = CodeProblem(code); problem.empty()) {
      if (auto earlier = named_on.find(code); earlier != named_on.end()) {
        problem = "team code " + schedule::Quoted(code) + " was already named on line " + std::to_string(earlier->second);
      } else if (problem = schedule::TeamNameProblem(name); !problem.empty()) {
        problem = "team " + schedule::Quoted(code) + ": " + problem;
      }
    }
    if (!problem.empty()) {
      errors->push_back(map_name + ":" + std::to_string(number) + ": " + problem);
      ++refused;
      continue;
    }
    named_on.emplace(std::string(code), number);
    teams->push_back(MappedName{std::string(code), std::string(name), number});
  }
  return refused;
}

bool ParseLeagueList(std::string_view list, std::vector<std::string>* leagues, std::string* problem) {
  leagues->clear();
  for (size_t at = 0;;) {
    size_t comma = list.find(',', at);
    std::string_view code = list.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at);
    if (code.empty()) {
      *problem = "an empty league code in the league list " + schedule::Quoted(list);
      return false;
    }
    leagues->emplace_back(code);
    if (comma == std::string_view::npos) return true;
    at = comma + 1;
  }
}

}  // namespace tool
