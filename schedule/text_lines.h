// The one walk through a schedule text's lines: each line read from the
// input through the field reader, what the reading did to it shown to the
// caller, and the line handed to the grouping under dates. The build, check
// and the season reader all walk a text here, so that they take the same
// lines in the same way.
#ifndef ZELTO_SCHEDULE_TEXT_LINES_H_
#define ZELTO_SCHEDULE_TEXT_LINES_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "files/read_field.h"
#include "frame/run_time_errors.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_grouper.h"
#include "schedule/schedule_record.h"

namespace schedule {

/// Reads the next line of the input open as kInputFile: 0, kPastEndOfFile
/// once the data has ended (blanks after the last line end are no line), or
/// the failure; a schedule file's header on the first line fails with
/// kScheduleFileAsInput. `*line` is valid until the next read: it views the
/// read buffer, or `*storage` for a line that had to be put together.
/// Inline: the build calls it for every line.
inline int ReadInputLine(std::string_view* line, std::string* storage, files::FieldNotes* notes) {
  int code = files::ReadNextFieldView(kInputFile, line, storage, notes);
  if (code == 0 && notes->first_line == 1 && IsScheduleHeader(*line)) {
    code = frame::kScheduleFileAsInput;
  }
  return code;
}

/// How a walk through a text's lines ended.
struct LinesTaken {
  int code = 0;          ///< 0, or the run-time error code of the read that failed
  bool stopped = false;  ///< the grouper's listener asked to stop
  bool empty = false;    ///< the input held not a byte, so not a line
};

/// Reads the input open as kInputFile line by line to the end of its data:
/// `see_reading(notes)` is shown what reading did to each line, then
/// `grouper` takes it. Stops at a read that fails (for kFieldTooLong,
/// `notes->first_line` is the line too long) or when the listener asks to;
/// the grouping is left for the caller to finish.
template <typename Listener, typename SeeReading>
LinesTaken TakeInputLines(GrouperOf<Listener>* grouper, SeeReading&& see_reading,
                          files::FieldNotes* notes) {
  std::string storage;
  std::string_view line;
  for (;;) {
    const int code = ReadInputLine(&line, &storage, notes);
    if (code == frame::kPastEndOfFile) return {0, false, files::InputHeldNoByte(kInputFile)};
    if (code != 0) return {code, false};
    see_reading(*notes);
    // The view's two words are taken one by one: read back whole right
    // after the reader stored them apart, they would wait for the stores.
    const char* const data = line.data();
    const size_t size = line.size();
    if (!grouper->Take({std::string_view(data, size), notes->first_line})) return {0, true};
  }
}

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_TEXT_LINES_H_
