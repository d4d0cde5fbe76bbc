#include "tool/check/check_text.h"

#include <cstring>
#include <string_view>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/read_field.h"
#include "files/record_read.h"
#include "frame/run_time_errors.h"
#include "schedule/messages.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_grouper.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "schedule/text_lines.h"
#include "tool/check/check_columns.h"
#include "tool/check/check_dates.h"
#include "tool/line_spool.h"
#include "tool/season/season_findings.h"
#include "tool/season/season_reader.h"
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

// The file number findings wait under when many must wait (the text is
// read as kInputFile).
constexpr int16_t kHeldFindings = 3;
// Puts the findings out in line order as they are found, holding back only
// those that a finding still to come must stand before: after a date's
// 16th game, whose finding needs the count of games known only at the
// date's end; and before the first date line, when a text with none gets a
// finding on line 1 at its end. Past a few, they wait in a temporary file
// (LineSpool), so that what is held never grows with the lines.
class FindingOrder {
 public:
  explicit FindingOrder(const FindingTaker& take) : take_(take) {}

  void Add(int64_t line, std::string message) {
    if (!holding_) {
      take_(CheckFinding{line, std::move(message)});
      return;
    }
    // A finding waits as its line (8 bytes) and then its message.
    std::string entry(sizeof line, '\0');
    std::memcpy(entry.data(), &line, sizeof line);
    entry += message;
    held_.Add(std::move(entry));
  }

  // From now on findings wait for Release.
  void Hold() { holding_ = true; }
  bool holding() const { return holding_; }

  // Puts out every finding that waits, and `first` (when not null) before
  // the first of them on a later line than its own; the findings go out at
  // once again.
  void Release(const CheckFinding* first) {
    holding_ = false;
    held_.PutOut([&](const std::string& entry) {
      CheckFinding finding;
      std::memcpy(&finding.line, entry.data(), sizeof finding.line);
      finding.message = entry.substr(sizeof finding.line);
      if (first != nullptr && finding.line > first->line) {
        take_(*first);
        first = nullptr;
      }
      take_(finding);
    });
    if (first != nullptr) take_(*first);
  }

  // The code of a failure to keep or read back the findings that waited.
  int failure() const { return held_.failure(); }

 private:
  const FindingTaker& take_;
  bool holding_ = false;
  LineSpool held_{kHeldFindings};
};

// Listens to the grouping as the builder does, and says what it sees: of
// the lines, and of the season they make.
class Checker : public GroupingListener {
 public:
  explicit Checker(const FindingTaker& take)
      : order_(take),
        season_findings_([this](const SeasonFinding& found) { Add(found.line, found.message); }),
        season_(&season_findings_, "") {  // check says of lost games itself
    // Until a date line comes, a text may have none: its finding on line 1
    // must stand before the later lines'.
    order_.Hold();
  }

  void Add(int64_t line, std::string message) { order_.Add(line, std::move(message)); }

  void TakeReading(const files::FieldNotes& notes) {
    if (std::vector<std::string> found = ReadingNotes(notes); !found.empty()) {
      Add(notes.first_line, JoinNotes(found));
    }
    previous_comma_line_ = current_comma_line_;
    current_comma_line_ = notes.ended_by_comma ? notes.first_line : 0;
  }

  bool DateBegun(const std::string& date, const SourceLine& source) override {
    if (!seen_date_) {
      seen_date_ = true;
      order_.Release(nullptr);
    }
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
  bool GameLeftOut(int, const SourceLine&) override {
    // What follows waits for the date's count, said on this line.
    if (!order_.holding()) order_.Hold();
    return true;
  }
  bool LineSkipped(const SourceLine& source) override {
    Add(source.line, "a game line before the first date is skipped");
    return true;
  }
  bool DateEnded(const std::string& date, int games, int64_t first_left_out) override {
    season_.DateEnded(date, games, first_left_out);
    if (games > kSlotsPerRecord) {
      const CheckFinding full{first_left_out, FullDateText(date, games)};
      order_.Release(&full);
    }
    return true;
  }

  // Ends the text: with no date line at all it says so on line 1, before
  // the findings of later lines that waited for it; the end of the data
  // (`end`, when not null) stands after them, the likely misspellings last.
  // The code of a failure to keep the findings that waited, or 0.
  int Finish(bool has_date, bool empty, const CheckFinding* end) {
    const CheckFinding no_date{1, empty ? "the file is empty: no date line, nothing is built"
                                        : "no date line: nothing is built"};
    order_.Release(has_date ? nullptr : &no_date);
    if (end != nullptr) Add(end->line, end->message);
    season_findings_.Finish();
    return order_.failure();
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
  FindingOrder order_;
  bool seen_date_ = false;
  SeasonFindings season_findings_;  // what is wrong with the season itself
  SeasonFromGrouping season_;       // the games as the build stores them, for it
  DateChecks dates_;
  int64_t previous_comma_line_ = 0;  // the line whose comma ended the line before this one
  int64_t current_comma_line_ = 0;
};

// Reads the whole input through the grouper; false with `failure` when the
// input is no schedule text.
bool CheckOpenInput(const std::string& path, const FindingTaker& take, std::string* failure) {
  Checker checker(take);
  ScheduleGrouper grouper(&checker);
  files::FieldNotes notes;
  const schedule::LinesTaken taken = schedule::TakeInputLines(
      &grouper, [&checker](const files::FieldNotes& read) { checker.TakeReading(read); }, &notes);
  if (taken.code == frame::kFieldTooLong) {
    checker.Add(notes.first_line, "a line longer than 1 MiB: this is no schedule text, and the "
                                  "build stops here with a failure");
  } else if (taken.code != 0) {
    *failure = DescribeFailure({FileRole::kInput, FailedStep::kRead, taken.code}, path, "");
    return false;
  }
  grouper.Finish();
  files::EndOfTextNotes end = files::NotesOnEndOfText(kInputFile);
  CheckFinding end_of_text;
  if (end.found && end.bytes_after > 0) {
    end_of_text = {end.line, EndOfTextText(end.bytes_after, end.at_least)};
  }
  const bool ends_early = !end_of_text.message.empty();
  if (int code = checker.Finish(grouper.has_date(), taken.empty, ends_early ? &end_of_text : nullptr)) {
    *failure = schedule::TemporaryFileText(schedule::FailedStep::kWrite, "check's findings", code);
    return false;
  }
  return true;
}

}  // namespace

bool CheckScheduleFile(const std::string& path, const FindingTaker& take, std::string* failure) {
  if (int code = OpenToolInput(kInputFile, path)) {
    *failure = DescribeFailure({FileRole::kInput, FailedStep::kOpen, code}, path, "");
    return false;
  }
  bool read = CheckOpenInput(path, take, failure);
  files::CloseAllFiles();
  return read;
}

bool CheckScheduleFile(const std::string& path, std::vector<CheckFinding>* findings,
                       std::string* failure) {
  findings->clear();
  return CheckScheduleFile(
      path, [findings](const CheckFinding& finding) { findings->push_back(finding); }, failure);
}

}  // namespace tool
