// schedule-tool generate: reads the league, makes the season, and writes its
// text to standard output or, all or nothing, to the file named; the
// summary goes to standard error once the text is written.
#include "tool/generate/generate_command.h"

#include <cstdio>
#include <limits>

#include "files/file_access.h"
#include "frame/run_time_errors.h"
#include "schedule/shown_text.h"
#include "schedule/whole_number.h"
#include "tool/generate/generate_matchups.h"
#include "tool/generate/generate_season.h"
#include "tool/season/distance_table.h"
#include "tool/season/park_distances.h"
#include "tool/season/teams_file.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

// TEAMS is read as file 1 and held open while the text is written as file
// 2, so that TEAMS named as the output is refused as a file in use.
constexpr int16_t kTeamsFile = kToolInputFile;
constexpr int16_t kTextFile = kToolOutputFile;
// The matchups file, held open as TEAMS is.
constexpr int16_t kMatchupsFile = 7;
// A matchups file of every pair of the largest league is some 30 KB.
constexpr size_t kMaxMatchupsBytes = 16 * 1024 * 1024;

// Reads "MIN..MAX" of --series into `rules`. The exit status of a refusal,
// or 0.
int ReadSeriesRange(const std::string& text, SeasonRules* rules) {
  const size_t dots = text.find("..");
  uint64_t least = 0, most = 0;
  if (!schedule::IsWholeNumber(text.substr(0, dots), std::numeric_limits<int>::max(), &least) ||
      !schedule::IsWholeNumber(text.substr(dots + 2), std::numeric_limits<int>::max(), &most)) {
    PrintFailure("--series: " + schedule::Quoted(text) + " is no L or MIN..MAX of whole numbers");
    return kUsageError;
  }
  if (least < 1 || least > most || most > static_cast<uint64_t>(kMostSeriesGames)) {
    PrintFailure("--series " + text + ": a series holds 1 to " +
                 std::to_string(kMostSeriesGames) + " games, MIN no more than MAX");
    return 1;
  }
  rules->series_least = static_cast<int>(least);
  rules->series_most = static_cast<int>(most);
  return 0;
}

