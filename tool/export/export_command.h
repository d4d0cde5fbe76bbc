// schedule-tool export: a season (a schedule file or a schedule text) as a
// season file of the public layout that import reads.
#ifndef ZELTO_TOOL_EXPORT_EXPORT_COMMAND_H_
#define ZELTO_TOOL_EXPORT_EXPORT_COMMAND_H_

#include <string>

#include "tool/tool_command.h"

namespace tool {

/// The options of `export`, each empty when not given.
struct ExportArguments {
  std::string teams;   ///< --teams TEAMS (needed)
  std::string year;    ///< --year YYYY
  std::string output;  ///< --output FILE ("-": standard output)
};

/// `export --teams TEAMS [--year YYYY] [--output FILE] SEASON`: SEASON "-"
/// is standard input. The exit status: 0 written, 1 refused, 2 usage.
int RunExport(const std::string& season, const ExportArguments& arguments);

/// The export command as the command table holds it.
Command ExportCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_EXPORT_EXPORT_COMMAND_H_
