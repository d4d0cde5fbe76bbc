#include "tool/build/build_command.h"

#include <cstdio>

#include "schedule/messages.h"
#include "schedule/schedule_builder.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {

using schedule::BuildFailure;
using schedule::BuildOutcome;
using schedule::BuildWarning;
using schedule::FailedStep;
using schedule::FileRole;

int RunBuild(const std::string& input, const std::string& output) {
  // "-" (or a name of standard output itself) is standard output; an empty
  // name stays a bad file name, as everywhere.
  const bool to_standard_output = !output.empty() && ToStandardOutput(output);
  BuildOutcome outcome;
  if (int code = OpenToolInput(schedule::kInputFile, input)) {
    outcome.failures.push_back({FileRole::kInput, FailedStep::kOpen, code});
  } else if (to_standard_output) {
    outcome = schedule::BuildScheduleToStandardOutput(schedule::kBatchBuffers);
  } else {
    outcome = schedule::BuildScheduleFromOpenInput(output, schedule::kBatchBuffers);
  }
  // A warning names the file and its line, as check's findings and import's
  // warnings do.
  for (const BuildWarning& warning : outcome.warnings) {
    const std::string where =
        warning.line > 0 ? input + ":" + std::to_string(warning.line) : input;
    PrintFailure("warning: " + where + ": " + warning.message);
  }
  for (const BuildFailure& failure : outcome.failures) {
    PrintFailure(DescribeFailure(failure, input, output));
  }
  if (!outcome.Succeeded()) return 1;
  // Standard output holds the schedule's bytes alone: the summary goes
  // beside the warnings then.
  std::fprintf(to_standard_output ? stderr : stdout, "%s: %s\n", output.c_str(),
               schedule::RecordsWrittenText(outcome.records_written).c_str());
  return 0;
}

namespace {

/// build --help.
constexpr char kHelp[] =
    "Usage: schedule-tool build INPUT OUTPUT\n"
    "\n"
    "Converts the schedule text file INPUT (- for standard input) into the\n"
    "schedule file OUTPUT (- for standard output, the summary then on standard\n"
    "error): a header record, then one 430-byte record per date with up to 15\n"
    "games. A complete build replaces OUTPUT; a build that fails leaves OUTPUT\n"
    "as it was (nothing reaches standard output). An INPUT with no date line,\n"
    "in UTF-16, or that is itself a schedule file (the two names swapped)\n"
    "builds nothing.\n"
    "\n"
    "Exit status: 0 built (warnings go to standard error), 1 failed, 2 usage.\n";

}  // namespace

Command BuildCommand() {
  return {.name = "build",
          .synopsis = {"schedule-tool build INPUT OUTPUT"},
          .summary = "Converts the schedule text file INPUT into the schedule file OUTPUT\n"
                     "(430-byte records; by convention named with the .SCH extension).",
          .help = kHelp,
          .options = {},
          .inputs = {OperandInput("INPUT")},
          .outputs = {OperandInput("OUTPUT", 1)},
          .operands = 2,
          .operands_wrong = "build takes an INPUT and an OUTPUT file",
          .run = [](const CommandLine& line) {
            return RunBuild(line.operands[0], line.operands[1]);
          }};
}

}  // namespace tool
