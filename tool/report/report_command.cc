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
#include "tool/report/report_format.h"
#include "tool/season/display_names.h"
#include "tool/season/season_counts.h"
#include "tool/season/season_findings.h"
#include "tool/season/season_reader.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

// Hands every event of the season to the counter and the finder alike.
class CountAndFind : public SeasonListener {
 public:
  CountAndFind(SeasonCounter* counter, SeasonFindings* findings)
      : counter_(counter), findings_(findings) {}
  void DateBegun(std::string_view date, int64_t record) override {
    counter_->DateBegun(date, record);
    findings_->DateBegun(date, record);
  }
  void GameRead(const SeasonGame& game) override {
    counter_->GameRead(game);
    findings_->GameRead(game);
  }
  void DateEnded() override {
    counter_->DateEnded();
    findings_->DateEnded();
  }

 private:
  SeasonCounter* counter_;
  SeasonFindings* findings_;
};

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
  if (season == "-" && arguments.teams == "-") {
    PrintFailure("report: SEASON and --teams cannot both be standard input");
    return kUsageError;
  }
  std::string failure;
  if (!OpenSeason(season, &failure)) return Fail(failure);
  // The teams file is read before the season, so that a bad one stops the
  // report before any finding is shown; it stays open, so that naming it
  // as the output is refused as a file in use.
  ReportTeams teams;
  if (!arguments.teams.empty()) {
    std::vector<std::string> failures;
    teams.given = ReadDisplayNames(kToolTeamsFile, arguments.teams, &teams.display, &failures);
    if (!teams.given) {
      for (const std::string& line : failures) PrintFailure(line);
      files::CloseAllFiles();
      return 1;
    }
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
  CountAndFind listener(&counter, &findings);
  SeasonKind kind;
  if (!ReadOpenSeason(season, &listener, &kind, &failure)) return Fail(failure);
  findings.Finish();
  std::fflush(stderr);  // the findings stand before the report

  const std::string report = FormatReport(season, counter, arguments.by, arguments.format, teams);
  return WriteToolOutput(kToolOutputFile, arguments.output, report);
}

}  // namespace tool
