#include "tool/tool_output.h"

#include <algorithm>
#include <cstdio>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "schedule/build_report.h"
#include "tool/tool_commands.h"

namespace tool {

using schedule::CannotText;
using schedule::FailedStep;

bool ToStandardOutput(const std::string& output) { return output.empty() || output == "-"; }

std::string OpenToolOutput(int16_t number, const std::string& output) {
  if (ToStandardOutput(output)) return "";
  if (int code = files::OpenForOutput(number, output)) {
    return CannotText(FailedStep::kOpen, "file", output, code);
  }
  return "";
}

int WriteToolOutput(int16_t number, const std::string& output, std::string_view text) {
  if (ToStandardOutput(output)) {
    files::CloseAllFiles();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return FinishStandardOutput();
  }
  int code = 0;
  // A write takes at most 4 GiB; a text is handed over in steps well under it.
  constexpr size_t kStep = size_t{1} << 20;
  for (size_t at = 0; code == 0 && at < text.size(); at += kStep) {
    size_t size = std::min(kStep, text.size() - at);
    code = files::WriteBytes(number, reinterpret_cast<const uint8_t*>(text.data() + at),
                             static_cast<uint32_t>(size));
  }
  if (code == 0) code = files::CommitOutput(number);
  files::CloseAllFiles();
  if (code != 0) {
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
    return 1;
  }
  return 0;
}

}  // namespace tool
