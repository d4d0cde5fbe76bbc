// schedule-tool import: a public season file (one game per row) as schedule
// text.
#ifndef ZELTO_TOOL_IMPORT_IMPORT_COMMAND_H_
#define ZELTO_TOOL_IMPORT_IMPORT_COMMAND_H_

#include <string>

#include "tool/tool_command.h"

namespace tool {

/// The options of `import`, each empty when not given.
struct ImportArguments {
  std::string leagues;  ///< --league LIST
  std::string teams;    ///< --teams MAP
  std::string output;   ///< --output TEXT ("-": standard output)
  std::string teams_output;  ///< --teams-output FILE ("-": standard output)
};

/// `import [--league LIST] [--teams MAP] [--output TEXT] [--teams-output
/// FILE] SEASON`: SEASON "-" is standard input. The exit status: 0
/// written, 1 failed, 2 usage.
int RunImport(const std::string& season, const ImportArguments& arguments);

/// The import command as the command table holds it.
Command ImportCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_IMPORT_COMMAND_H_
