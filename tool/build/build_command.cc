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

}  // namespace tool
