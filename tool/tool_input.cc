#include "tool/tool_input.h"

#include "files/file_access.h"
#include "files/read_field.h"
#include "schedule/messages.h"

namespace tool {

using schedule::CannotText;
using schedule::FailedStep;

int OpenToolInput(int16_t number, const std::string& name) {
  if (name == "-") return files::OpenStandardInput(number, kToolReadBuffer);
  return files::OpenForInput(number, name, kToolReadBuffer);
}

std::string ReadToEnd(int16_t number, const std::string& name, std::string_view what,
                      size_t limit, const TakePiece& take) {
  uint8_t chunk[64 * 1024];
  size_t total = 0;
  for (;;) {
    uint32_t got = 0;
    if (int code = files::ReadBytes(number, chunk, sizeof chunk, &got)) {
      return CannotText(FailedStep::kRead, what, name, code);
    }
    if (got == 0) return "";
    total += got;
    if (limit > 0 && total > limit) {
      return CannotText(FailedStep::kRead, what, name,
                        "it is larger than " + std::to_string(limit / 1024) + " KiB");
    }
    take(std::string_view(reinterpret_cast<const char*>(chunk), got));
  }
}

std::string ReadWhileWanted(int16_t number, const std::string& name, std::string_view what,
                            const TakePiece& take, const std::function<bool()>& wanted) {
  uint8_t chunk[64 * 1024];
  for (;;) {
    uint32_t got = 0;
    if (int code = files::ReadBytes(number, chunk, sizeof chunk, &got)) {
      return CannotText(FailedStep::kRead, what, name, code);
    }
    if (got == 0) return "";
    take(std::string_view(reinterpret_cast<const char*>(chunk), got));
    if (!wanted()) return "";
  }
}

std::string ReadWholeInput(int16_t number, const std::string& name, std::string_view what,
                           size_t limit, const TakePiece& take) {
  if (int code = OpenToolInput(number, name)) {
    return CannotText(FailedStep::kOpen, what, name, code);
  }
  return ReadToEnd(number, name, what, limit, take);
}

}  // namespace tool
