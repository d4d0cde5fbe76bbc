// The files schedule-tool reads and writes around the build (a schedule file
// to show, a schedule text to check, a dump to keep). These need no open-file
// table: they are plain stream reads and writes, and a failure is told in the
// program's own words.
#ifndef ZELTO_SCHEDULE_TOOL_FILES_H_
#define ZELTO_SCHEDULE_TOOL_FILES_H_

#include <fstream>
#include <string>
#include <string_view>

#include "schedule/shown_text.h"

namespace schedule {

/// Opens `path` for reading as bytes into `in`. Returns an empty string, or
/// the reason it could not be opened, e.g. "File not found".
std::string OpenToRead(const std::string& path, std::ifstream* in);

/// Writes `bytes` as the whole of the file `path`, byte for byte. Returns an
/// empty string, or the line that says why it could not.
std::string WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_TOOL_FILES_H_
