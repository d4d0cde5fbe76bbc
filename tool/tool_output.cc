#include "tool/tool_output.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "schedule/messages.h"
#include "tool/tool_input.h"

namespace tool {

static_assert(kToolOutputFile != kToolInputFile, "a command reads one file and writes another");

using schedule::CannotText;
using schedule::FailedStep;

void PrintFailure(const std::string& message) {
  std::fprintf(stderr, "schedule-tool: %s\n", message.c_str());
}

int FinishStandardOutput() {
  // Output that could not be written is a failure, not a dump.
  std::cout.flush();
  std::fflush(stdout);
  if (std::cout && !std::ferror(stdout)) return 0;
  PrintFailure("Cannot write to standard output");
  return 1;
}

bool ToStandardOutput(const std::string& output) {
  return output.empty() || output == "-" || files::NamesStandardOutput(output);
}

std::string OpenToolOutput(int16_t number, const std::string& output) {
  if (ToStandardOutput(output)) return "";
  if (int code = files::OpenForOutput(number, output)) {
    return CannotText(FailedStep::kOpen, "file", output, code);
  }
  return "";
}

int PutToolOutput(int16_t number, const std::string& output, std::string_view text) {
  if (ToStandardOutput(output)) {
    // A failure to write is told by FinishStandardOutput.
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
  }
  // A write takes at most 4 GiB; a text is handed over in steps well under it.
  constexpr size_t kStep = size_t{1} << 20;
  for (size_t at = 0; at < text.size(); at += kStep) {
    size_t size = std::min(kStep, text.size() - at);
    if (int code = files::WriteBytes(number, reinterpret_cast<const uint8_t*>(text.data() + at),
                                     static_cast<uint32_t>(size))) {
      return code;
    }
  }
  return 0;
}

int FinishToolOutput(int16_t number, const std::string& output, int failure) {
  if (ToStandardOutput(output)) {
    files::CloseAllFiles();
    return FinishStandardOutput();
  }
  int code = failure != 0 ? failure : files::CommitOutput(number);
  files::CloseAllFiles();
  if (code != 0) {
    PrintFailure(CannotText(FailedStep::kWrite, "file", output, code));
    return 1;
  }
  return 0;
}

int WriteToolOutput(int16_t number, const std::string& output, std::string_view text) {
  return FinishToolOutput(number, output, PutToolOutput(number, output, text));
}

}  // namespace tool
