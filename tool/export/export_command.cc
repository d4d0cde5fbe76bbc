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
#include "tool/output_batcher.h"
#include "tool/output_spool.h"
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
  std::optional<SeasonDays> days;
  if (std::string problem; !SeasonDays::FromYearOption(arguments.year, &days, &problem)) {
    PrintFailure(problem);
    return kUsageError;
  }
  if (arguments.teams.empty()) {
    PrintFailure("export needs --teams TEAMS, the file that gives each team's code and league");
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
  OutputSpool out(kToolOutputFile, arguments.output, "the exported season");
  if (failure = out.Open(); !failure.empty()) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  OutputBatcher rows([&out](std::string_view bytes) { return out.Put(bytes); });
  SeasonExporter exporter(season, teams, arguments.teams, *days,
                          [&rows](std::string_view row) { rows.Add(row); });
  SeasonKind kind = SeasonKind::kText;
  if (!ReadOpenSeason(season, &exporter, &kind, &failure)) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  exporter.Finish();
  if (std::string note = exporter.days().CenturyNote(season); !note.empty()) PrintFailure(note);
  for (const std::string& error : exporter.report().errors) PrintFailure(error);
  for (const std::string& warning : exporter.report().warnings) PrintFailure("warning: " + warning);
  const int status = out.Finish(exporter.report().Succeeded(), rows.Finish());
  files::CloseAllFiles();
  return status;
}

namespace {

/// export --help.
constexpr char kHelp[] =
    "Usage: schedule-tool export --teams TEAMS [--year YYYY] [--output FILE] SEASON\n"
    "\n"
    "Writes the season SEASON (a schedule file or a schedule text read as the\n"
    "build reads it, - for standard input) as a season file of the layout\n"
    "import reads, CR LF: one row a game, in the season's order,\n"
    "\"YYYYMMDD\",\"0\",\"Thu\",\"VIS\",\"VL\",n,\"HOM\",\"HL\",n,\"d\",\"\",\"\"\n"
    "with the game number 1 and 2 for two games of one pair on a date, and\n"
    "each team's code, league and game number in the season. Imported with\n"
    "the same TEAMS as its --teams MAP, the file gives back the schedule text\n"
    "that dump --format text gives of the season.\n"
    "\n"
    "  --teams TEAMS  the CSV teams file (as import --teams-output writes) whose\n"
    "                 code and league columns give each team's; needed\n"
    "  --year YYYY    the year of the season's first date; later dates follow\n"
    "                 it, and a 99 year followed by a 00 year is the next\n"
    "                 century. Without it, the first date's year YY is 20YY\n"
    "                 when that is no later than next year, otherwise 19YY,\n"
    "                 and the year taken is said on standard error\n"
    "  --output FILE  write the rows to FILE (- is standard output); when\n"
    "                 refused nothing is written\n"
    "\n"
    "Refused, as FILE:LINE: message (FILE: record R slot S for a schedule\n"
    "file), with nothing written: a team TEAMS gives no code or league, a date\n"
    "not written MM/DD/YY or no real day, a date earlier than the one before\n"
    "it or the same, three games of one pair on a date, a game with one team\n"
    "name; a bad TEAMS line (TEAMS:LINE: message), two teams with one code.\n"
    "Warned of, and left out: options, blank slots before a game, dates with\n"
    "no game.\n"
    "\n"
    "Exit status: 0 written (warnings on standard error), 1 refused, 2 usage.\n";

}  // namespace

Command ExportCommand() {
  return {.name = "export",
          .synopsis = {"schedule-tool export --teams TEAMS [--year YYYY] [--output FILE] SEASON"},
          .summary = "Writes a season as a season file of that layout, which import\n"
                     "reads back into the same schedule text.",
          .help = kHelp,
          .options = {ValueOption("--teams"), ValueOption("--year"), ValueOption("--output")},
          .inputs = {OperandInput("SEASON"), OptionInput("--teams")},
          .outputs = {OptionInput("--output")},
          .operands = 1,
          .operands_wrong = "export takes one SEASON file",
          .run = [](const CommandLine& line) {
            ExportArguments arguments;
            arguments.teams = line.Value("--teams");
            arguments.year = line.Value("--year");
            arguments.output = line.Value("--output");
            return RunExport(line.operands[0], arguments);
          }};
}

}  // namespace tool
