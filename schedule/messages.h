// The words every command of both programs tells the user with, of what it
// did and what went wrong: every "Cannot ..." line, every count of what was
// not shown, and the events that the build, check and import all tell of (a
// date past 15 games, a Ctrl+Z before the end) are worded here alone, so that
// one event reads the same whichever command tells it.
#ifndef ZELTO_SCHEDULE_MESSAGES_H_
#define ZELTO_SCHEDULE_MESSAGES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "schedule/schedule_builder.h"

namespace schedule {

/// A count and its noun, plural but for one: "1 date", "2 dates". Every
/// count the tool writes out in words says it this way.
std::string Counted(int64_t count, std::string_view one, std::string_view many);

/// One failure as every command says it: "Cannot <verb> <what> "NAME":
/// reason", e.g. `Cannot read season file "1884.csv": File not found`, the
/// verb the step's ("open", "read", "write", "close").
std::string CannotText(FailedStep step, std::string_view what, std::string_view name,
                       std::string_view reason);

/// The same with the words of run-time error `code` as the reason.
std::string CannotText(FailedStep step, std::string_view what, std::string_view name, int code);

/// A temporary file that failed a command: "Cannot keep WHAT in a
/// temporary file: reason" (kWrite), "Cannot read back WHAT from a temporary
/// file: reason" (kRead), the reason the words of run-time error `code`.
std::string TemporaryFileText(FailedStep step, std::string_view what, int code);

/// What was left unshown: "1 more error is not shown", "20 more errors are
/// not shown".
std::string NotShownText(int64_t count, std::string_view one, std::string_view many);

/// True when a name that fills its 8 bytes ends inside a UTF-8 character:
/// the column limit cut the character in two.
bool NameCutInsideCharacter(std::string_view field);

/// Such a name, told: `visitor name "abcdefg\xC3" ends inside a character:
/// 8 bytes cut it in two`; `role` is "visitor" or "home team".
std::string CutNameText(std::string_view role, std::string_view field);

/// A date past 15 games, told where its 16th game stands: `date "05/30/84"
/// has 28 games: a date holds 15; this one and the 12 after it are left out`.
std::string FullDateText(std::string_view date, int64_t games);

/// A game line before the first date, which no record can hold: `game
/// line before the first date skipped: "x        y"`.
std::string SkippedLineText(std::string_view line);

/// The data ended at a Ctrl+Z byte with bytes after it: "a Ctrl+Z byte (0x1A)
/// ends the data: the 12 bytes after it are never read" ("at least" when a
/// device went on giving bytes).
std::string EndOfTextText(int64_t bytes_after, bool at_least);

/// One line naming the file and the reason, e.g.
/// `Cannot open input file "x.txt": File not found`, with the line of the
/// input where the text itself is the reason.
std::string DescribeFailure(const BuildFailure& failure, const std::string& input_name,
                            const std::string& output_name);

/// A warning as one line: `line 12: message`.
std::string DescribeWarning(const BuildWarning& warning);

/// What a complete build wrote: "1 record written (the header)", "2 records
/// written (the header and 1 date)", "5 records written (the header and 4
/// dates)".
std::string RecordsWrittenText(int records_written);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_MESSAGES_H_
