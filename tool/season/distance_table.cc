#include "tool/season/distance_table.h"

#include <map>

#include "schedule/shown_text.h"
#include "schedule/whole_number.h"
#include "tool/file_lines.h"
#include "tool/tool_input.h"

namespace tool {
namespace {

// Why `word` is no distance, or an empty string with `*value` set.
std::string DistanceProblem(std::string_view word, int64_t* value) {
  // A minus sign is read only to say what is wrong: "-0" is 0.
  const bool negative = !word.empty() && word.front() == '-';
  uint64_t number = 0;
  const schedule::NumberRead read =
      schedule::ReadWholeNumber(negative ? word.substr(1) : word, kMaxDistance, &number);
  if (read == schedule::NumberRead::kNotDigits) {
    return "the distance " + schedule::Quoted(word) + " is no whole number";
  }
  if (negative && (read == schedule::NumberRead::kTooLarge || number > 0)) {
    return "the distance " + schedule::Quoted(word) + " is less than 0";
  }
  if (read == schedule::NumberRead::kTooLarge) {
    return "the distance " + schedule::Quoted(word) + " is more than " +
           std::to_string(kMaxDistance);
  }
  *value = static_cast<int64_t>(number);
  return "";
}

}  // namespace

bool ReadDistanceTable(std::string_view text, const std::string& file_name,
                       const std::vector<std::string>& team_names, DistanceTable* table,
                       std::vector<std::string>* errors) {
  const size_t errors_before = errors->size();
  const int teams = static_cast<int>(team_names.size());
  std::map<std::string, int, std::less<>> number_of;
  for (int t = 0; t < teams; ++t) number_of.emplace(team_names[t], t);
  table->teams = teams;
  table->names = team_names;
  table->distance.assign(static_cast<size_t>(teams) * static_cast<size_t>(teams), 0);

  std::vector<int> column_team;           // per header word, its team (-1: refused)
  int header_line = 0;
  std::vector<int> row_line(static_cast<size_t>(teams), 0);  // per team, the line of its row
  int number = 0;
  auto refuse = [&](int line, const std::string& problem) {
    errors->push_back(file_name + ":" + std::to_string(line) + ": " + problem);
  };
  std::string_view line;
  for (size_t at = 0; NextLine(text, &at, &line);) {
    ++number;
    std::vector<std::string_view> words = LineWords(line);
    if (words.empty() || line.front() == '#') continue;

    if (header_line == 0) {
      // The header: the teams of the columns, each once.
      header_line = number;
      std::map<std::string_view, int> column_of;
      for (std::string_view word : words) {
        auto team = number_of.find(word);
        int index = team == number_of.end() ? -1 : team->second;
        if (index < 0) {
          refuse(number, "the header names " + schedule::Quoted(word) +
                             ", no team of the league");
        } else if (!column_of.emplace(word, static_cast<int>(column_team.size())).second) {
          refuse(number, "the header names " + schedule::Quoted(word) + " twice");
          index = -1;
        }
        column_team.push_back(index);
      }
      for (int t = 0; t < teams; ++t) {
        if (column_of.count(team_names[t]) == 0) {
          refuse(number, "the header names no column for team " + schedule::Quoted(team_names[t]));
        }
      }
      continue;
    }

    // A row: the team it leaves from, then a distance for each column.
    auto team = number_of.find(words[0]);
    if (team == number_of.end()) {
      refuse(number, "the row of " + schedule::Quoted(words[0]) + ", no team of the league");
      continue;
    }
    const int from = team->second;
    if (row_line[from] != 0) {
      refuse(number, "team " + schedule::Quoted(words[0]) + " has a row already, on line " +
                         std::to_string(row_line[from]));
      continue;
    }
    row_line[from] = number;
    if (words.size() - 1 != column_team.size()) {
      refuse(number, "the row of " + schedule::Quoted(words[0]) + " has " +
                         std::to_string(words.size() - 1) + " distances; the header names " +
                         std::to_string(column_team.size()) + " teams");
      continue;
    }
    for (size_t column = 0; column < column_team.size(); ++column) {
      int64_t value = 0;
      std::string problem = DistanceProblem(words[column + 1], &value);
      const int to = column_team[column];
      if (problem.empty() && to == from && value != 0) {
        problem = "the distance from " + schedule::Quoted(words[0]) + " to itself is " +
                  std::to_string(value) + ", not 0";
      }
      if (!problem.empty()) {
        refuse(number, problem);
        break;
      }
      if (to >= 0) table->distance[static_cast<size_t>(from * teams + to)] = value;
    }
  }
  // What is missing is told at the last line, where the rows end.
  const int last_line = number > 0 ? number : 1;
  if (header_line == 0) {
    refuse(last_line, "no header line of team names, and no rows");
  } else {
    for (int t = 0; t < teams; ++t) {
      if (row_line[t] == 0) {
        refuse(last_line, "the rows end without one for team " + schedule::Quoted(team_names[t]));
      }
    }
  }
  return errors->size() == errors_before;
}

std::vector<std::string> DistanceTableTeams(std::string_view text) {
  std::string_view line;
  for (size_t at = 0; NextLine(text, &at, &line);) {
    std::vector<std::string_view> words = LineWords(line);
    if (words.empty() || line.front() == '#') continue;
    return std::vector<std::string>(words.begin(), words.end());
  }
  return {};
}

bool ReadDistanceTableAt(int16_t number, const std::string& path,
                         const std::vector<std::string>& team_names, DistanceTable* table,
                         std::vector<std::string>* failures) {
  std::string text;
  std::string failure = ReadWholeInput(number, path, "distances file", kMaxDistancesFileBytes,
                                       [&text](std::string_view piece) { text.append(piece); });
  if (!failure.empty()) {
    failures->push_back(failure);
    return false;
  }
  return ReadDistanceTable(text, path, team_names.empty() ? DistanceTableTeams(text) : team_names,
                           table, failures);
}

}  // namespace tool
