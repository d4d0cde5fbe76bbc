// Showing what a schedule file holds: a listing for a person, the schedule
// text that builds the same file again, or one row per game for a
// spreadsheet. Names are shown byte for byte as stored.
#ifndef ZELTO_TOOL_SCHEDULE_DUMP_H_
#define ZELTO_TOOL_SCHEDULE_DUMP_H_

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
/// True when the file was shown.
bool DumpSchedule(const std::string& path, DumpFormat format, std::ostream& out,
                  std::vector<std::string>* problems);

}  // namespace tool

#endif  // ZELTO_TOOL_SCHEDULE_DUMP_H_
