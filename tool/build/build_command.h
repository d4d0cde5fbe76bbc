// schedule-tool build: the schedule conversion from the command line.
#ifndef ZELTO_TOOL_BUILD_BUILD_COMMAND_H_
#define ZELTO_TOOL_BUILD_BUILD_COMMAND_H_

#include <string>

#include "tool/tool_command.h"

namespace tool {

/// `build INPUT OUTPUT`: INPUT "-" is standard input. The exit status: 0
/// written (warnings on standard error), 1 failed.
int RunBuild(const std::string& input, const std::string& output);

/// The build command as the command table holds it.
Command BuildCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_BUILD_BUILD_COMMAND_H_
