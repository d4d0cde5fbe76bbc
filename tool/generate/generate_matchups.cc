#include "tool/generate/generate_matchups.h"

#include <array>

#include "schedule/shown_text.h"
#include "schedule/whole_number.h"
#include "tool/csv_field.h"
#include "tool/file_lines.h"
#include "tool/season/teams_file.h"

namespace tool {
namespace {

// The columns a matchups file needs, in the order they are kept.
constexpr std::array<const char*, 5> kColumns = {"team", "opponent", "games", "home", "away"};
enum Column { kTeam, kOpponent, kGames, kHome, kAway };

// The most games a pair plays at one park: far past any season, and well
// inside an int however many pairs add up.
constexpr uint64_t kMostGames = 10'000;

bool Skipped(std::string_view line) {
  const std::string_view words = Trimmed(line);
  return words.empty() || words.front() == '#';
}

}  // namespace

bool ReadMatchups(std::string_view text, const std::string& file_name,
                  const std::vector<std::string>& names, Matchups* matchups,
                  std::vector<std::string>* errors) {
  const int n = static_cast<int>(names.size());
  matchups->teams = n;
  matchups->hosted.assign(static_cast<size_t>(n * n), 0);
  // Per ordered pair, the line that set its games (0: none yet).
  std::vector<int> set_at(static_cast<size_t>(n * n), 0);
  std::array<int, kColumns.size()> at{};
  at.fill(-1);
  bool header = false;
  size_t next = 0;
  std::string_view line;
  std::vector<std::string> fields;
  std::string problem;
  const size_t errors_before = errors->size();
  for (int number = 1; NextLine(text, &next, &line); ++number) {
    if (Skipped(line)) continue;
    const std::string where = file_name + ":" + std::to_string(number) + ": ";
    if (!SplitCsvRow(line, &fields, &problem)) {
      errors->push_back(where + problem);
      continue;
    }
    if (!header) {
      header = true;
      for (size_t f = 0; f < fields.size(); ++f) {
        const std::string name = ColumnName(fields[f]);
        for (size_t c = 0; c < kColumns.size(); ++c) {
          if (name == kColumns[c] && at[c] < 0) at[c] = static_cast<int>(f);
        }
      }
      for (size_t c = 0; c < kColumns.size(); ++c) {
        if (at[c] < 0) {
          errors->push_back(where + "the header names no column " + kColumns[c] +
                            " (team,opponent,games,home,away)");
          return false;
        }
      }
      continue;
    }
    auto field = [&](int column) -> std::string {
      const size_t f = static_cast<size_t>(at[column]);
      if (f >= fields.size()) return "";
      return std::string(Trimmed(fields[f]));
    };
    int side[2] = {-1, -1};
    bool good = true;
    for (int s = 0; s < 2 && good; ++s) {
      const std::string name = field(s == 0 ? kTeam : kOpponent);
      for (int t = 0; t < n; ++t) {
        if (names[t] == name) side[s] = t;
      }
      if (side[s] < 0) {
        errors->push_back(where + schedule::Quoted(name) + " is no team of the league");
        good = false;
      }
    }
    if (!good) continue;
    if (side[0] == side[1]) {
      errors->push_back(where + schedule::Quoted(names[side[0]]) + " against itself");
      continue;
    }
    uint64_t count[3] = {0, 0, 0};
    const Column counted[3] = {kGames, kHome, kAway};
    for (int c = 0; c < 3 && good; ++c) {
      const std::string value = field(counted[c]);
      if (!schedule::IsWholeNumber(value, kMostGames, &count[c])) {
        errors->push_back(where + kColumns[counted[c]] + " " + schedule::Quoted(value) +
                          " is no whole number of games (0 to " + std::to_string(kMostGames) +
                          ")");
        good = false;
      }
    }
    if (!good) continue;
    if (count[0] != count[1] + count[2]) {
      errors->push_back(where + "games " + std::to_string(count[0]) + " is not home " +
                        std::to_string(count[1]) + " + away " + std::to_string(count[2]));
      continue;
    }
    const int team = side[0], opponent = side[1];
    const size_t at_team = static_cast<size_t>(team * n + opponent);
    const size_t at_opponent = static_cast<size_t>(opponent * n + team);
    const int home = static_cast<int>(count[1]), away = static_cast<int>(count[2]);
    if (set_at[at_team] != 0 &&
        (matchups->hosted[at_team] != home || matchups->hosted[at_opponent] != away)) {
      errors->push_back(where + names[team] + " and " + names[opponent] + " disagree with line " +
                        std::to_string(set_at[at_team]) + ": " +
                        std::to_string(matchups->hosted[at_team]) + " at " + names[team] + ", " +
                        std::to_string(matchups->hosted[at_opponent]) + " at " + names[opponent]);
      continue;
    }
    matchups->hosted[at_team] = home;
    matchups->hosted[at_opponent] = away;
    set_at[at_team] = set_at[at_opponent] = number;
  }
  if (!header) {
    errors->push_back(file_name + ": no header line (team,opponent,games,home,away)");
  }
  return errors->size() == errors_before;
}

}  // namespace tool
