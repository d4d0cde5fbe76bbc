// schedule-tool: the schedule conversion from the command line, for scripts,
// and the commands around it.
//
//   schedule-tool build INPUT OUTPUT
//   schedule-tool dump [--format list|text|csv] [--output OUT] FILE
//   schedule-tool check INPUT
//
// Exit status: 0 done (check: nothing found), 1 failed (check: something
// found), 2 when the command line was not understood.
#include <cfenv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/program_arguments.h"
#include "schedule/build_report.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_check.h"
#include "schedule/schedule_dump.h"
#include "schedule/tool_files.h"

namespace {

constexpr int kUsageError = 2;

constexpr char kSynopsis[] =
    "Usage: schedule-tool build INPUT OUTPUT\n"
    "       schedule-tool dump [--format list|text|csv] [--output OUT] FILE\n"
    "       schedule-tool check INPUT\n"
    "       schedule-tool COMMAND --help\n"
    "       schedule-tool --help | --version\n";

// What --help adds to the synopsis.
constexpr char kOverview[] =
    "\n"
    "build   Converts the schedule text file INPUT into the schedule file OUTPUT\n"
    "        (430-byte records; by convention named with the .SCH extension).\n"
    "dump    Shows what the schedule file FILE holds.\n"
    "check   Lists the lines of the schedule text file INPUT that the build\n"
    "        takes in a way you may not expect.\n"
    "\n"
    "Input format: date lines in brackets, e.g. [04/10/45], each followed by\n"
    "the games of that date, one per line: visitor file name in columns 1-8,\n"
    "home file name in columns 10-17, options (if any) in columns 19-30.\n"
    "\n"
    "Exit status: 0 done, 1 failed (check: something found), 2 usage.\n";

constexpr char kBuildHelp[] =
    "Usage: schedule-tool build INPUT OUTPUT\n"
    "\n"
    "Converts the schedule text file INPUT into the schedule file OUTPUT: a\n"
    "header record, then one 430-byte record per date with up to 15 games.\n"
    "An existing OUTPUT is overwritten and cut to the records written; an\n"
    "INPUT that cannot be opened leaves OUTPUT untouched.\n"
    "\n"
    "Exit status: 0 built (warnings go to standard error), 1 failed, 2 usage.\n";

constexpr char kDumpHelp[] =
    "Usage: schedule-tool dump [--format list|text|csv] [--output OUT] FILE\n"
    "\n"
    "Shows what the schedule file FILE holds. Names are shown byte for byte\n"
    "as stored.\n"
    "\n"
    "  --format list  one block per date with its games, blank slots left out\n"
    "                 (the default)\n"
    "  --format text  the schedule text, CR LF line ends, that builds exactly\n"
    "                 this file again; a file no text can build again is\n"
    "                 refused, naming the record and slot\n"
    "  --format csv   one row per game: record, date, slot, visitor, home,\n"
    "                 options\n"
    "  --output OUT   writes the dump to the file OUT, byte for byte, instead of\n"
    "                 standard output; nothing is written when FILE is refused\n"
    "\n"
    "A file whose size is no whole number of 430-byte records, whose first\n"
    "record is not the header, or with a later record that is no date record\n"
    "is reported with the record number and its offset, and nothing is shown.\n"
    "\n"
    "Exit status: 0 shown, 1 not shown (the reasons go to standard error), 2 usage.\n";

constexpr char kCheckHelp[] =
    "Usage: schedule-tool check INPUT\n"
    "\n"
    "Lists every line of the schedule text file INPUT that the build takes\n"
    "in a way you may not expect, one per line as FILE:LINE: message: a team\n"
    "name longer than 8 characters, text beyond column 30, a date that is not\n"
    "MM/DD/YY or no real day, dates out of order, more than 15 games on a date,\n"
    "game lines before the first date, blank lines that take a game slot,\n"
    "commas, double quotes or TAB bytes that split or change a line, and a\n"
    "Ctrl+Z byte (0x1A) before the end.\n"
    "\n"
    "Exit status: 0 nothing found, 1 something found or INPUT unreadable, 2 usage.\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "schedule-tool: %s\n%s", message.c_str(), kSynopsis);
  return kUsageError;
}

// Output that could not be written (a full disk, a closed pipe) is a
// failure, not a dump.
int FinishOutput() {
  std::cout.flush();
  if (std::cout) return 0;
  std::fprintf(stderr, "schedule-tool: Cannot write to standard output\n");
  return 1;
}

int Build(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("build takes an INPUT and an OUTPUT file");
  const std::string& input = args[0];
  const std::string& output = args[1];
  schedule::BuildOutcome outcome = schedule::BuildSchedule(input, output, schedule::kBatchBuffers);
  for (const std::string& warning : outcome.warnings) {
    std::fprintf(stderr, "schedule-tool: warning: %s\n", warning.c_str());
  }
  for (const schedule::BuildFailure& failure : outcome.failures) {
    std::fprintf(stderr, "schedule-tool: %s\n",
                 schedule::DescribeFailure(failure, input, output).c_str());
  }
  if (!outcome.Succeeded()) return 1;
  std::printf("%s: %d records written (the header and %d dates)\n", output.c_str(),
              outcome.records_written, outcome.records_written - 1);
  return 0;
}