// The rules the options give. The exit status of a refusal (1 for values
// that cannot be met, 2 for ones not understood), or 0.
int ReadRules(const GenerateArguments& arguments, SeasonRules* rules) {
  if (arguments.start.empty()) {
    PrintFailure("generate needs --start YYYY-MM-DD, the first day of games");
    return kUsageError;
  }
  if (!arguments.matchups.empty() &&
      (!arguments.meetings.empty() || !arguments.division_meetings.empty())) {
    PrintFailure("generate takes --matchups or --meetings and --division-meetings, not both");
    return kUsageError;
  }
  const bool range = arguments.series.find("..") != std::string::npos;
  if (range) {
    if (int status = ReadSeriesRange(arguments.series, rules)) return status;
  }
  const std::string no_text;
  const std::pair<const std::string*, int*> counts[] = {
      {&arguments.meetings, &rules->meetings},
      {&arguments.division_meetings, &rules->division_meetings},
      {range ? &no_text : &arguments.series, &rules->series_length},
      {&arguments.most_in_a_row, &rules->most_in_a_row},
      {&arguments.effort, &rules->effort}};
  const char* const names[] = {"--meetings", "--division-meetings", "--series", "--most-in-a-row",
                               "--effort"};
  for (size_t i = 0; i < std::size(counts); ++i) {
    if (counts[i].first->empty()) continue;
    uint64_t value = 0;
    if (!schedule::IsWholeNumber(*counts[i].first, std::numeric_limits<int>::max(), &value)) {
      PrintFailure(std::string(names[i]) + ": " + schedule::Quoted(*counts[i].first) +
                   " is no whole number");
      return kUsageError;
    }
    *counts[i].second = static_cast<int>(value);
  }
  if (!arguments.seed.empty() &&
      !schedule::IsWholeNumber(arguments.seed, std::numeric_limits<uint64_t>::max(),
                               &rules->seed)) {
    PrintFailure("--seed: " + schedule::Quoted(arguments.seed) + " is no whole number");
    return kUsageError;
  }

  std::string problem;
  bool miswritten = false;
  if (!ParseDay(arguments.start, &rules->calendar.start, &problem, &miswritten)) {
    PrintFailure("--start: " + problem);
    return miswritten ? kUsageError : 1;
  }
  if (!arguments.end.empty()) {
    std::chrono::sys_days end;
    if (!ParseDay(arguments.end, &end, &problem, &miswritten)) {
      PrintFailure("--end: " + problem);
      return miswritten ? kUsageError : 1;
    }
    if (end < rules->calendar.start) {
      PrintFailure("--end " + arguments.end + " is before --start " + arguments.start);
      return 1;
    }
    rules->end = end;
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
  // The league's teams are the file's, in its order: its places are theirs.
  std::vector<std::string> names;
  for (const LeagueTeam& team : league.teams) names.push_back(team.name);
  std::string placed_by;
  if (!ReadParkDistances(arguments.distances, names, file, teams, &rules.distances, &placed_by,
                         &errors)) {
    for (const std::string& error : errors) PrintFailure(error);
    return 1;
  }
  if (!arguments.matchups.empty()) {
    std::string text;
    std::string failure =
        ReadWholeInput(kMatchupsFile, arguments.matchups, "matchups file", kMaxMatchupsBytes,
                       [&text](std::string_view piece) { text.append(piece); });
    if (!failure.empty()) {
      PrintFailure(failure);
      return 1;
    }
    Matchups matchups;
    if (!ReadMatchups(text, arguments.matchups, names, &matchups, &errors)) {
      for (const std::string& error : errors) PrintFailure(error);
      return 1;
    }
    rules.hosted = std::move(matchups.hosted);
    // Series of MIN to MAX games, or of L games each when one length is given.
    if (rules.series_least == 0) {
      if (arguments.series.empty()) {
        rules.series_least = 2;
        rules.series_most = 4;
      } else {
        rules.series_least = rules.series_most = rules.series_length;
      }
    }
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

namespace {

/// generate --help.
constexpr char kHelp[] =
    "Usage: schedule-tool generate TEAMS --start YYYY-MM-DD [--end YYYY-MM-DD]\n"
    "         [--meetings N] [--division-meetings M] [--matchups FILE]\n"
    "         [--series L|MIN..MAX] [--off-day DAY]... [--no-games FROM[..TO]]...\n"
    "         [--most-in-a-row K] [--seed S] [--distances FILE] [--effort E]\n"
    "         [--output TEXT]\n"
    "\n"
    "Writes the schedule text, CR LF, of a balanced season for the league in\n"
    "TEAMS (- for standard input): one team a line, NAME or NAME DIVISION;\n"
    "or CSV whose first line names its columns: name, and any of division,\n"
    "display, latitude and longitude (where the team plays, decimal degrees,\n"
    "north and east positive), code, league. Blank lines and lines starting\n"
    "with # are skipped. A name is 1 to 8 bytes, no blank, comma, double\n"
    "quote, TAB or control byte, not starting with [. 2 to 30 teams; either\n"
    "every team names a division or none does, and has a place or none does.\n"
    "\n"
    "  --start YYYY-MM-DD       the first day games may be played (needed)\n"
    "  --end YYYY-MM-DD         the last day games may be played: refused, saying\n"
    "                           the game days needed and the window's, when the\n"
    "                           season does not fit\n"
    "  --meetings N             games of two teams of different divisions, or\n"
    "                           of every two teams without divisions (2)\n"
    "  --division-meetings M    games of two teams of one division (N)\n"
    "  --matchups FILE          each pair's games at each park instead: CSV\n"
    "                           whose header names team,opponent,games,home,away\n"
    "                           (home: games at team's park), as report --by pair\n"
    "                           --format csv writes; a pair not listed does not\n"
    "                           meet\n"
    "  --series L|MIN..MAX      games of a series on consecutive game days (3);\n"
    "                           MIN..MAX: the generator chooses each series'\n"
    "                           length (2..4 with --matchups)\n"
    "  --off-day DAY            no games on this weekday, Mon to Sun; again\n"
    "                           for more\n"
    "  --no-games FROM[..TO]    no games on this day or these days; again for\n"
    "                           more (an all-star break)\n"
    "  --most-in-a-row K        series in a row at home or on the road, at\n"
    "                           most (3)\n"
    "  --seed S                 another of the schedules that keep the rules\n"
    "                           (1); the same seed gives the same bytes\n"
    "  --distances FILE         the distances between the parks: a header line\n"
    "                           of team names, then a row a team, its name and\n"
    "                           its distance to each team of the header (whole\n"
    "                           numbers, 0 to itself); the season then travels\n"
    "                           as little as the generator finds\n"
    "  --effort E               the search for the least travel looks E times\n"
    "                           as long (1)\n"
    "  --output TEXT            write the text to TEXT (- is standard output);\n"
    "                           when refused nothing is written\n"
    "\n"
    "A pair's meetings are played half at each park (an odd one where it keeps\n"
    "every team's home and away games within one), each half in series of L\n"
    "games and one shorter series for the rest. In a round of series every\n"
    "team plays at most one; with an odd number of teams one rests. No team\n"
    "plays twice on a date, and no two teams meet in two series in a row where\n"
    "the league leaves another opponent to play between. With --distances, or\n"
    "with places in TEAMS (great-circle km between them), the teams travel as\n"
    "little as the generator finds (a team starts at home, goes from park to\n"
    "park, and home at the end); without, the schedule has\n"
    "as few breaks (two series in a row both at home or both away) as it\n"
    "finds. With --matchups or --series MIN..MAX, every team plays as many\n"
    "series where the games allow it; a round lasts as long as its longest\n"
    "series, all starting on its first day, so that a team that plays in\n"
    "every round is idle at most 2 days running outside off days and days of\n"
    "no games (with an odd number of teams one rests a round, idle for its\n"
    "days); with --end the season may take the whole window.\n"
    "A summary on standard error gives games, home and away, dates, the\n"
    "window's game days used, off days, series of each length, breaks, the\n"
    "longest home stand and road trip, any repeaters, and the travel.\n"
    "\n"
    "Refused, with the reason: a bad TEAMS line (TEAMS:LINE: message),\n"
    "distances or matchups line (FILE:LINE: message), a day that is no real\n"
    "day, off days that leave no game day, a season longer than its window,\n"
    "rules that cannot all be met.\n"
    "\n"
    "Exit status: 0 written, 1 refused (nothing written), 2 usage.\n";

}  // namespace

Command GenerateCommand() {
  return {.name = "generate",
          .synopsis = {"schedule-tool generate TEAMS --start YYYY-MM-DD [options]"},
          .summary = "Writes the schedule text of a balanced season for the teams of\n"
                     "a league, in series, on a calendar.",
          .help = kHelp,
          .options = {ValueOption("--start"),
                      ValueOption("--meetings"),
                      ValueOption("--division-meetings"),
                      ValueOption("--series"),
                      ValueOption("--matchups"),
                      ValueOption("--end"),
                      ValueOption("--most-in-a-row"),
                      ValueOption("--seed"),
                      ValueOption("--distances"),
                      ValueOption("--effort"),
                      ValueOption("--output"),
                      RepeatableOption("--off-day"),
                      RepeatableOption("--no-games")},
          .inputs = {OperandInput("TEAMS"), OptionInput("--distances"),
                     OptionInput("--matchups")},
          .outputs = {OptionInput("--output")},
          .operands = 1,
          .operands_wrong = "generate takes one TEAMS file",
          .run = [](const CommandLine& line) {
            GenerateArguments arguments;
            arguments.start = line.Value("--start");
            arguments.meetings = line.Value("--meetings");
            arguments.division_meetings = line.Value("--division-meetings");
            arguments.series = line.Value("--series");
            arguments.matchups = line.Value("--matchups");
            arguments.end = line.Value("--end");
            arguments.most_in_a_row = line.Value("--most-in-a-row");
            arguments.seed = line.Value("--seed");
            arguments.distances = line.Value("--distances");
            arguments.effort = line.Value("--effort");
            arguments.output = line.Value("--output");
            arguments.off_days = line.Values("--off-day");
            arguments.no_games = line.Values("--no-games");
            return RunGenerate(line.operands[0], arguments);
          }};
}

}  // namespace tool
