// schedule-tool report: what each team of a season plays, and what is wrong
// with the season itself. The season is read once, counted as it goes (what
// is held grows with the teams and pairs), and the report is written when
// the whole season has been read: all or nothing to --output, or to
// standard output. Findings go to standard error as they are found.
#include "tool/report/report_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "files/file_access.h"
#include "schedule/shown_text.h"
#include "tool/report/report_format.h"
#include "tool/season/display_names.h"
#include "tool/season/distance_table.h"
#include "tool/season/park_distances.h"
#include "tool/report/season_counts.h"
#include "tool/season/season_findings.h"
#include "tool/season/season_reader.h"
#include "tool/season/season_travel.h"
#include "tool/season/teams_file.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

// Hands every event of the season to each listener: the counter, the
// finder, and the travel counter when there are places. The games a text
// loses are warned of as the build warns of them: they are in no count.
class EveryListener : public SeasonListener {
 public:
  explicit EveryListener(std::vector<SeasonListener*> listeners)
      : listeners_(std::move(listeners)) {}
  void GamesLost(const std::string& warning) override { PrintFailure("warning: " + warning); }
  void DateBegun(std::string_view date, int64_t record) override {
    for (SeasonListener* listener : listeners_) listener->DateBegun(date, record);
  }
  void GameRead(const SeasonGame& game) override {
    for (SeasonListener* listener : listeners_) listener->GameRead(game);
  }
  void DateEnded() override {
    for (SeasonListener* listener : listeners_) listener->DateEnded();
  }

 private:
  std::vector<SeasonListener*> listeners_;
};

// Reads --teams and --distances: the display names, and the table of
// distances that gives each team's travel (FILE's, else the places TEAMS
// gives, if it gives any). False with each reason printed. Both files stay
// open, so that an output naming one is refused as a file in use.
bool ReadTeamsAndDistances(const ReportArguments& arguments, ReportTeams* teams,
                           DistanceTable* table, std::string* placed_by) {
  std::vector<std::string> failures;
  TeamsFile file;
  if (!arguments.teams.empty()) {
    teams->given = ReadTeamsFileAt(kToolTeamsFile, arguments.teams, &file, &failures);
    teams->display = DisplayNamesOf(file);
  }
  if (failures.empty()) {
    ReadParkDistances(arguments.distances, {}, file, arguments.teams, table, placed_by, &failures);
  }
  for (const std::string& line : failures) PrintFailure(line);
  return failures.empty();
}

int Fail(const std::string& message) {
  PrintFailure(message);
  files::CloseAllFiles();
  return 1;
}

}  // namespace

int RunReport(const std::string& season, const ReportArguments& arguments) {
  // A season may hold a finding on every line: they go out in blocks of
  // stdio's own buffer, not a write each.
  std::setvbuf(stderr, nullptr, _IOFBF, BUFSIZ);
  std::string failure;
  if (!OpenSeason(season, &failure)) return Fail(failure);
  // The teams and distances files are read before the season, so that a
  // bad one stops the report before any finding is shown.
  ReportTeams teams;
  DistanceTable table;
  std::string placed_by;  // the file that places the teams, if any
  if (!ReadTeamsAndDistances(arguments, &teams, &table, &placed_by)) {
    files::CloseAllFiles();
    return 1;
  }
  // The output is made while the season is open, so that a report onto the
  // season itself is refused as a file in use rather than clobbering it.
  if (failure = OpenToolOutput(kToolOutputFile, arguments.output); !failure.empty()) {
    return Fail(failure);
  }

  SeasonCounter counter;
  SeasonFindings findings([&season](const SeasonFinding& finding) {
    SeasonGame place;
    place.line = finding.line;
    place.record = finding.record;
    place.slot = finding.slot;
    std::fprintf(stderr, "%s: %s\n", GamePlace(season, place).c_str(), finding.message.c_str());
  });
  SeasonTravel travel(table);
  std::vector<SeasonListener*> listeners = {&counter, &findings};
  if (!placed_by.empty()) listeners.push_back(&travel);
  EveryListener listener(std::move(listeners));
  SeasonKind kind;
  if (!ReadOpenSeason(season, &listener, &kind, &failure)) return Fail(failure);
  findings.Finish();
  std::fflush(stderr);  // the findings stand before the report
  if (!placed_by.empty()) {
    // Travel is the season's only when every team of it is placed.
    for (const std::string& team : travel.unplaced()) {
      PrintFailure(placed_by + ": team " + schedule::Quoted(team) + " of the season is not placed " +
                   (arguments.distances.empty() ? "here (no latitude and longitude)"
                                                : "here (no row and column)"));
    }
    if (!travel.unplaced().empty()) {
      files::CloseAllFiles();
      return 1;
    }
    teams.travel = travel.TravelByTeam();
    teams.travel_shown = true;
    teams.travel_unit = table.unit;
  }

  const std::string report = FormatReport(season, counter, arguments.by, arguments.format, teams);
  return WriteToolOutput(kToolOutputFile, arguments.output, report);
}

