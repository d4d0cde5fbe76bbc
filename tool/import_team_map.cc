#include "tool/import_team_map.h"

#include <map>

#include "schedule/schedule_record.h"
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

std::string TeamNameProblem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > static_cast<size_t>(schedule::kNameWidth)) {
    return "name " + schedule::Quoted(name) + " is " + std::to_string(name.size()) +
           " bytes long; a team name holds at most 8";
  }
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (c == ' ' || c == ',' || c == '"' || byte < 0x20 || byte == 0x7F) {
      std::string what = c == ' ' ? "a blank" : c == ',' ? "a comma" : c == '"' ? "a double quote"
                         : c == '\t' ? "a TAB" : "a control byte";
      return "name " + schedule::Quoted(name) + " holds " + what + ", which a game line cannot carry";
    }
  }
  if (name.front() == '[') return "name " + schedule::Quoted(name) + " starts with \"[\": its game line would read as a date line";
  return "";
}

int ReadTeamMap(std::string_view map_text, const std::string& map_name, std::vector<TeamName>* teams,
                std::vector<std::string>* errors) {
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
      } else if (problem = TeamNameProblem(name); !problem.empty()) {
        problem = "team " + schedule::Quoted(code) + ": " + problem;
      }
    }
    if (!problem.empty()) {
      errors->push_back(map_name + ":" + std::to_string(number) + ": " + problem);
      ++refused;
      continue;
    }
    named_on.emplace(std::string(code), number);
    teams->push_back(TeamName{std::string(code), std::string(name), number});
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
