// Opening the input a schedule-tool command reads: a file through file
// access, with the same name rules, locks and messages as the build, or
// standard input for the name "-".
#ifndef ZELTO_TOOL_TOOL_INPUT_H_
#define ZELTO_TOOL_TOOL_INPUT_H_

#include <cstdint>
#include <string>

namespace tool {

/// The read-buffer size of schedule-tool's reads.
inline constexpr uint32_t kToolReadBuffer = 64 * 1024;

/// Opens `name` ("-": standard input) as file `number` for sequential input.
int OpenToolInput(int16_t number, const std::string& name);

}  // namespace tool

#endif  // ZELTO_TOOL_TOOL_INPUT_H_
