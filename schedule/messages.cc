#include "schedule/messages.h"

#include "frame/run_time_errors.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"

namespace schedule {
namespace {

const char* Verb(FailedStep step) {
  switch (step) {
    case FailedStep::kOpen: return "open";
    case FailedStep::kRead: return "read";
    case FailedStep::kWrite: return "write";
    case FailedStep::kClose: return "close";
  }
  return "use";
}

}  // namespace

std::string Counted(int64_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string CannotText(FailedStep step, std::string_view what, std::string_view name,
                       std::string_view reason) {
  std::string line = "Cannot ";
  line += Verb(step);
  line += " ";
  line += what;
  line += " \"";
  line += name;
  line += "\": ";
  line += reason;
  return line;
}

std::string CannotText(FailedStep step, std::string_view what, std::string_view name, int code) {
  return CannotText(step, what, name, frame::ErrorMessage(code));
}

std::string TemporaryFileText(FailedStep step, std::string_view what, int code) {
  const bool back = step == FailedStep::kRead;
  return std::string(back ? "Cannot read back " : "Cannot keep ") + std::string(what) +
         (back ? " from" : " in") + " a temporary file: " + frame::ErrorMessage(code);
}

std::string NotShownText(int64_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " more " + std::string(count == 1 ? one : many) +
         (count == 1 ? " is" : " are") + " not shown";
}

std::string SkippedLineText(std::string_view line) {
  return "game line before the first date skipped: " + Quoted(line);
}

bool NameCutInsideCharacter(std::string_view field) {
  return field.size() >= kNameWidth && EndsInsideCharacter(field);
}

std::string CutNameText(std::string_view role, std::string_view field) {
  return std::string(role) + " name " + Quoted(TrimTrailingSpaces(field)) +
         " ends inside a character: " + std::to_string(kNameWidth) + " bytes cut it in two";
}

std::string FullDateText(std::string_view date, int64_t games) {
  int64_t after = games - kSlotsPerRecord - 1;
  return "date " + Quoted(TrimTrailingSpaces(date)) + " has " + Counted(games, "game", "games") +
         ": a date holds " + std::to_string(kSlotsPerRecord) + "; " +
         (after == 0 ? "this one is left out"
                     : "this one and the " + std::to_string(after) + " after it are left out");
}

std::string EndOfTextText(int64_t bytes_after, bool at_least) {
  return std::string("a Ctrl+Z byte (0x1A) ends the data: the ") + (at_least ? "at least " : "") +
         Counted(bytes_after, "byte", "bytes") + " after it " +
         (bytes_after == 1 ? "is" : "are") + " never read";
}

std::string DescribeFailure(const BuildFailure& failure, const std::string& input_name,
                            const std::string& output_name) {
  bool input = failure.file == FileRole::kInput;
  std::string reason = frame::ErrorMessage(failure.code);
  if (failure.line > 0) reason = "line " + std::to_string(failure.line) + ": " + reason;
  return CannotText(failure.step, input ? "input file" : "schedule file",
                    input ? input_name : output_name, reason);
}

std::string DescribeWarning(const BuildWarning& warning) {
  if (warning.line <= 0) return warning.message;
  return "line " + std::to_string(warning.line) + ": " + warning.message;
}

std::string RecordsWrittenText(int records_written) {
  std::string text = Counted(records_written, "record", "records") + " written (the header";
  if (records_written > 1) text += " and " + Counted(records_written - 1, "date", "dates");
  return text + ")";
}

}  // namespace schedule
