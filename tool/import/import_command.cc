// schedule-tool import: a season file as schedule text. The season file is
// read through file access a piece at a time; the text goes to a file that
// is put in place only when the whole season imported without an error, or
// to standard output once the season is known to import whole. The teams
// named (--teams-output) go to a file of their own the same way, once the
// text is out.
#include "tool/import/import_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/read_field.h"
#include "files/record_read.h"
#include "frame/run_time_errors.h"
#include "schedule/messages.h"
#include "tool/import/import_season.h"
#include "tool/import/import_team_map.h"
#include "tool/import/import_teams_output.h"
#include "tool/output_spool.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {

using schedule::CannotText;
using schedule::FailedStep;

namespace {

// The season file (and before it the MAP) is read as kToolInputFile, the
// text written as kToolOutputFile (or held there in a temporary file for
// standard output), the teams of --teams-output as file 4.
constexpr int16_t kTeamsFile = 4;
// A MAP names a season's teams: a few dozen lines.
constexpr size_t kMaxMapBytes = 1024 * 1024;

// The names of a MAP file; false when it cannot be read or holds lines it
// refuses (each printed).
bool ReadMap(const std::string& map, std::vector<tool::MappedName>* teams, tool::MapDisplays* displays) {
  std::string text;
  std::string failure = ReadWholeInput(kToolInputFile, map, "team map", kMaxMapBytes,
                                       [&](std::string_view piece) { text.append(piece); });
  files::CloseAllFiles();
  if (!failure.empty()) {
    PrintFailure(failure);
    return false;
  }
  std::vector<std::string> errors;
  tool::ReadTeamMap(text, map, teams, &errors, displays);
  for (const std::string& error : errors) PrintFailure(error);
  return errors.empty();
}

// One import of the season into `sink`; the failure to read it, if any.
std::string ImportInto(const std::string& season, const tool::ImportOptions& options,
                       const tool::TextSink& sink, tool::ImportReport* report) {
  tool::SeasonImporter importer(options, sink);
  std::string failure;
  if (int code = OpenToolInput(kToolInputFile, season)) {
    failure = CannotText(FailedStep::kOpen, "season file", season, code);
  } else {
    failure = ReadWhileWanted(kToolInputFile, season, "season file",
                              [&](std::string_view piece) { importer.TakeBytes(piece); },
                              [&] { return !importer.Stopped(); });
  }
  files::CloseAllFiles();
  importer.Finish();
  *report = importer.report();
  return failure;
}

void PrintReport(const tool::ImportReport& report) {
  for (const std::string& error : report.errors) PrintFailure(error);
  for (const std::string& warning : report.warnings) PrintFailure("warning: " + warning);
}

// Where --teams-output goes ("-": standard output; empty: not asked for),
// and what it is made of.
struct TeamsOutput {
  std::string path;
  tool::MapDisplays displays;
  bool Wanted() const { return !path.empty(); }
};

// Opens the teams output while the season (and the text's file) are open,
// so that naming either is refused as a file in use.
bool OpenTeamsOutput(const TeamsOutput& teams) {
  if (!teams.Wanted()) return true;
  std::string failure = OpenToolOutput(kTeamsFile, teams.path);
  if (failure.empty()) return true;
  files::CloseAllFiles();
  PrintFailure(failure);
  return false;
}

// The teams of a whole import into the teams file, unwritten while nothing
// is committed: 0, or 1 with the failure printed and every file closed. A
// teams output to standard output waits for FinishTeamsOutput.
int PutTeamsOutput(const TeamsOutput& teams, const tool::SeasonImporter& importer) {
  if (!teams.Wanted() || ToStandardOutput(teams.path)) return 0;
  int code = PutToolOutput(kTeamsFile, teams.path, tool::ImportedTeamsCsv(importer.teams(), teams.displays));
  if (code == 0) return 0;
  files::CloseAllFiles();
  PrintFailure(CannotText(FailedStep::kWrite, "file", teams.path, code));
  return 1;
}

// Puts the teams out once the text is, and closes every file.
int FinishTeamsOutput(const TeamsOutput& teams, const tool::SeasonImporter& importer) {
  if (!teams.Wanted()) {
    files::CloseAllFiles();
    return 0;
  }
  int failure = 0;
  if (ToStandardOutput(teams.path)) {
    failure = PutToolOutput(kTeamsFile, teams.path, tool::ImportedTeamsCsv(importer.teams(), teams.displays));
  }
  return FinishToolOutput(kTeamsFile, teams.path, failure);
}

// The text into `output`, held until the season is known to import whole:
// a file put in place at the end, or, for standard output, a temporary
// file copied out at the end (for standard input, which can be read only
// once, and while a teams file is open, which keeps the season from being
// opened again).
int ImportHeld(const std::string& season, const tool::ImportOptions& options,
               const std::string& output, const TeamsOutput& teams) {
  // The season is opened first: an output that is the season file itself is
  // refused as a file in use, and the season keeps its bytes.
  if (int code = OpenToolInput(kToolInputFile, season)) {
    PrintFailure(CannotText(FailedStep::kOpen, "season file", season, code));
    return 1;
  }
  OutputSpool text(kToolOutputFile, output, "the imported text");
  if (std::string failure = text.Open(); !failure.empty()) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  if (!OpenTeamsOutput(teams)) return 1;
  int put_failure = 0;
  tool::SeasonImporter importer(options, [&](std::string_view piece) {
    if (put_failure == 0) put_failure = text.Put(piece);
  });
  std::string failure = ReadWhileWanted(kToolInputFile, season, "season file",
                                        [&](std::string_view piece) { importer.TakeBytes(piece); },
                                        [&] { return !importer.Stopped(); });
  importer.Finish();
  // A season that could not be read says so alone: what the import made of
  // its part would only mislead.
  if (!failure.empty()) {
    files::CloseAllFiles();  // an uncommitted text or teams file is removed
    PrintFailure(failure);
    return 1;
  }
  PrintReport(importer.report());
  if (!importer.report().Succeeded()) {
    files::CloseAllFiles();
    return 1;
  }
  if (put_failure == 0 && PutTeamsOutput(teams, importer) != 0) return 1;
  if (text.Finish(true, put_failure) != 0) {
    files::CloseAllFiles();
    return 1;
  }
  return FinishTeamsOutput(teams, importer);
}

// The text to standard output, written only once the season is known to
// import whole: a season file is read twice, so that neither memory nor a
// temporary file holds the text.
int ImportToStandardOutput(const std::string& season, const tool::ImportOptions& options) {
  tool::ImportReport report;
  std::string failure = ImportInto(season, options, [](std::string_view) {}, &report);
  if (!failure.empty()) {
    PrintFailure(failure);
    return 1;
  }
  PrintReport(report);
  if (!report.Succeeded()) return 1;
  failure = ImportInto(season, options, [](std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }, &report);
  if (!failure.empty() || !report.Succeeded()) {
    PrintFailure(CannotText(FailedStep::kRead, "season file", season, "it changed while it was read"));
    return 1;
  }
  return FinishStandardOutput();
}

}  // namespace

