#include "tool/schedule_check.h"

#include <algorithm>
#include <string_view>

#include "files/file_access.h"
#include "files/read_field.h"
#include "frame/run_time_errors.h"
#include "schedule/build_report.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_grouper.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "tool/check_dates.h"
#include "tool/check_columns.h"
#include "tool/season_findings.h"
#include "tool/season_reader.h"
#include "tool/tool_input.h"

namespace tool {

using schedule::DescribeFailure;
using schedule::EndOfTextText;
using schedule::FullDateText;
using schedule::FailedStep;
using schedule::FileRole;
using schedule::GameFields;
using schedule::GroupingListener;
using schedule::IsBlankLine;
using schedule::Quoted;
using schedule::ReadInputLine;
using schedule::ScheduleGrouper;
using schedule::SourceLine;
using schedule::TrimTrailingSpaces;
using schedule::kInputFile;
using schedule::kSlotsPerRecord;

namespace {

// What reading did to the bytes of one line: quotes, commas, TABs and a
// byte-order mark.
std::vector<std::string> ReadingNotes(const files::FieldNotes& notes) {
  std::vector<std::string> found;
  if (notes.byte_order_mark) {
    found.push_back("a UTF-8 byte-order mark starts the file: it is skipped");
  }
  if (notes.quoted && notes.quote_left_open) {
    found.push_back(
        "a line that starts with a double quote has no closing double quote: "
        "the rest of the file is read as one line");
  } else if (notes.quoted && notes.last_line > notes.first_line) {
    std::string lines = std::to_string(notes.first_line) + "-" + std::to_string(notes.last_line);
    found.push_back(
        "a line that starts with a double quote runs to the next double quote, on line " +
        std::to_string(notes.last_line) + ": lines " + lines +
        " are read as one line, without the quotes");
  } else if (notes.quoted) {
    found.push_back("a line that starts with a double quote is read without its quotes");
  }
  if (notes.text_after_quote) {
    found.push_back("the text after the closing double quote is read as another line");
  }
  if (notes.ended_by_comma) {
    found.push_back("a comma ends the line: the text after it is read as another line");
  }
  if (notes.tabs_dropped > 0) {
    found.push_back(notes.tabs_dropped == 1
                        ? "a TAB byte is dropped: the text after it moves one column left"
                        : std::to_string(notes.tabs_dropped) +
                              " TAB bytes are dropped: the text after each moves one column left");
  }
  return found;
}

// Listens to the grouping as the builder does, and says what it sees: of
// the lines, and of the season they make.
class Checker : public GroupingListener {
 public:
  Checker()
      : season_findings_([this](const SeasonFinding& found) { Add(found.line, found.message); }),
        season_(&season_findings_) {}

  void Add(int64_t line, std::string message) { findings_.push_back({line, std::move(message)}); }

  void TakeReading(const files::FieldNotes& notes) {
    if (std::vector<std::string> found = ReadingNotes(notes); !found.empty()) {
      Add(notes.first_line, JoinNotes(found));
    }
    previous_comma_line_ = current_comma_line_;
    current_comma_line_ = notes.ended_by_comma ? notes.first_line : 0;
  }

  bool DateBegun(const std::string& date, const SourceLine& source) override {
    season_.DateBegun(date, source);
    if (std::string finding = dates_.Take(source.text, date, source.line); !finding.empty()) {
      Add(source.line, finding);
    }
    return true;
  }
  bool DateRepeated(const std::string&, const SourceLine&) override { return true; }
  bool GameStored(int slot, const GameFields& game, const SourceLine& source) override {
    season_.GameStored(slot, game, source);
    if (IsBlankLine(source.text)) {
      NoteBlankGame(slot, source);
    } else if (std::string finding = GameLineFinding(source.text, game); !finding.empty()) {
      Add(source.line, finding);
    }
    if (std::string beyond = TextBeyondLastColumn(source.text); !beyond.empty()) {
      Add(source.line, "text beyond column 30 is not read: " + Quoted(beyond));
    }
    return true;
  }
  bool GameLeftOut(int, const SourceLine&) override { return true; }
  bool LineSkipped(const SourceLine& source) override {
    Add(source.line, "a game line before the first date is skipped");
    return true;
  }
  bool DateEnded(const std::string& date, int games, int64_t first_left_out) override {
    season_.DateEnded(date, games, first_left_out);
    if (games > kSlotsPerRecord) Add(first_left_out, FullDateText(date, games));
    return true;
  }
  std::vector<CheckFinding> TakeFindings() {
    season_findings_.Finish();
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
    return std::move(findings_);
  }

 private:
  void NoteBlankGame(int slot, const SourceLine& source) {
    std::string where = "game slot " + std::to_string(slot) + " of date " +
                        Quoted(TrimTrailingSpaces(dates_.current_date()));
    if (previous_comma_line_ == source.line) {
      Add(source.line,
          "nothing follows the comma: the empty rest is read as a blank line and takes " + where);
    } else {
      Add(source.line, "a blank line takes " + where + " and leaves it blank");
    }
  }
  std::vector<CheckFinding> findings_;
  SeasonFindings season_findings_;  // what is wrong with the season itself
  SeasonFromGrouping season_;       // the games as the build stores them, for it
  DateChecks dates_;
  int64_t previous_comma_line_ = 0;  // the line whose comma ended the line before this one
  int64_t current_comma_line_ = 0;
};

// Reads the whole input through the grouper; false with `failure` when the
// input is no schedule text.
bool CheckOpenInput(const std::string& path, std::vector<CheckFinding>* findings,
                    std::string* failure) {
  Checker checker;
  ScheduleGrouper grouper(&checker);
  std::string line;
  files::FieldNotes notes;
  for (;;) {
    int code = ReadInputLine(&line, &notes);
    if (code == frame::kPastEndOfFile) break;
    if (code == frame::kFieldTooLong) {
      checker.Add(notes.first_line, "a line longer than 1 MiB: this is no schedule text, and the "
                                    "build stops here with a failure");
      break;
    }
    if (code != 0) {
      *failure = DescribeFailure({FileRole::kInput, FailedStep::kRead, code}, path, "");
      return false;
    }
    checker.TakeReading(notes);
    grouper.Take({line, notes.first_line});
  }
  grouper.Finish();
  if (!grouper.has_date()) checker.Add(1, "no date line: nothing is built");
  files::EndOfTextNotes end = files::NotesOnEndOfText(kInputFile);
  if (end.found && end.bytes_after > 0) {
    checker.Add(end.line, EndOfTextText(end.bytes_after, end.at_least));
  }
  *findings = checker.TakeFindings();
  return true;
}

}  // namespace

bool CheckScheduleFile(const std::string& path, std::vector<CheckFinding>* findings,
                       std::string* failure) {
  findings->clear();
  if (int code = OpenToolInput(kInputFile, path)) {
    *failure = DescribeFailure({FileRole::kInput, FailedStep::kOpen, code}, path, "");
    return false;
  }
  bool read = CheckOpenInput(path, findings, failure);
  files::CloseAllFiles();
  return read;
}

}  // namespace tool
