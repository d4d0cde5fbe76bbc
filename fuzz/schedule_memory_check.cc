#include "fuzz/schedule_memory_check.h"

#include <cstring>
#include <vector>

#include "files/file_access.h"
#include "files/memory_files.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "fuzz/build_refusal.h"
#include "fuzz/schedule_fuzz_check.h"
#include "schedule/messages.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_record.h"
#include "tool/dump/dump_text.h"

namespace fuzz {
namespace {

using schedule::kRecordLength;

constexpr schedule::BuildBuffers kLargeBuffers{8 * 1024, 8 * kRecordLength};

struct MemoryBuild {
  schedule::BuildOutcome outcome;
  std::string bytes;
};

// Builds `input` with `buffers`, input and schedule in memory.
MemoryBuild Build(std::string_view input, schedule::BuildBuffers buffers) {
  MemoryBuild build;
  int code = files::OpenMemoryInput(schedule::kInputFile, input, buffers.read_buffer);
  if (code == 0) {
    code = files::OpenMemoryRecords(schedule::kScheduleFile, kRecordLength, buffers.write_behind,
                                    &build.bytes);
  }
  if (code != 0) {
    files::CloseAllFiles();
    build.outcome.failures.push_back(
        {schedule::FileRole::kInput, schedule::FailedStep::kOpen, code});
    return build;
  }
  build.outcome = schedule::BuildIntoOpenSchedule();
  return build;
}

std::string Described(const schedule::BuildOutcome& outcome) {
  std::string text;
  for (const schedule::BuildFailure& failure : outcome.failures) {
    text += schedule::DescribeFailure(failure, "input", "schedule") + "; ";
  }
  return text;
}

// The schedule text of the built records, as dump --format text writes
// it; false when a record cannot be written back, which no record the
// build writes may be.
bool WrittenBack(const std::string& bytes, std::string* text) {
  schedule::ScheduleRecord record;
  const char* previous = nullptr;
  char previous_date[schedule::kDateWidth];
  for (size_t at = kRecordLength; at + kRecordLength <= bytes.size(); at += kRecordLength) {
    std::memcpy(&record, bytes.data() + at, kRecordLength);
    if (!tool::CanWriteBack(record, previous)) return false;
    if (previous == nullptr) text->append(tool::WriteBackStart(record));
    tool::AppendWriteBackText(record, text);
    std::memcpy(previous_date, record.date, sizeof previous_date);
    previous = previous_date;
  }
  return true;
}

std::string Check(std::string_view input) {
  const MemoryBuild dialogue = Build(input, schedule::BuildBuffers{});
  // A buffer of a few bytes refills in the middle of every line end, mark
  // and quote; records gathered three at a time flush at odd places.
  const MemoryBuild small = Build(input, schedule::BuildBuffers{7, 3 * kRecordLength});
  for (const MemoryBuild* other : {&small}) {
    if (RefusedAsAWhole(dialogue.outcome) != RefusedAsAWhole(other->outcome)) {
      return "the buffers disagree on refusing the input: " + Described(dialogue.outcome) +
             " against " + Described(other->outcome);
    }
  }
  if (RefusedAsAWhole(dialogue.outcome)) {
    if (dialogue.outcome.records_written != 0) return "a refused input wrote records";
    return "";
  }
  if (!dialogue.outcome.Succeeded()) return "the build failed: " + Described(dialogue.outcome);
  for (const MemoryBuild* other : {&small}) {
    if (!other->outcome.Succeeded()) return "a build failed: " + Described(other->outcome);
    if (other->bytes != dialogue.bytes) return "other buffers give other bytes";
    if (other->outcome.warnings != dialogue.outcome.warnings ||
        other->outcome.records_written != dialogue.outcome.records_written) {
      return "other buffers give other warnings";
    }
  }
  if (std::string problem =
          CheckScheduleBytes(dialogue.bytes, dialogue.outcome.records_written, input);
      !problem.empty()) {
    return problem;
  }
  std::string text;
  if (!WrittenBack(dialogue.bytes, &text)) return "a built record cannot be written back as text";
  // Rebuilt with large buffers: the third size of the three. (The batch
  // command's 64 KiB are the file-backed fuzzer's: here they would cost a
  // mapping of memory per input under AddressSanitizer.)
  const MemoryBuild again = Build(text, kLargeBuffers);
  if (!again.outcome.Succeeded()) return "the text written back does not build";
  if (again.bytes != dialogue.bytes) return "the text written back builds other bytes";
  return "";
}

}  // namespace

std::string CheckScheduleInMemory(std::string_view input) {
  std::string problem = Check(input);
  frame::ResetErrorWord();
  return problem;
}

}  // namespace fuzz
