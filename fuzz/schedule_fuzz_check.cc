#include "fuzz/schedule_fuzz_check.h"

#include <bitset>
#include <sstream>
#include <cstdio>
#include <vector>

#include "files/read_field.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "fuzz/build_refusal.h"
#include "schedule/messages.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_record.h"
#include "tool/check/check_text.h"
#include "tool/dump/dump_schedule.h"

namespace fuzz {
namespace {

using schedule::kRecordLength;

std::string ReadWholeFile(const std::string& name) {
  std::string bytes;
  FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return bytes;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  std::fclose(file);
  return bytes;
}

bool WriteWholeFile(const std::string& name, std::string_view bytes) {
  FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// The failures of a build in the words the user would see.
std::string Failures(const schedule::BuildOutcome& outcome, const std::string& input,
                     const std::string& output) {
  std::string text;
  for (const schedule::BuildFailure& failure : outcome.failures) {
    text += schedule::DescribeFailure(failure, input, output) + "; ";
  }
  return text;
}

std::string Joined(const std::vector<schedule::BuildWarning>& warnings) {
  std::string text;
  for (const schedule::BuildWarning& warning : warnings) {
    text += schedule::DescribeWarning(warning) + "\n";
  }
  return text;
}

// check and build read the same way: every warning of the build is a
// finding of check on the same line.
std::string CheckAgreesWithBuild(const std::string& input_name,
                                 const schedule::BuildOutcome& outcome) {
  std::vector<tool::CheckFinding> findings;
  std::string failure;
  if (!tool::CheckScheduleFile(input_name, &findings, &failure)) {
    return "check cannot read what build built: " + failure;
  }
  for (const schedule::BuildWarning& warning : outcome.warnings) {
    bool found = false;
    for (const tool::CheckFinding& finding : findings) found |= finding.line == warning.line;
    if (!found) return "check finds nothing on the line of the warning: " + schedule::DescribeWarning(warning);
  }
  return "";
}

// dump --format text of the built file rebuilds the same bytes.
std::string DumpTextRebuilds(const std::string& schedule_name, const std::string& bytes,
                             const std::string& folder) {
  std::ostringstream text;
  std::vector<std::string> problems;
  if (!tool::DumpSchedule(schedule_name, tool::DumpFormat::kText, text, &problems)) {
    return "dump --format text refuses what build built: " + (problems.empty() ? "" : problems[0]);
  }
  const std::string again_text = folder + "/again.txt";
  const std::string again_name = folder + "/again.SCH";
  if (!WriteWholeFile(again_text, text.str())) return "cannot write the dumped text";
  schedule::BuildOutcome again = schedule::BuildSchedule(again_text, again_name);
  if (!again.Succeeded()) return "the dumped text does not build: " + Failures(again, again_text, again_name);
  if (ReadWholeFile(again_name) != bytes) return "the dumped text builds other bytes";
  return "";
}

}  // namespace

std::string CheckScheduleBuild(std::string_view input, const std::string& folder) {
  const std::string input_name = folder + "/season.txt";
  const std::string dialogue_name = folder + "/dialogue.SCH";
  const std::string batch_name = folder + "/batch.SCH";
  if (!WriteWholeFile(input_name, input)) return "cannot write the input file";
  std::remove(dialogue_name.c_str());
  // An older, longer schedule of zero bytes: whatever the build leaves of
  // it shows as zero bytes where spaces belong.
  if (!WriteWholeFile(batch_name, std::string(40 * kRecordLength + 17, '\0'))) {
    return "cannot write the older schedule";
  }

  const std::string older(40 * kRecordLength + 17, '\0');
  schedule::BuildOutcome dialogue = schedule::BuildSchedule(input_name, dialogue_name);
  if (RefusedAsAWhole(dialogue)) {
    // Nothing is built, and an older schedule keeps its bytes.
    schedule::BuildOutcome batch = schedule::BuildSchedule(input_name, batch_name, schedule::kBatchBuffers);
    if (!RefusedAsAWhole(batch)) return "the batch buffers do not refuse what the dialogue refuses";
    if (ReadWholeFile(batch_name) != older) return "a refused input changed the older schedule";
    if (dialogue.records_written != 0) return "a refused input wrote records";
    frame::ResetErrorWord();
    return "";
  }
  if (!dialogue.Succeeded()) return "dialogue build failed: " + Failures(dialogue, input_name, dialogue_name);
  std::string bytes = ReadWholeFile(dialogue_name);
  if (std::string problem = CheckScheduleBytes(bytes, dialogue.records_written, input);
      !problem.empty()) {
    return "dialogue build: " + problem;
  }
  if (std::string problem = CheckAgreesWithBuild(input_name, dialogue); !problem.empty()) {
    return problem;
  }
  if (std::string problem = DumpTextRebuilds(dialogue_name, bytes, folder); !problem.empty()) {
    return problem;
  }

  schedule::BuildOutcome batch =
      schedule::BuildSchedule(input_name, batch_name, schedule::kBatchBuffers);
  if (!batch.Succeeded()) return "batch build failed: " + Failures(batch, input_name, batch_name);
  if (ReadWholeFile(batch_name) != bytes) return "the batch buffers give other bytes";
  if (batch.records_written != dialogue.records_written || batch.warnings != dialogue.warnings) {
    return "the batch buffers give other warnings:\n" + Joined(batch.warnings) + "against\n" +
           Joined(dialogue.warnings);
  }

  schedule::BuildOutcome again = schedule::BuildSchedule(input_name, dialogue_name);
  if (!again.Succeeded()) return "second build failed: " + Failures(again, input_name, dialogue_name);
  if (ReadWholeFile(dialogue_name) != bytes) return "a second build gives other bytes";
  if (again.warnings != dialogue.warnings) return "a second build gives other warnings";

  if (ReadWholeFile(input_name) != input) return "the input file was changed";
  frame::ResetErrorWord();
  return "";
}

}  // namespace fuzz
