#include "tool/tool_commands.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <vector>

#include "files/file_access.h"
#include "files/file_replace.h"
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

// The output of a dump to a file, beside the schedule file (kDumpFile).
constexpr int16_t kDumpOutputFile = 2;
static_assert(kDumpOutputFile != kDumpFile, "the dump reads one file and writes another");

// Gathers what a stream writes and hands it on 64 KiB at a time: to text
// output open under a file number, or to standard output. The first
// failure is kept and ends the writing.
class GatheredOutput : public std::streambuf {
 public:
  static constexpr int16_t kStandardOutput = -1;
  explicit GatheredOutput(int16_t number) : number_(number), bytes_(new char[kSize]) {
    setp(bytes_.get(), bytes_.get() + kSize);
  }
  int failure() const { return failure_; }

 protected:
  int_type overflow(int_type byte) override {
    if (!Pass()) return traits_type::eof();
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(byte);
      pbump(1);
    }
    return traits_type::not_eof(byte);
  }
  int sync() override { return Pass() ? 0 : -1; }
  // A piece larger than the buffer goes on as it stands, after what was
  // gathered before it, rather than copied through the buffer.
  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    if (count < static_cast<std::streamsize>(kSize)) return std::streambuf::xsputn(bytes, count);
    if (!Pass() || !Hand(bytes, static_cast<uint32_t>(count))) return 0;
    return count;
  }

 private:
  static constexpr uint32_t kSize = 64 * 1024;

  bool Pass() {
    const auto count = static_cast<uint32_t>(pptr() - pbase());
    Hand(pbase(), count);
    setp(bytes_.get(), bytes_.get() + kSize);
    return failure_ == 0;
  }

  // Hands `count` bytes on, unless a failure came before.
  bool Hand(const char* bytes, uint32_t count) {
    if (failure_ == 0 && count > 0) {
      if (number_ == kStandardOutput) {
        // Larger than stdio's buffer: written as it stands.
        if (std::fwrite(bytes, 1, count, stdout) != count) failure_ = frame::kDeviceError;
      } else {
        failure_ = files::WriteBytes(number_, reinterpret_cast<const uint8_t*>(bytes), count);
      }
    }
    return failure_ == 0;
  }

  int16_t number_;
  int failure_ = 0;
  std::unique_ptr<char[]> bytes_;
};

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
    // A large file's dump goes out in blocks, not a write each few KiB.
    GatheredOutput gathered(GatheredOutput::kStandardOutput);
    std::ostream dumped(&gathered);
    std::vector<std::string> problems;
    bool shown = DumpSchedule(file, format, dumped, &problems);
    dumped.flush();
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
  if (int code = files::OpenForOutput(kDumpOutputFile, output)) {
    files::CloseAllFiles();
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
    return 1;
  }
  GatheredOutput gathered(kDumpOutputFile);
  std::ostream dumped(&gathered);
  std::vector<std::string> problems;
  bool shown = DumpOpenSchedule(file, number, format, dumped, &problems);
  dumped.flush();
  PrintProblems(problems);
  int code = gathered.failure();
  if (shown && code == 0) code = files::CommitOutput(kDumpOutputFile);
  files::CloseAllFiles();  // a dump not put in place is removed
  if (!shown) return 1;
  if (code != 0) {
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
    return 1;
  }
  return 0;
}

int RunCheck(const std::string& input) {
  // Each finding goes out as it is found, gathered into blocks: a text may
  // hold one on every line.
  GatheredOutput gathered(GatheredOutput::kStandardOutput);
  std::ostream out(&gathered);
  int64_t found = 0;
  std::string failure;
  bool read = CheckScheduleFile(input, [&](const CheckFinding& finding) {
    out << input << ':' << finding.line << ": " << finding.message << '\n';
    ++found;
  }, &failure);
  out.flush();
  if (!read) {
    PrintFailure(failure);
    return 1;
  }
  int written = FinishStandardOutput();
  return found == 0 ? written : 1;
}

}  // namespace tool
