#include "tool/dump/dump_command.h"

#include <ostream>
#include <vector>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "schedule/messages.h"
#include "tool/gathered_output.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

using schedule::CannotText;
using schedule::FailedStep;

void PrintProblems(const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) PrintFailure(problem);
}

}  // namespace

int RunDump(const std::string& file, DumpFormat format, const std::string& output) {
  if (ToStandardOutput(output)) {
    // A large file's dump goes out in pieces, not a write each few KiB.
    GatheredOutput gathered(ToToolOutput(kToolOutputFile, output));
    std::ostream dumped(&gathered);
    std::vector<std::string> problems;
    bool shown = DumpSchedule(file, format, dumped, &problems);
    gathered.Finish();
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
  if (int code = files::OpenForOutput(kToolOutputFile, output)) {
    files::CloseAllFiles();
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
    return 1;
  }
  GatheredOutput gathered(ToToolOutput(kToolOutputFile, output));
  std::ostream dumped(&gathered);
  std::vector<std::string> problems;
  bool shown = DumpOpenSchedule(file, number, format, dumped, &problems);
  gathered.Finish();
  PrintProblems(problems);
  if (!shown) {
    files::CloseAllFiles();  // a dump not put in place is removed
    return 1;
  }
  return FinishToolOutput(kToolOutputFile, output, gathered.failure());
}

}  // namespace tool
