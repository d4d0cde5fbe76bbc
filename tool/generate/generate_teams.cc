#include "tool/generate/generate_teams.h"

#include <map>

#include "schedule/shown_text.h"
#include "schedule/schedule_text.h"

namespace tool {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

// The words of a line, split at blanks and TABs.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsSeparator(line[at])) ++at;
    size_t end = at;
    while (end < line.size() && !IsSeparator(line[end])) ++end;
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

}  // namespace

bool ReadLeague(std::string_view text, const std::string& file_name, League* league,
                std::vector<std::string>* errors) {
  const size_t errors_before = errors->size();
  std::map<std::string, int, std::less<>> named_on;  // name -> its line
  std::map<std::string, int, std::less<>> division_number;
  int first_with_division = 0, first_without_division = 0;
  int number = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    std::string_view line =
        text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? text.size() : end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> words = Words(line);
    if (words.empty() || line.front() == '#') continue;

    std::string problem;
    if (words.size() > 2) {
      problem = "a line is NAME or NAME DIVISION; this one has " + std::to_string(words.size()) +
                " words: " + schedule::Quoted(line);
    } else if (problem = schedule::TeamNameProblem(words[0]); !problem.empty()) {
      // the name's own rule says why
    } else if (auto earlier = named_on.find(words[0]); earlier != named_on.end()) {
      problem = "team " + schedule::Quoted(words[0]) + " was already named on line " +
                std::to_string(earlier->second);
    } else if (words.size() == 2 && first_without_division != 0) {
      problem = "team " + schedule::Quoted(words[0]) + " names a division, but the team on line " +
                std::to_string(first_without_division) + " names none: give every team one or none";
    } else if (words.size() == 1 && first_with_division != 0) {
      problem = "team " + schedule::Quoted(words[0]) + " names no division, but the team on line " +
                std::to_string(first_with_division) + " does: give every team one or none";
    }
    if (!problem.empty()) {
      errors->push_back(file_name + ":" + std::to_string(number) + ": " + problem);
      continue;
    }
    named_on.emplace(std::string(words[0]), number);
    LeagueTeam team{std::string(words[0]), "", number};
    int division = 0;
    if (words.size() == 2) {
      if (first_with_division == 0) first_with_division = number;
      team.division = std::string(words[1]);
      auto [it, added] = division_number.emplace(team.division,
                                                 static_cast<int>(division_number.size()));
      division = it->second;
    } else if (first_without_division == 0) {
      first_without_division = number;
    }
    league->teams.push_back(std::move(team));
    league->division_of.push_back(division);
  }
  league->division_count = static_cast<int>(division_number.size());
  const int count = static_cast<int>(league->teams.size());
  if (errors->size() == errors_before && (count < kMinLeagueTeams || count > kMaxLeagueTeams)) {
    errors->push_back(file_name + ": " + std::to_string(count) + (count == 1 ? " team" : " teams") +
                      "; a league holds 2 to " + std::to_string(kMaxLeagueTeams) +
                      " teams (a date holds " + std::to_string(schedule::kSlotsPerRecord) +
                      " games)");
  }
  return errors->size() == errors_before;
}

}  // namespace tool
