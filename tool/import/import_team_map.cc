#include "tool/import/import_team_map.h"

#include <map>

#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"

namespace tool {
namespace {

bool IsBlankText(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

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

}  // namespace

int ReadTeamMap(std::string_view map_text, const std::string& map_name,
                std::vector<MappedName>* teams, std::vector<std::string>* errors) {
  std::map<std::string, int, std::less<>> named_on;  // code -> its line
  int refused = 0;
  int number = 0;
  for (size_t at = 0; at < map_text.size();) {
    size_t end = map_text.find('\n', at);
    std::string_view line = map_text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? map_text.size() : end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (IsBlankText(line) || line.front() == '#') continue;

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
