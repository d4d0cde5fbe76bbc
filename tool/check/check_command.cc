#include "tool/check/check_command.h"

#include <cstdint>
#include <ostream>

#include "tool/check/check_text.h"
#include "tool/gathered_output.h"
#include "tool/tool_output.h"

namespace tool {

int RunCheck(const std::string& input) {
  // Each finding goes out as it is found, gathered into pieces: a text may
  // hold one on every line.
  GatheredOutput gathered(ToToolOutput(kToolOutputFile, ""));
  std::ostream out(&gathered);
  int64_t found = 0;
  std::string failure;
  bool read = CheckScheduleFile(input, [&](const CheckFinding& finding) {
    out << input << ':' << finding.line << ": " << finding.message << '\n';
    ++found;
  }, &failure);
  gathered.Finish();
  if (!read) {
    PrintFailure(failure);
    return 1;
  }
  int written = FinishStandardOutput();
  return found == 0 ? written : 1;
}

}  // namespace tool