namespace {

/// report --help.
constexpr char kHelp[] =
    "Usage: schedule-tool report [--by team|pair] [--format text|csv] [--teams TEAMS]\n"
    "                            [--distances FILE] [--output OUT] SEASON\n"
    "\n"
    "Counts what the season SEASON holds, as a schedule file built from it\n"
    "stores it. SEASON is a schedule file (told by its header record) or a\n"
    "schedule text, read as the build reads it (a date's first 15 games); -\n"
    "is standard input. A team is a stored name without its trailing blanks.\n"
    "\n"
    "  --by team      one row per team, in byte order of the names (the\n"
    "                 default): games, home, away, doubleheader dates (dates\n"
    "                 with two games or more), the longest home stand and road\n"
    "                 trip (games in a row, in the order of the file), and the\n"
    "                 number of different opponents\n"
    "  --by pair      one row per team and opponent that meet: games, and the\n"
    "                 team's games at home and away\n"
    "  --format text  an aligned table under a line of season totals (the\n"
    "                 default)\n"
    "  --format csv   the rows alone, CR LF, under the header line\n"
    "                 team,games,home,away,doubleheader_dates,longest_home_stand,\n"
    "                 longest_road_trip,opponents (--by pair:\n"
    "                 team,opponent,games,home,away)\n"
    "  --teams TEAMS  adds each team's name for people, from the teams file\n"
    "                 TEAMS (CSV whose header names its columns, name and\n"
    "                 display among them): a display column after team, and\n"
    "                 with --by pair an opponent_display column after\n"
    "                 opponent; a team TEAMS gives no display name shows its\n"
    "                 file name there. The table aligns by characters. Where\n"
    "                 TEAMS gives places (latitude and longitude columns),\n"
    "                 a travel column comes last (--by team), each team's\n"
    "                 travel in km, great-circle: from home to each game's park\n"
    "                 in turn and home after its last; the first line adds the\n"
    "                 season's travel\n"
    "  --distances FILE  the travel column from the distances in FILE instead\n"
    "                 (a header line of team names, then a row a team: its name\n"
    "                 and its distance to each team of the header). Every team\n"
    "                 of the season must be placed, or nothing is written\n"
    "  --output OUT   write the report to OUT (- is standard output); nothing\n"
    "                 is written when SEASON, TEAMS or FILE cannot be read\n"
    "\n"
    "What is wrong with the season goes to standard error, one finding a\n"
    "line, FILE:LINE: message for a text and FILE: record R slot S: message\n"
    "for a schedule file: a team that plays itself; a team against two\n"
    "different opponents on one date, or in three games or more on one date;\n"
    "a game with only one team name; a name that plays at most 2 games one\n"
    "byte away from a team that plays at least 10 (a likely misspelling).\n"
    "A bad TEAMS line is refused as TEAMS:LINE: message, and nothing is written.\n"
    "\n"
    "Exit status: 0 written (findings on standard error), 1 SEASON, TEAMS or\n"
    "FILE unreadable, a team not placed, or the report not written, 2 usage.\n";

}  // namespace

Command ReportCommand() {
  return {.name = "report",
          .synopsis = {"schedule-tool report [--by team|pair] [--format text|csv] [--teams TEAMS]",
                       "                     [--distances FILE] [--output OUT] SEASON"},
          .summary = "Counts what each team of a season plays (games, home, away,\n"
                     "doubleheaders, home stands, road trips, opponents) and finds what\n"
                     "is wrong with the season itself.",
          .help = kHelp,
          .options = {ValueOption("--by", "team", {"team", "pair"}),
                      ValueOption("--format", "text", {"text", "csv"}),
                      ValueOption("--output"),
                      ValueOption("--teams"),
                      ValueOption("--distances")},
          .inputs = {OperandInput("SEASON"),
                     OptionInput("--teams"),
                     OptionInput("--distances")},
          .outputs = {OptionInput("--output")},
          .operands = 1,
          .operands_wrong = "report takes one SEASON file",
          .run = [](const CommandLine& line) {
            ReportArguments arguments;
            arguments.by = line.Value("--by") == "pair" ? ReportBy::kPair : ReportBy::kTeam;
            arguments.format =
                line.Value("--format") == "csv" ? ReportFormat::kCsv : ReportFormat::kText;
            arguments.output = line.Value("--output");
            arguments.teams = line.Value("--teams");
            arguments.distances = line.Value("--distances");
            return RunReport(line.operands[0], arguments);
          }};
}

}  // namespace tool
