// schedule-tool generate: reads the league, makes the season, and writes its
// text to standard output or, all or nothing, to the file named; the
// summary goes to standard error once the text is written.
#include "tool/generate/generate_command.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "files/file_access.h"
#include "frame/run_time_errors.h"
#include "schedule/shown_text.h"
#include "tool/generate/generate_season.h"
#include "tool/season/distance_table.h"
#include "tool/season/season_travel.h"
#include "tool/season/teams_file.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

// TEAMS is read as file 1 and held open while the text is written as file
// 2, so that TEAMS named as the output is refused as a file in use.
constexpr int16_t kTeamsFile = kToolInputFile;
constexpr int16_t kTextFile = kToolOutputFile;

// Reads a whole number written in decimal digits, at most `most`.
bool ParseNumber(const std::string& text, uint64_t most, uint64_t* value) {
  if (text.size() > 20) return false;
  uint64_t number = 0;
  const char* end = text.data() + text.size();
  // An unsigned number takes no sign: digits alone.
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (error != std::errc() || stop != end || number > most) return false;
  *value = number;
  return true;
}

// The rules the options give. The exit status of a refusal (1 for values
// that cannot be met, 2 for ones not understood), or 0.
int ReadRules(const GenerateArguments& arguments, SeasonRules* rules) {
  if (arguments.start.empty()) {
    PrintFailure("generate needs --start YYYY-MM-DD, the first day of games");
    return kUsageError;
  }
  const std::pair<const std::string*, int*> counts[] = {
      {&arguments.meetings, &rules->meetings},
      {&arguments.division_meetings, &rules->division_meetings},
      {&arguments.series, &rules->series_length},
      {&arguments.most_in_a_row, &rules->most_in_a_row},
      {&arguments.effort, &rules->effort}};
  const char* const names[] = {"--meetings", "--division-meetings", "--series", "--most-in-a-row",
                               "--effort"};
  for (size_t i = 0; i < std::size(counts); ++i) {
    if (counts[i].first->empty()) continue;
    uint64_t value = 0;
    if (!ParseNumber(*counts[i].first, std::numeric_limits<int>::max(), &value)) {
      PrintFailure(std::string(names[i]) + ": " + schedule::Quoted(*counts[i].first) +
                   " is no whole number");
      return kUsageError;
    }
    *counts[i].second = static_cast<int>(value);
  }
  if (!arguments.seed.empty() &&
      !ParseNumber(arguments.seed, std::numeric_limits<uint64_t>::max(), &rules->seed)) {
    PrintFailure("--seed: " + schedule::Quoted(arguments.seed) + " is no whole number");
    return kUsageError;
  }

  std::string problem;
  bool miswritten = false;
  if (!ParseDay(arguments.start, &rules->calendar.start, &problem, &miswritten)) {
    PrintFailure("--start: " + problem);
    return miswritten ? kUsageError : 1;
  }
  for (const std::string& name : arguments.off_days) {
    std::chrono::weekday day;
    if (!ParseWeekday(name, &day, &problem)) {
      PrintFailure("--off-day: " + problem);
      return kUsageError;
    }
    rules->calendar.weekday_off[day.c_encoding()] = true;
  }
  for (const std::string& range_text : arguments.no_games) {
    DayRange range;
    if (!ParseDayRange(range_text, &range, &problem, &miswritten)) {
      PrintFailure("--no-games: " + problem);
      return miswritten ? kUsageError : 1;
    }
    rules->calendar.no_games.push_back(range);
  }
  return 0;
}

int Generate(const std::string& teams, const GenerateArguments& arguments) {
  SeasonRules rules;
  if (int status = ReadRules(arguments, &rules)) return status;
  // TEAMS (and the distances file) stay open while the text is written, so
  // that either named as the output is refused as a file in use.
  TeamsFile file;
  std::vector<std::string> errors;
  League league;
  if (!ReadTeamsFileAt(kTeamsFile, teams, &file, &errors) ||
      !LeagueOf(file, teams, &league, &errors)) {
    for (const std::string& error : errors) PrintFailure(error);
    return 1;
  }
  if (!arguments.distances.empty()) {
    std::vector<std::string> names;
    for (const LeagueTeam& team : league.teams) names.push_back(team.name);
    if (!ReadDistanceTableAt(kToolDistancesFile, arguments.distances, names, &rules.distances,
                             &errors)) {
      for (const std::string& error : errors) PrintFailure(error);
      return 1;
    }
  } else if (league.placed) {
    // The league's teams are the file's, in its order.
    rules.distances = DistancesOfPlaces(file);
  }
  GeneratedSeason season;
  std::string problem;
  if (!GenerateSeason(league, rules, &season, &problem)) {
    PrintFailure(problem);
    return 1;
  }
  if (std::string failure = OpenToolOutput(kTextFile, arguments.output); !failure.empty()) {
    PrintFailure(failure);
    return 1;
  }
  if (int status = WriteToolOutput(kTextFile, arguments.output, season.text)) return status;
  std::fputs(SummaryText(season.summary).c_str(), stderr);
  return 0;
}

}  // namespace

int RunGenerate(const std::string& teams, const GenerateArguments& arguments) {
  int status = Generate(teams, arguments);
  files::CloseAllFiles();  // an uncommitted text is removed, TEAMS let go
  return status;
}

}  // namespace tool
