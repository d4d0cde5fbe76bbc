// schedule-tool import: a season file as schedule text. The season file is
// read through file access a piece at a time; the text goes to a file that
// is put in place only when the whole season imported without an error, or
// to standard output once the season is known to import whole.
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
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {

using schedule::CannotText;
using schedule::FailedStep;

namespace {

// The season file (and before it the MAP) is read as kToolInputFile, the
// text written as kToolOutputFile. The text of standard input is kept
// under this one until it is known whole, and read back in these pieces.
constexpr int16_t kTextSpool = 3;
constexpr int64_t kSpoolPiece = 32 * 1024;
// A MAP names a season's teams: a few dozen lines.
constexpr size_t kMaxMapBytes = 1024 * 1024;

// The names of a MAP file; false when it cannot be read or holds lines it
// refuses (each printed).
bool ReadMap(const std::string& map, std::vector<tool::MappedName>* teams) {
  std::string text;
  std::string failure = ReadWholeInput(kToolInputFile, map, "team map", kMaxMapBytes,
                                       [&](std::string_view piece) { text.append(piece); });
  files::CloseAllFiles();
  if (!failure.empty()) {
    PrintFailure(failure);
    return false;
  }
  std::vector<std::string> errors;
  tool::ReadTeamMap(text, map, teams, &errors);
  for (const std::string& error : errors) PrintFailure(error);
  return errors.empty();
}

// One import of the season into `sink`; the failure to read it, if any.
std::string ImportInto(const std::string& season, const tool::ImportOptions& options,
                       const tool::TextSink& sink, tool::ImportReport* report,
                       bool keep_open = false) {
  tool::SeasonImporter importer(options, sink);
  std::string failure = ReadWholeInput(kToolInputFile, season, "season file", 0,
                                       [&](std::string_view piece) { importer.TakeBytes(piece); });
  if (!keep_open) files::CloseAllFiles();
  importer.Finish();
  *report = importer.report();
  return failure;
}

void PrintReport(const tool::ImportReport& report) {
  for (const std::string& error : report.errors) PrintFailure(error);
  for (const std::string& warning : report.warnings) PrintFailure("warning: " + warning);
}

// The text into the file `output`, put in place only when the import is whole.
int ImportToFile(const std::string& season, const tool::ImportOptions& options,
                 const std::string& output) {
  // The season is opened first: an output that is the season file itself is
  // refused as a file in use, and the season keeps its bytes.
  if (int code = OpenToolInput(kToolInputFile, season)) {
    PrintFailure(CannotText(FailedStep::kOpen, "season file", season, code));
    return 1;
  }
  if (int code = files::OpenForOutput(kToolOutputFile, output)) {
    files::CloseAllFiles();
    PrintFailure(CannotText(FailedStep::kOpen, "file", output, code));
    return 1;
  }
  int write_failure = 0;
  tool::SeasonImporter importer(options, [&](std::string_view text) {
    if (write_failure != 0) return;
    write_failure =
        files::WriteBytes(kToolOutputFile, reinterpret_cast<const uint8_t*>(text.data()),
                          static_cast<uint32_t>(text.size()));
  });
  std::string failure = ReadToEnd(kToolInputFile, season, "season file", 0,
                                  [&](std::string_view piece) { importer.TakeBytes(piece); });
  importer.Finish();
  if (failure.empty()) {
    PrintReport(importer.report());
  } else {
    PrintFailure(failure);
  }
  bool whole = failure.empty() && importer.report().Succeeded() && write_failure == 0;
  if (whole) write_failure = files::CommitOutput(kToolOutputFile);
  files::CloseAllFiles();  // an uncommitted text is removed
  if (write_failure != 0) {
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, write_failure));
    return 1;
  }
  return whole ? 0 : 1;
}

// Copies the spool open as kTextSpool to standard output.
int CopySpoolOut() {
  uint8_t chunk[64 * 1024];
  for (uint64_t offset = 0;;) {
    uint32_t got = 0;
    if (int code = files::ReadBytesAt(kTextSpool, offset, chunk, sizeof chunk, &got)) return code;
    if (got == 0) return 0;
    if (std::fwrite(chunk, 1, got, stdout) != got) return 0;  // FinishStandardOutput tells
    offset += got;
  }
}

// The text to standard output, written only once the season is known to
// import whole: a season file is read twice; standard input, which can be
// read only once, has its text put into a temporary file meanwhile, so that
// memory never holds it.
int ImportToStandardOutput(const std::string& season, const tool::ImportOptions& options) {
  const bool standard_input = season == "-";
  int spool_code = standard_input ? files::OpenSpool(kTextSpool, kSpoolPiece) : 0;
  tool::ImportReport report;
  std::string failure = ImportInto(season, options, [&](std::string_view text) {
    if (!standard_input || spool_code != 0) return;
    spool_code = files::WriteBytes(kTextSpool, reinterpret_cast<const uint8_t*>(text.data()),
                                   static_cast<uint32_t>(text.size()));
  }, &report, standard_input);
  // A season that could not be read says so alone: what the import made of
  // its part would only mislead.
  if (!failure.empty()) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  PrintReport(report);
  if (!report.Succeeded()) {
    files::CloseAllFiles();
    return 1;
  }
  if (standard_input) {
    if (spool_code == 0) spool_code = CopySpoolOut();
    files::CloseAllFiles();
    if (spool_code != 0) {
      PrintFailure(schedule::TemporaryFileText(FailedStep::kWrite, "the text of standard input",
                                             spool_code));
      return 1;
    }
  } else {
    failure = ImportInto(season, options, [](std::string_view text) {
      std::fwrite(text.data(), 1, text.size(), stdout);
    }, &report);
    if (!failure.empty() || !report.Succeeded()) {
      PrintFailure(CannotText(FailedStep::kRead, "season file", season, "it changed while it was read"));
      return 1;
    }
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
  if (!arguments.teams.empty() && !ReadMap(arguments.teams, &options.teams)) return 1;
  if (arguments.output.empty() || arguments.output == "-") {
    return ImportToStandardOutput(season, options);
  }
  return ImportToFile(season, options, arguments.output);
}

}  // namespace tool
