#include "tool/tool_commands.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <vector>

#include "files/file_access.h"
#include "frame/run_time_errors.h"
#include "schedule/build_report.h"
#include "schedule/schedule_builder.h"
#include "tool/schedule_check.h"
#include "tool/tool_input.h"

namespace tool {

using schedule::BuildFailure;
using schedule::BuildOutcome;
using schedule::BuildScheduleFromOpenInput;
using schedule::BuildWarning;
using schedule::CannotText;
using schedule::FailedStep;
using schedule::FileRole;
using schedule::RecordsWrittenText;
using schedule::kBatchBuffers;
using schedule::kInputFile;

namespace {

// The files a dump to a file holds: the schedule file while the output is
// first tried, and the output.
constexpr int16_t kHeldScheduleFile = 1;
constexpr int16_t kDumpOutputFile = 2;

void PrintProblems(const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) PrintFailure(problem);
}

}  // namespace

int FinishStandardOutput() {
  // Output that could not be written is a failure, not a dump.
  std::cout.flush();
  std::fflush(stdout);
  if (std::cout && !std::ferror(stdout)) return 0;
  PrintFailure("Cannot write to standard output");
  return 1;
}

void PrintFailure(const std::string& message) {
  std::fprintf(stderr, "schedule-tool: %s\n", message.c_str());
}

int RunBuild(const std::string& input, const std::string& output) {
  BuildOutcome outcome;
  if (int code = OpenToolInput(kInputFile, input)) {
    outcome.failures.push_back({FileRole::kInput, FailedStep::kOpen, code});
  } else {
    outcome = BuildScheduleFromOpenInput(output, kBatchBuffers);
  }
  for (const BuildWarning& warning : outcome.warnings) {
    PrintFailure("warning: " + DescribeWarning(warning));
  }
  for (const BuildFailure& failure : outcome.failures) {
    PrintFailure(DescribeFailure(failure, input, output));
  }
  if (!outcome.Succeeded()) return 1;
  std::printf("%s: %s\n", output.c_str(), RecordsWrittenText(outcome.records_written).c_str());
  return 0;
}

int RunDump(const std::string& file, DumpFormat format, const std::string& output) {
  if (output.empty() || output == "-") {
    std::vector<std::string> problems;
    bool shown = DumpSchedule(file, format, std::cout, &problems);
    PrintProblems(problems);
    int written = FinishStandardOutput();
    return shown ? written : 1;
  }
  // The dump is known whole before the file is written, so that a refused
  // dump leaves no file behind; the output goes into a new file put in
  // place whole. The schedule file is held open meanwhile, so that a dump
  // onto it is refused as a file in use.
  if (file != "-") {
    if (int code = files::OpenForInput(kHeldScheduleFile, file, 1)) {
      PrintFailure(CannotText(FailedStep::kOpen, "schedule file", file, code));
      return 1;
    }
    int code = files::OpenForOutput(kDumpOutputFile, output);
    files::CloseAllFiles();
    if (code != 0) {
      PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
      return 1;
    }
  }
  std::ostringstream dumped;
  std::vector<std::string> problems;
  bool shown = DumpSchedule(file, format, dumped, &problems);
  PrintProblems(problems);
  if (!shown) return 1;
  const std::string bytes = dumped.str();
  int code = files::OpenForOutput(kDumpOutputFile, output);
  if (code == 0) {
    code = files::WriteBytes(kDumpOutputFile, reinterpret_cast<const uint8_t*>(bytes.data()),
                             static_cast<uint32_t>(bytes.size()));
  }
  if (code == 0) code = files::CommitOutput(kDumpOutputFile);
  files::CloseAllFiles();
  if (code != 0) {
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
    return 1;
  }
  return 0;
}

int RunCheck(const std::string& input) {
  std::vector<CheckFinding> findings;
  std::string failure;
  if (!CheckScheduleFile(input, &findings, &failure)) {
    PrintFailure(failure);
    return 1;
  }
  for (const CheckFinding& finding : findings) {
    std::cout << input << ':' << finding.line << ": " << finding.message << '\n';
  }
  int written = FinishStandardOutput();
  return findings.empty() ? written : 1;
}

}  // namespace tool
