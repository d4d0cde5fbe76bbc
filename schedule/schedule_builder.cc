#include "schedule/schedule_builder.h"

#include <string_view>

#include "files/file_access.h"
#include "frame/run_time_errors.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"

namespace schedule {
namespace {

// The working state of one build.
class Builder {
 public:
  explicit Builder(BuildOutcome* outcome) : outcome_(outcome) {}

  // Writes the header record; false when it could not be written.
  bool WriteHeader() { return Write(MakeHeaderRecord()); }

  // Takes one line of the input; false when a write failed and the build
  // must stop.
  bool TakeLine(std::string_view line) {
    if (IsDateLine(line)) return TakeDateLine(line);
    if (!have_date_) {
      // A game before any date has nowhere to go. Blank lines there are
      // simply not games.
      if (!IsBlankLine(line)) {
        outcome_->warnings.push_back("Game line before the first date skipped: \"" +
                                     std::string(line) + "\"");
      }
      return true;
    }
    ++game_count_;
    if (game_count_ <= kSlotsPerRecord) {
      // Lines shorter than 30 characters read as if padded with blanks.
      GameFields game = TakeGameFields(line);
      StoreGame(&record_, game_count_, game.visitor, game.home, game.options);
    }
    return true;
  }

  // Writes the record of the last date; false when the write failed.
  bool Finish() {
    if (!have_date_) {
      outcome_->warnings.push_back("No date line found: the schedule holds the header alone");
      return true;
    }
    return FinishDate();
  }

 private:
  // A date line that repeats the date being filled goes on filling it; any
  // other date ends the record being filled and starts its own.
  bool TakeDateLine(std::string_view line) {
    std::string date = DateOf(line);
    if (have_date_ && date == current_date_) return true;
    if (have_date_ && !FinishDate()) return false;
    have_date_ = true;
    current_date_ = date;
    record_ = MakeDateRecord(date);
    game_count_ = 0;
    return true;
  }

  bool FinishDate() {
    if (game_count_ > kSlotsPerRecord) {
      std::string shown(TrimTrailingSpaces(current_date_));
      outcome_->warnings.push_back("Date " + shown + " has " + std::to_string(game_count_) +
                                   " games; the " + std::to_string(game_count_ - kSlotsPerRecord) +
                                   " after the 15th were left out");
    }
    return Write(record_);
  }

  bool Write(const ScheduleRecord& record) {
    int next = outcome_->records_written + 1;
    if (int code = files::WriteRecord(kScheduleFile, next, RecordBytes(record), kRecordLength)) {
      outcome_->failures.push_back({FileRole::kSchedule, FailedStep::kWrite, code});
      return false;
    }
    outcome_->records_written = next;
    return true;
  }

  BuildOutcome* outcome_;
  bool have_date_ = false;
  std::string current_date_;
  int game_count_ = 0;  // games of the current date, those past the 15th included
  ScheduleRecord record_ = MakeHeaderRecord();
};

// Reads the input to its end through the builder. False when reading or
// writing failed.
bool ReadAllLines(Builder* builder, BuildOutcome* outcome) {
  std::string line;
  for (;;) {
    int code = 0;
    if (files::EndOfFile(kInputFile, &code)) return true;
    if (code == 0) code = files::ReadField(kInputFile, &line);
    // Blanks after the last line end are no line at all.
    if (code == frame::kPastEndOfFile) return true;
    if (code != 0) {
      outcome->failures.push_back({FileRole::kInput, FailedStep::kRead, code});
      return false;
    }
    if (!builder->TakeLine(line)) return false;
  }
}

}  // namespace

BuildOutcome BuildSchedule(const std::string& input_name, const std::string& output_name,
                           BuildBuffers buffers) {
  BuildOutcome outcome;
  // The input is opened first, so that an input that cannot be read leaves
  // the schedule file as it was, or absent.
  if (int code = files::OpenForInput(kInputFile, input_name, buffers.read_buffer)) {
    outcome.failures.push_back({FileRole::kInput, FailedStep::kOpen, code});
    return outcome;
  }
  if (int code = files::OpenForRecords(kScheduleFile, output_name, kRecordLength,
                                       buffers.write_behind)) {
    outcome.failures.push_back({FileRole::kSchedule, FailedStep::kOpen, code});
    files::CloseAllFiles();
    return outcome;
  }

  Builder builder(&outcome);
  if (builder.WriteHeader() && ReadAllLines(&builder, &outcome) && builder.Finish()) {
    // Only a complete build replaces the schedule file; any other way out
    // leaves it as it was (CloseAllFiles removes the new file).
    if (int code = files::CommitRecords(kScheduleFile, outcome.records_written)) {
      outcome.failures.push_back({FileRole::kSchedule, FailedStep::kWrite, code});
    }
  }
  if (int code = files::CloseAllFiles()) {
    outcome.failures.push_back({FileRole::kSchedule, FailedStep::kClose, code});
  }
  return outcome;
}

}  // namespace schedule
