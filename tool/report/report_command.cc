// schedule-tool report: what each team of a season plays, and what is wrong
// with the season itself. The season is read once, counted as it goes (what
// is held grows with the teams and pairs), and the report is written when
// the whole season has been read: all or nothing to --output, or to
// standard output. Findings go to standard error as they are found.
#include "tool/report/report_command.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "files/file_access.h"
#include "schedule/shown_text.h"
#include "tool/report/report_format.h"
#include "tool/season/display_names.h"
#include "tool/season/distance_table.h"
#include "tool/season/season_counts.h"
#include "tool/season/season_findings.h"
#include "tool/season/season_reader.h"
#include "tool/season/season_travel.h"
#include "tool/season/teams_file.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

// Hands every event of the season to each listener: the counter, the
// finder, and the travel counter when there are places.
class EveryListener : public SeasonListener {
 public:
  explicit EveryListener(std::vector<SeasonListener*> listeners)
      : listeners_(std::move(listeners)) {}
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
  if (failures.empty() && !arguments.distances.empty()) {
    ReadDistanceTableAt(kToolDistancesFile, arguments.distances, {}, table, &failures);
    *placed_by = arguments.distances;
  } else if (failures.empty() && std::any_of(file.teams.begin(), file.teams.end(),
                                             [](const TeamEntry& team) { return team.place; })) {
    *table = DistancesOfPlaces(file);
    *placed_by = arguments.teams;
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
  if ((season == "-") + (arguments.teams == "-") + (arguments.distances == "-") > 1) {
    PrintFailure("report: only one of SEASON, --teams and --distances can be standard input");
    return kUsageError;
  }
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

}  // namespace tool
