#include "tool/dump/dump_command.h"

#include <ostream>
#include <vector>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "schedule/messages.h"
#include "tool/output_batcher.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

using schedule::CannotText;
using schedule::FailedStep;

void PrintProblems(const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) PrintFailure(problem);
}

}  // namespace

int RunDump(const std::string& file, DumpFormat format, const std::string& output) {
  if (ToStandardOutput(output)) {
    // A large file's dump goes out in pieces, not a write each few KiB.
    OutputBatcher gathered(ToToolOutput(kToolOutputFile, output));
    std::ostream dumped(&gathered);
    std::vector<std::string> problems;
    bool shown = DumpSchedule(file, format, dumped, &problems);
    gathered.Finish();
    PrintProblems(problems);
    int written = FinishStandardOutput();
    return shown ? written : 1;
  }
  // The schedule file is opened first and held, so that a dump onto it is
  // refused as a file in use; the dump goes into a new file as it is made,
  // put in place only when the whole file was shown.
  int16_t number = 0;
  std::string failure;
  if (!OpenScheduleForDump(file, &number, &failure)) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  if (int code = files::OpenForOutput(kToolOutputFile, output)) {
    files::CloseAllFiles();
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
    return 1;
  }
  OutputBatcher gathered(ToToolOutput(kToolOutputFile, output));
  std::ostream dumped(&gathered);
  std::vector<std::string> problems;
  bool shown = DumpOpenSchedule(file, number, format, dumped, &problems);
  gathered.Finish();
  PrintProblems(problems);
  if (!shown) {
    files::CloseAllFiles();  // a dump not put in place is removed
    return 1;
  }
  return FinishToolOutput(kToolOutputFile, output, gathered.failure());
}

namespace {

/// dump --help.
constexpr char kHelp[] =
    "Usage: schedule-tool dump [--format list|text|csv] [--output OUT] FILE\n"
    "\n"
    "Shows what the schedule file FILE (- for standard input) holds. Names are\n"
    "shown byte for byte as stored.\n"
    "\n"
    "  --format list  one block per date with its games, blank slots left out\n"
    "                 (the default)\n"
    "  --format text  the schedule text, CR LF line ends, that builds exactly\n"
    "                 this file again; a file no text can build again is\n"
    "                 refused, naming the record and slot\n"
    "  --format csv   one row per game: record, date, slot, visitor, home,\n"
    "                 options\n"
    "  --output OUT   writes the dump to the file OUT, byte for byte, instead of\n"
    "                 standard output (- is standard output); nothing is\n"
    "                 written when FILE is refused\n"
    "\n"
    "A file whose size is no whole number of 430-byte records, whose first\n"
    "record is not the header, or with a later record that is no date record\n"
    "is reported with the record number and its offset, and nothing is shown.\n"
    "\n"
    "Exit status: 0 shown, 1 not shown (the reasons go to standard error), 2 usage.\n";

}  // namespace

Command DumpCommand() {
  return {.name = "dump",
          .synopsis = {"schedule-tool dump [--format list|text|csv] [--output OUT] FILE"},
          .summary = "Shows what the schedule file FILE holds.",
          .help = kHelp,
          .options = {ValueOption("--format", "list", {"list", "text", "csv"}),
                      ValueOption("--output")},
          .inputs = {OperandInput("FILE")},
          .outputs = {OptionInput("--output")},
          .operands = 1,
          .operands_wrong = "dump takes one schedule FILE",
          .run = [](const CommandLine& line) {
            const std::string& format = line.Value("--format");
            return RunDump(line.operands[0],
                           format == "text" ? DumpFormat::kText
                           : format == "csv" ? DumpFormat::kCsv
                                             : DumpFormat::kListing,
                           line.Value("--output"));
          }};
}

}  // namespace tool
