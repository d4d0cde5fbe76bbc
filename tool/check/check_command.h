// schedule-tool check: the lines of a schedule text that the build takes in
// a way a person may not expect, each as FILE:LINE: message.
#ifndef ZELTO_TOOL_CHECK_CHECK_COMMAND_H_
#define ZELTO_TOOL_CHECK_CHECK_COMMAND_H_

#include <string>

#include "tool/tool_command.h"

namespace tool {

/// `check INPUT`: INPUT "-" is standard input. The exit status: 0 nothing
/// found, 1 something found or the text could not be read.
int RunCheck(const std::string& input);

/// The check command as the command table holds it.
Command CheckCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_CHECK_CHECK_COMMAND_H_
