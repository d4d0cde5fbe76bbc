// Opening a file that schedule-tool only reads (a schedule file to show, a
// schedule text to check). These reads need no open-file table: they are
// plain stream reads, and a failure is told in the program's own words.
#ifndef ZELTO_SCHEDULE_TOOL_INPUT_H_
#define ZELTO_SCHEDULE_TOOL_INPUT_H_

#include <fstream>
#include <string>
#include <string_view>

namespace schedule {

/// Opens `path` for reading as bytes into `in`. Returns an empty string, or
/// the reason it could not be opened, e.g. "File not found".
std::string OpenToRead(const std::string& path, std::ifstream* in);

/// `text` in double quotes, with control bytes shown as \xNN so that a
/// message stays on one line of the terminal.
std::string Quoted(std::string_view text);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_TOOL_INPUT_H_
