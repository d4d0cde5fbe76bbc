// schedule-tool: the schedule conversion from the command line, for scripts.
//
//   schedule-tool build INPUT OUTPUT
//
// Exit status: 0 when the schedule file was written (warnings allowed),
// 1 when something failed, 2 when the command line was not understood.
#include <cfenv>
#include <cstdio>
#include <cstring>
#include <string>

#include "schedule/build_report.h"
#include "schedule/schedule_builder.h"

namespace {

constexpr char kUsage[] =
    "Usage: schedule-tool build INPUT OUTPUT\n"
    "       schedule-tool --help | --version\n"
    "\n"
    "build   Converts the schedule text file INPUT into the schedule file OUTPUT\n"
    "        (430-byte records; by convention named with the .SCH extension).\n"
    "        An existing OUTPUT is overwritten and cut to the records written.\n"
    "\n"
    "Input format: date lines in brackets, e.g. [04/10/45], each followed by\n"
    "the games of that date, one per line: visitor file name in columns 1-8,\n"
    "home file name in columns 10-17, options (if any) in columns 19-30.\n"
    "\n"
    "Exit status: 0 built (warnings go to standard error), 1 failed, 2 usage.\n";

int Build(const std::string& input, const std::string& output) {
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

}  // namespace

int main(int argc, char** argv) {
  // Record numbers round to nearest, halves to even.
  std::fesetround(FE_TONEAREST);
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("schedule-tool %s\n", ZELTO_VERSION);
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "build") == 0) return Build(argv[2], argv[3]);
  std::fputs(kUsage, stderr);
  return 2;
}
