#include "schedule/build_report.h"

#include "frame/run_time_errors.h"

namespace schedule {
namespace {

const char* Verb(FailedStep step) {
  switch (step) {
    case FailedStep::kOpen: return "open";
    case FailedStep::kRead: return "read";
    case FailedStep::kWrite: return "write";
    case FailedStep::kCut: return "shorten";
    case FailedStep::kClose: return "close";
  }
  return "use";
}

// "1 date", "2 dates".
std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string DescribeFailure(const BuildFailure& failure, const std::string& input_name,
                            const std::string& output_name) {
  bool input = failure.file == FileRole::kInput;
  std::string line = "Cannot ";
  line += Verb(failure.step);
  line += input ? " input file \"" : " schedule file \"";
  line += input ? input_name : output_name;
  line += "\": ";
  if (failure.line > 0) line += "line " + std::to_string(failure.line) + ": ";
  line += frame::ErrorMessage(failure.code);
  return line;
}

std::string DescribeWarning(const BuildWarning& warning) {
  if (warning.line <= 0) return warning.message;
  return "line " + std::to_string(warning.line) + ": " + warning.message;
}

std::string RecordsWrittenText(int records_written) {
  std::string text = Counted(records_written, "record", "records") + " written (the header";
  if (records_written > 1) text += " and " + Counted(records_written - 1, "date", "dates");
  return text + ")";
}

std::string LeftOutText(int left_out) {
  return "the " + Counted(left_out, "game", "games") + " after the 15th " +
         (left_out == 1 ? "was" : "were") + " left out";
}

}  // namespace schedule
