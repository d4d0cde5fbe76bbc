#include "schedule/text_lines.h"

#include "schedule/schedule_record.h"

namespace schedule {

int ReadInputLine(std::string_view* line, std::string* storage, files::FieldNotes* notes) {
  int code = files::ReadNextFieldView(kInputFile, line, storage, notes);
  if (code == 0 && notes->first_line == 1 && IsScheduleHeader(*line)) {
    code = frame::kScheduleFileAsInput;
  }
  return code;
}

}  // namespace schedule
