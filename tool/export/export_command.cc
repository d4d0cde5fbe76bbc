// schedule-tool export: reads TEAMS whole, then the season once, a date at
// a time, and writes its rows all or nothing: into a new file put in place
// only when the whole season exported without an error, or, for standard
// output, into a temporary file copied out then. Errors and warnings are
// told once the season is read.
#include "tool/export/export_command.h"

#include <chrono>
#include <optional>
#include <vector>

#include "files/file_access.h"
#include "schedule/shown_text.h"
#include "tool/export/export_season.h"
#include "tool/gathered_output.h"
#include "tool/held_output.h"
#include "tool/season/season_days.h"
#include "tool/season/season_reader.h"
#include "tool/season/team_codes.h"
#include "tool/season/teams_file.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {

namespace {

// Reads TEAMS; false when it cannot be read, holds lines it refuses, or
// gives no code at all (each reason printed). TEAMS stays open.
bool ReadTeams(const std::string& path, TeamsFile* teams) {
  std::vector<std::string> errors;
  if (ReadTeamsFileAt(kToolTeamsFile, path, teams, &errors)) CheckTeamCodes(*teams, path, &errors);
  for (const std::string& error : errors) PrintFailure(error);
  if (!errors.empty()) return false;
  if (!GivesCodes(*teams)) {
    PrintFailure(path + ": no team gives a code: export takes a CSV teams file whose header names "
                 "the columns name, code and league");
    return false;
  }
  return true;
}

}  // namespace

int RunExport(const std::string& season, const ExportArguments& arguments) {
  std::optional<std::chrono::year> first_year;
  if (std::string problem; !ReadYearOption(arguments.year, &first_year, &problem)) {
    PrintFailure(problem);
    return kUsageError;
  }
  if (arguments.teams.empty()) {
    PrintFailure("export needs --teams TEAMS, the file that gives each team's code and league");
    return kUsageError;
  }
  if (arguments.teams == "-" && season == "-") {
    PrintFailure("export reads TEAMS and SEASON: only one of them can be standard input");
    return kUsageError;
  }

  // TEAMS and the season stay open while the output is opened, so that an
  // output naming either is refused as a file in use.
  TeamsFile teams;
  std::string failure;
  if (!ReadTeams(arguments.teams, &teams) || !OpenSeason(season, &failure)) {
    files::CloseAllFiles();
    if (!failure.empty()) PrintFailure(failure);
    return 1;
  }
  HeldOutput out(kToolOutputFile, arguments.output, "the exported season");
  if (failure = out.Open(); !failure.empty()) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  GatheredOutput rows([&out](std::string_view bytes) { return out.Put(bytes); });
  const auto today = std::chrono::year_month_day{
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())}.year();
  SeasonExporter exporter(season, teams, arguments.teams, SeasonDays(first_year, today),
                          [&rows](std::string_view row) { rows.Add(row); });
  SeasonKind kind = SeasonKind::kText;
  if (!ReadOpenSeason(season, &exporter, &kind, &failure)) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  exporter.Finish();
  for (const std::string& error : exporter.report().errors) PrintFailure(error);
  for (const std::string& warning : exporter.report().warnings) PrintFailure("warning: " + warning);
  const int status = out.Finish(exporter.report().Succeeded(), rows.Finish());
  files::CloseAllFiles();
  return status;
}

}  // namespace tool
