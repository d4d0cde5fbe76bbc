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

}  // namespace

std::string DescribeFailure(const BuildFailure& failure, const std::string& input_name,
                            const std::string& output_name) {
  bool input = failure.file == FileRole::kInput;
  std::string line = "Cannot ";
  line += Verb(failure.step);
  line += input ? " input file \"" : " schedule file \"";
  line += input ? input_name : output_name;
  line += "\": ";
  line += frame::ErrorMessage(failure.code);
  return line;
}

}  // namespace schedule
