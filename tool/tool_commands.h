// schedule-tool's commands, each a plain function of its parsed command
// line, answering with the exit status: 0 done (check: nothing found), 1
// failed (check: something found); the command line itself is read by
// tool_main.cc, which alone answers 2.
#ifndef ZELTO_TOOL_TOOL_COMMANDS_H_
#define ZELTO_TOOL_TOOL_COMMANDS_H_

#include <string>

#include "tool/schedule_dump.h"

namespace schedule {

/// The exit status of a command line that was not understood.
inline constexpr int kUsageError = 2;

/// `build INPUT OUTPUT`: INPUT "-" is standard input.
int RunBuild(const std::string& input, const std::string& output);

/// `dump [--format F] [--output OUT] FILE`: FILE "-" is standard input,
/// OUT "-" (or none) standard output.
int RunDump(const std::string& file, DumpFormat format, const std::string& output);

/// `check INPUT`: INPUT "-" is standard input.
int RunCheck(const std::string& input);

/// Prints `message` on standard error as schedule-tool's own line.
void PrintFailure(const std::string& message);

}  // namespace schedule

#endif  // ZELTO_TOOL_TOOL_COMMANDS_H_