int RunImport(const std::string& season, const ImportArguments& arguments) {
  tool::ImportOptions options;
  options.source_name = season;
  if (!arguments.leagues.empty()) {
    std::string problem;
    if (!tool::ParseLeagueList(arguments.leagues, &options.leagues, &problem)) {
      PrintFailure("--league: " + problem);
      return kUsageError;
    }
  }
  TeamsOutput teams{arguments.teams_output, {}};
  if (teams.Wanted() && ToStandardOutput(teams.path) && ToStandardOutput(arguments.output)) {
    PrintFailure("--teams-output -: the text goes to standard output already; give --output or "
                 "--teams-output a file");
    return kUsageError;
  }
  if (!arguments.teams.empty() && !ReadMap(arguments.teams, &options.teams, &teams.displays)) return 1;
  if (ToStandardOutput(arguments.output) && season != "-" && !teams.Wanted()) {
    return ImportToStandardOutput(season, options);
  }
  return ImportHeld(season, options, arguments.output, teams);
}

namespace {

/// import --help.
constexpr char kHelp[] =
    "Usage: schedule-tool import [--league LIST] [--teams MAP] [--output TEXT]\n"
    "                            [--teams-output FILE] SEASON\n"
    "\n"
    "Writes the schedule text for the season file SEASON (- for standard\n"
    "input), one game per row as Retrosheet publishes them: for each date, in\n"
    "the file's order, a line [MM/DD/YY] and its games, the visitor in columns\n"
    "1-8 and the home team from column 10, CR LF line ends. Every game is kept\n"
    "on its date, postponed or not. A team's name is the two-digit year, the\n"
    "first letter of its league, and the first five letters of its city, in\n"
    "lower case: the 1945 New York Giants are 45nnewyo.\n"
    "\n"
    "  --league LIST  keep the games between teams of these leagues, e.g. NL,AA\n"
    "  --teams MAP    name teams from the file MAP: lines CODE,NAME (names of 1\n"
    "                 to 8 bytes, no blank, comma, double quote or control byte,\n"
    "                 not starting with [), or a CSV teams file whose header\n"
    "                 names its code and name columns (as --teams-output\n"
    "                 writes); blank lines and lines starting with # are skipped\n"
    "  --output TEXT  write the text to TEXT (- is standard output); on an\n"
    "                 error nothing is written\n"
    "  --teams-output FILE  write the season's teams to FILE (- is standard\n"
    "                 output) as CSV, CR LF: the header name,code,league,display,\n"
    "                 then a row a team in the order the text first names\n"
    "                 them; the display name is a CSV MAP's, else the team\n"
    "                 list's city and nickname. On an error nothing is written;\n"
    "                 FILE may not be SEASON or TEXT\n"
    "\n"
    "Errors, as FILE:LINE: message: a row of other than 12 fields, a date that\n"
    "is no real day or goes backwards, an unknown team code (name it with\n"
    "--teams), a game number other than 0, 1, 2, two teams of one season with\n"
    "the same name. A date of more than 15 games is a warning: a schedule keeps\n"
    "its first 15.\n"
    "\n"
    "The information used here was obtained free of charge from and is\n"
    "copyrighted by Retrosheet. Interested parties may contact Retrosheet at\n"
    "www.retrosheet.org.\n"
    "\n"
    "Exit status: 0 written (warnings on standard error), 1 an error, 2 usage.\n";

}  // namespace

Command ImportCommand() {
  return {.name = "import",
          .synopsis = {"schedule-tool import [--league LIST] [--teams MAP] [--output TEXT]",
                       "                     [--teams-output FILE] SEASON"},
          .summary = "Writes the schedule text of a season file of Retrosheet's (one\n"
                     "game per row).",
          .help = kHelp,
          .options = {ValueOption("--league"),
                      ValueOption("--teams"),
                      ValueOption("--output"),
                      ValueOption("--teams-output")},
          .inputs = {OperandInput("SEASON"), OptionInput("--teams")},
          .outputs = {OptionInput("--output"), OptionInput("--teams-output")},
          .operands = 1,
          .operands_wrong = "import takes one SEASON file",
          .run = [](const CommandLine& line) {
            ImportArguments arguments;
            arguments.leagues = line.Value("--league");
            arguments.teams = line.Value("--teams");
            arguments.output = line.Value("--output");
            arguments.teams_output = line.Value("--teams-output");
            return RunImport(line.operands[0], arguments);
          }};
}

}  // namespace tool
