// Showing what a schedule file holds: a listing for a person, the schedule
// text that builds the same file again, or one row per game for a
// spreadsheet. Names are shown byte for byte as stored.
#ifndef ZELTO_TOOL_DUMP_DUMP_SCHEDULE_H_
#define ZELTO_TOOL_DUMP_DUMP_SCHEDULE_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tool {

/// How a schedule file is shown.
enum class DumpFormat : uint8_t {
  kListing,  ///< one block per date with its games; blank slots left out
  kText,     ///< schedule text (CR LF) that builds exactly this file again
  kCsv,      ///< one row per game: record, date, slot, visitor, home, options
};

/// Shows the schedule file `path` on `out` in `format`. A file that is not a
/// whole schedule file (a size that is no whole number of records, no header
/// first, a later record that is no date record), or, as schedule text, one
/// that no schedule text builds byte for byte, is not shown at all: each
/// reason goes to `problems`, naming the file, the record and its offset.
/// True when the file was shown. The file is read twice, a record at a
/// time: surveyed whole, then shown; what can be read only once (standard
/// input, a pipe) is copied into a temporary file first. What is held never
/// grows with the file.
bool DumpSchedule(const std::string& path, DumpFormat format, std::ostream& out,
                  std::vector<std::string>* problems);

/// DumpSchedule in two steps, for a caller that opens its output between
/// them: opens `path` ("-": standard input) as kToolInputFile, copied into a
/// temporary file where it can be read only once; `*number` is the file to
/// dump. False with the line to show in `failure`.
bool OpenScheduleForDump(const std::string& path, int16_t* number, std::string* failure);

/// Shows the file OpenScheduleForDump opened as DumpSchedule does; it stays open.
bool DumpOpenSchedule(const std::string& path, int16_t number, DumpFormat format,
                      std::ostream& out, std::vector<std::string>* problems);

}  // namespace tool

#endif  // ZELTO_TOOL_DUMP_DUMP_SCHEDULE_H_