// The value of option `name` at args[*i], as "--name VALUE" or
// "--name=VALUE" (empty when nothing follows); false when args[*i] is not
// that option.
bool TakeOption(const std::vector<std::string>& args, const std::string& name, size_t* i,
                std::string* value) {
  const std::string& arg = args[*i];
  if (arg == name) {
    *value = *i + 1 < args.size() ? args[++*i] : "";
    return true;
  }
  if (arg.rfind(name + "=", 0) == 0) {
    *value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

bool ParseFormat(const std::string& value, schedule::DumpFormat* format) {
  if (value == "list") {
    *format = schedule::DumpFormat::kListing;
  } else if (value == "text") {
    *format = schedule::DumpFormat::kText;
  } else if (value == "csv") {
    *format = schedule::DumpFormat::kCsv;
  } else {
    return false;
  }
  return true;
}

// Writes the dump to the file `output` once the whole of it is known, so
// that a refused dump leaves no file behind and never the schedule file
// overwritten by its own dump.
int DumpToFile(const std::string& schedule_file, schedule::DumpFormat format,
               const std::string& output) {
  std::error_code ec;
  if (std::filesystem::equivalent(schedule_file, output, ec)) {
    std::fprintf(stderr,
                 "schedule-tool: Cannot write file \"%s\": it is the schedule file "
                 "being shown\n",
                 output.c_str());
    return 1;
  }
  std::ostringstream dumped;
  std::vector<std::string> problems;
  bool shown = schedule::DumpSchedule(schedule_file, format, dumped, &problems);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "schedule-tool: %s\n", problem.c_str());
  }
  if (!shown) return 1;
  if (std::string failure = schedule::WriteWholeFile(output, dumped.str()); !failure.empty()) {
    std::fprintf(stderr, "schedule-tool: %s\n", failure.c_str());
    return 1;
  }
  return 0;
}

int Dump(const std::vector<std::string>& args) {
  schedule::DumpFormat format = schedule::DumpFormat::kListing;
  std::string output;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string value;
    if (TakeOption(args, "--output", &i, &output)) {
      if (output.empty()) return UsageError("dump: --output needs a file name");
    } else if (TakeOption(args, "--format", &i, &value)) {
      if (!ParseFormat(value, &format)) {
        return UsageError("dump: unknown format \"" + value + "\" (list, text or csv)");
      }
    } else if (args[i].rfind("--", 0) == 0) {
      return UsageError("dump: unknown option \"" + args[i] + "\"");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 1) return UsageError("dump takes one schedule FILE");
  if (!output.empty()) return DumpToFile(files[0], format, output);

  std::vector<std::string> problems;
  bool shown = schedule::DumpSchedule(files[0], format, std::cout, &problems);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "schedule-tool: %s\n", problem.c_str());
  }
  int written = FinishOutput();
  return shown ? written : 1;
}

int Check(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError("check takes one INPUT file");
  std::vector<schedule::CheckFinding> findings;
  std::string failure;
  if (!schedule::CheckScheduleFile(args[0], &findings, &failure)) {
    std::fprintf(stderr, "schedule-tool: %s\n", failure.c_str());
    return 1;
  }
  for (const schedule::CheckFinding& finding : findings) {
    std::cout << args[0] << ':' << finding.line << ": " << finding.message << '\n';
  }
  int output = FinishOutput();
  return findings.empty() ? output : 1;
}

// True when the command's arguments ask for its help.
bool AsksForHelp(const std::vector<std::string>& args) {
  return args.size() == 1 && (args[0] == "--help" || args[0] == "-h");
}

}  // namespace

int main(int argc, char** argv) {
  // Record numbers round to nearest, halves to even.
  std::fesetround(FE_TONEAREST);
  // Dumps go out byte for byte; names arrive as the file API takes them.
  frame::UseBinaryStandardOutput();
  std::vector<std::string> args = frame::ProgramArguments(argc, argv);
  if (args.empty()) return UsageError("no command given");
  std::string command = args.front();
  args.erase(args.begin());

  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kSynopsis, stdout);
    std::fputs(kOverview, stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("schedule-tool %s\n", ZELTO_VERSION);
    return 0;
  }
  if (command == "build") {
    if (AsksForHelp(args)) {
      std::fputs(kBuildHelp, stdout);
      return 0;
    }
    return Build(args);
  }
  if (command == "dump") {
    if (AsksForHelp(args)) {
      std::fputs(kDumpHelp, stdout);
      return 0;
    }
    return Dump(args);
  }
  if (command == "check") {
    if (AsksForHelp(args)) {
      std::fputs(kCheckHelp, stdout);
      return 0;
    }
    return Check(args);
  }
  return UsageError("unknown command \"" + command + "\"");
}
