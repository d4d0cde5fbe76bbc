// schedule-tool dump: what a schedule file holds, as a listing, as the
// schedule text that builds it again, or as CSV.
#ifndef ZELTO_TOOL_DUMP_DUMP_COMMAND_H_
#define ZELTO_TOOL_DUMP_DUMP_COMMAND_H_

#include <string>

#include "tool/dump/dump_schedule.h"
#include "tool/tool_command.h"

namespace tool {

/// `dump [--format F] [--output OUT] FILE`: FILE "-" is standard input,
/// OUT "-" (or none) standard output. The exit status: 0 shown, 1 failed.
int RunDump(const std::string& file, DumpFormat format, const std::string& output);

/// The dump command as the command table holds it.
Command DumpCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_DUMP_DUMP_COMMAND_H_
