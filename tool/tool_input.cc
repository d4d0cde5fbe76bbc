#include "tool/tool_input.h"

#include "files/file_access.h"

namespace tool {

int OpenToolInput(int16_t number, const std::string& name) {
  if (name == "-") return files::OpenStandardInput(number, kToolReadBuffer);
  return files::OpenForInput(number, name, kToolReadBuffer);
}

}  // namespace tool
