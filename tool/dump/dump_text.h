// Writing a date record back as schedule text: the date line and the game
// lines that the builder reads back into the very same record. A line is
// written plain where the reader gives it back as it stands, within double
// quotes where a plain line would lose bytes (a comma, TAB, CR, LF or 0x1A,
// or a leading blank), and after a TAB where it starts with a blank or a
// double quote but holds one too; some records no line can give back.
#ifndef ZELTO_TOOL_DUMP_DUMP_TEXT_H_
#define ZELTO_TOOL_DUMP_DUMP_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "schedule/schedule_record.h"

namespace tool {

/// One reason a date record cannot be written back exactly.
struct WriteBackProblem {
  int slot;            ///< the game slot (1 to 15), or 0 for the date
  std::string reason;  ///< what stands in the way, in the program's words
};

/// Why `record` cannot be written back as schedule text; empty when it can.
/// `previous_date` is the date of the record just before it, or null for
/// the first date record: a date that repeats it would merge the two.
std::vector<WriteBackProblem> WriteBackProblems(const schedule::ScheduleRecord& record,
                                                const char* previous_date);

/// WriteBackProblems(record, previous_date).empty(), found without making
/// the problems' words for the records that have none.
bool CanWriteBack(const schedule::ScheduleRecord& record, const char* previous_date);

/// True when no byte of the record's date and slots is one that shortens
/// or ends a plain line (files::kPlainFieldBreakers) or a double quote, as
/// in nearly every record: its lines need no closer look.
bool IsPlainRecord(const schedule::ScheduleRecord& record);

/// CanWriteBack for a record IsPlainRecord is true of, found without
/// looking at its bytes again.
bool CanWritePlainBack(const schedule::ScheduleRecord& record, const char* previous_date);

/// A slot's visitor, home and options at their full widths with `gap`
/// between them, the trailing spaces cut.
std::string GameSlotText(const schedule::GameSlot& slot, std::string_view gap);

/// The schedule text of `record`, its date line first, each line ending in
/// CR LF; blank slots between games as blank lines, blank slots after the
/// last game left out. Only for a record with no write-back problem.
std::string WriteBackText(const schedule::ScheduleRecord& record);

/// What the text written back starts with, before the first date record's
/// lines: a blank line (which the build skips) when that record's date line
/// would be taken for UTF-16 text as a text's first line (a date of NUL
/// bytes between others); else nothing.
std::string_view WriteBackStart(const schedule::ScheduleRecord& first_record);

/// WriteBackText appended to `text`: a caller that writes many records
/// keeps one buffer.
void AppendWriteBackText(const schedule::ScheduleRecord& record, std::string* text);

/// AppendWriteBackText for a record IsPlainRecord is true of (a caller that
/// looked at every record before it writes them), without looking again.
void AppendPlainWriteBackText(const schedule::ScheduleRecord& record, std::string* text);

}  // namespace tool

#endif  // ZELTO_TOOL_DUMP_DUMP_TEXT_H_
