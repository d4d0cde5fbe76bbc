#include "schedule/schedule_builder.h"

#include <string_view>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/read_field.h"
#include "frame/run_time_errors.h"
#include "schedule/messages.h"
#include "schedule/schedule_grouper.h"
#include "schedule/schedule_record.h"
#include "schedule/shown_text.h"
#include "schedule/text_lines.h"

namespace schedule {
namespace {

// Writes the records as the grouper completes them and keeps the warnings.
class RecordWriter final : public GroupingListener {
 public:
  explicit RecordWriter(BuildOutcome* outcome) : outcome_(outcome) {}

  // The header goes first, before the first date's record.
  bool DateBegun(const std::string& date, const SourceLine&) override {
    if (outcome_->records_written == 0 && !Write(MakeHeaderRecord())) return false;
    FillDateRecord(date, &record_);
    return true;
  }
  bool DateRepeated(const std::string&, const SourceLine&) override { return true; }
  bool GameStored(int slot, const GameFields& game, const SourceLine& source) override {
    StoreGame(&record_, slot, game.visitor, game.home, game.options);
    // A name the 8 bytes cut inside a character is stored, and said.
    if (NameCutInsideCharacter(game.visitor)) Warn(source.line, CutNameText("visitor", game.visitor));
    if (NameCutInsideCharacter(game.home)) Warn(source.line, CutNameText("home team", game.home));
    return true;
  }
  bool GameLeftOut(int, const SourceLine&) override { return true; }
  bool LineSkipped(const SourceLine& source) override {
    Warn(source.line, SkippedLineText(source.text));
    return true;
  }
  bool DateEnded(const std::string& date, int games, int64_t first_left_out) override {
    if (games > kSlotsPerRecord) Warn(first_left_out, FullDateText(date, games));
    return Write(record_);
  }

  void Warn(int64_t line, std::string message) {
    outcome_->warnings.push_back({line, std::move(message)});
  }

 private:
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
  ScheduleRecord record_ = MakeHeaderRecord();
};

// What the reading did that swallowed text without a trace in the records:
// a double quote left open to the end, a 0x1A byte before the end.
void WarnOfSwallowedText(const files::FieldNotes& notes, RecordWriter* writer) {
  if (notes.quoted && notes.quote_left_open) {
    writer->Warn(notes.first_line,
                 "a double quote opens a line that runs to the end of the file: everything "
                 "after it is one line");
  }
}

void WarnOfEndOfText(RecordWriter* writer) {
  files::EndOfTextNotes end = files::NotesOnEndOfText(kInputFile);
  if (!end.found || end.bytes_after == 0) return;
  writer->Warn(end.line, EndOfTextText(end.bytes_after, end.at_least));
}

// Reads the input to its end through the grouper. False when reading or
// writing failed, or the input is no schedule text.
bool ReadAllLines(GrouperOf<RecordWriter>* grouper, RecordWriter* writer, BuildOutcome* outcome) {
  files::FieldNotes notes;
  const LinesTaken taken = TakeInputLines(
      grouper, [writer](const files::FieldNotes& read) { WarnOfSwallowedText(read, writer); },
      &notes);
  if (taken.code != 0) {
    int64_t where = taken.code == frame::kFieldTooLong ? notes.first_line : 0;
    outcome->failures.push_back({FileRole::kInput, FailedStep::kRead, taken.code, where});
    return false;
  }
  if (taken.stopped) return false;
  if (!grouper->has_date()) {
    outcome->failures.push_back(
        {FileRole::kInput, FailedStep::kRead, taken.empty ? frame::kEmptyInput : frame::kNoDateLine});
    return false;
  }
  WarnOfEndOfText(writer);
  return grouper->Finish();
}

}  // namespace

BuildOutcome BuildScheduleFromOpenInput(const std::string& output_name, BuildBuffers buffers) {
  if (int code = files::OpenForRecords(kScheduleFile, output_name, kRecordLength,
                                       buffers.write_behind)) {
    BuildOutcome outcome;
    outcome.failures.push_back({FileRole::kSchedule, FailedStep::kOpen, code});
    files::CloseAllFiles();
    return outcome;
  }
  return BuildIntoOpenSchedule();
}

BuildOutcome BuildScheduleToStandardOutput(BuildBuffers buffers) {
  if (int code = files::OpenRecordsForStandardOutput(kScheduleFile, kRecordLength, buffers.write_behind)) {
    BuildOutcome outcome;
    outcome.failures.push_back({FileRole::kSchedule, FailedStep::kOpen, code});
    files::CloseAllFiles();
    return outcome;
  }
  return BuildIntoOpenSchedule();
}

BuildOutcome BuildIntoOpenSchedule() {
  BuildOutcome outcome;
  RecordWriter writer(&outcome);
  GrouperOf<RecordWriter> grouper(&writer);
  if (ReadAllLines(&grouper, &writer, &outcome)) {
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

BuildOutcome BuildSchedule(const std::string& input_name, const std::string& output_name,
                           BuildBuffers buffers) {
  // The input is opened first, so that an input that cannot be read leaves
  // the schedule file as it was, or absent.
  if (int code = files::OpenForInput(kInputFile, input_name, buffers.read_buffer)) {
    BuildOutcome outcome;
    outcome.failures.push_back({FileRole::kInput, FailedStep::kOpen, code});
    return outcome;
  }
  return BuildScheduleFromOpenInput(output_name, buffers);
}

}  // namespace schedule
