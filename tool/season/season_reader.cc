#include "tool/season/season_reader.h"

#include <cstring>

#include "files/read_field.h"
#include "frame/run_time_errors.h"
#include "schedule/messages.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/text_lines.h"
#include "tool/record_places.h"
#include "tool/tool_input.h"

namespace tool {

using schedule::BuildFailure;
using schedule::DescribeFailure;
using schedule::FailedStep;
using schedule::FileRole;
using schedule::GameSlot;
using schedule::ScheduleRecord;
using schedule::TrimTrailingSpaces;
using schedule::kDateWidth;
using schedule::kNameWidth;
using schedule::kRecordLength;

namespace {

constexpr std::string_view kDateKind = "  ";

std::string CannotRead(const std::string& path, int code, int64_t line = 0) {
  return DescribeFailure(BuildFailure{FileRole::kInput, FailedStep::kRead, code, line}, path, "");
}

// Tells the games of one date record, blank slots left out.
void TellRecord(const ScheduleRecord& record, int64_t number, SeasonListener* listener) {
  std::string_view date(record.date, kDateWidth);
  listener->DateBegun(date, number);
  for (int slot = 1; slot <= schedule::kSlotsPerRecord; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    if (schedule::IsBlankSlot(game)) continue;
    SeasonGame told;
    told.date = date;
    told.visitor = TrimTrailingSpaces(std::string_view(game.visitor, kNameWidth));
    told.home = TrimTrailingSpaces(std::string_view(game.home, kNameWidth));
    told.options = TrimTrailingSpaces(std::string_view(game.options, schedule::kOptionsWidth));
    told.record = number;
    told.slot = slot;
    // A slot whose names are blank holds options alone: no game.
    if (told.visitor.empty() && told.home.empty()) continue;
    listener->GameRead(told);
  }
  listener->DateEnded();
}

// A schedule file, read a record at a time: a damaged record, or bytes that
// make no whole record, end the reading as a failure.
bool ReadScheduleRecords(const std::string& path, SeasonListener* listener,
                         std::string* failure) {
  ScheduleRecord record;
  uint64_t size = 0;
  for (int64_t number = 1;; ++number) {
    uint32_t got = 0;
    if (int code = files::ReadBytes(kToolInputFile, reinterpret_cast<uint8_t*>(&record),
                                    kRecordLength, &got)) {
      *failure = schedule::CannotText(FailedStep::kRead, "schedule file", path, code);
      return false;
    }
    if (got == 0) return true;
    size += got;
    if (got < static_cast<uint32_t>(kRecordLength)) {
      *failure = path + ": " + RecordAt(number) + ": the file's " + std::to_string(size) +
                 " bytes are no whole number of " + std::to_string(kRecordLength) +
                 "-byte records: this record has only " + std::to_string(got) + " bytes";
      return false;
    }
    if (number == 1) continue;  // the header, known already
    if (std::string_view(record.kind, 2) != kDateKind) {
      *failure = path + ": " + RecordAt(number) + ": not a date record: its kind bytes are " +
                 KindBytes(record.kind) + ", not two spaces";
      return false;
    }
    TellRecord(record, number, listener);
  }
}

// A schedule text, read through the build's reader and grouper.
bool ReadText(const std::string& path, SeasonListener* listener, std::string* failure) {
  SeasonFromGrouping season(listener, path);
  schedule::ScheduleGrouper grouper(&season);
  files::FieldNotes notes;
  const schedule::LinesTaken taken =
      schedule::TakeInputLines(&grouper, [](const files::FieldNotes&) {}, &notes);
  if (taken.code != 0) {
    *failure = CannotRead(path, taken.code,
                          taken.code == frame::kFieldTooLong ? notes.first_line : 0);
    return false;
  }
  if (!grouper.has_date()) {
    *failure = CannotRead(path, taken.empty ? frame::kEmptyInput : frame::kNoDateLine);
    return false;
  }
  grouper.Finish();
  season.TellLossesUntold();
  return true;
}

}  // namespace

bool OpenSeason(const std::string& path, std::string* failure) {
  if (int code = OpenToolInput(kToolInputFile, path)) {
    *failure = DescribeFailure(BuildFailure{FileRole::kInput, FailedStep::kOpen, code}, path, "");
    return false;
  }
  return true;
}

bool ReadOpenSeason(const std::string& path, SeasonListener* listener, SeasonKind* kind,
                    std::string* failure) {
  uint8_t first[kRecordLength];
  uint32_t got = 0;
  if (int code = files::PeekBytes(kToolInputFile, first, kRecordLength, &got)) {
    *failure = CannotRead(path, code);
    return false;
  }
  if (schedule::IsScheduleHeader(std::string_view(reinterpret_cast<const char*>(first), got))) {
    *kind = SeasonKind::kScheduleFile;
    return ReadScheduleRecords(path, listener, failure);
  }
  *kind = SeasonKind::kText;
  return ReadText(path, listener, failure);
}

std::string GamePlace(const std::string& path, const SeasonGame& game) {
  if (game.line > 0) return path + ":" + std::to_string(game.line);
  return path + ": record " + std::to_string(game.record) + " slot " + std::to_string(game.slot);
}

bool SeasonFromGrouping::DateBegun(const std::string& date, const schedule::SourceLine&) {
  date_ = date;
  ++record_;
  listener_->DateBegun(date_, record_);
  return true;
}

bool SeasonFromGrouping::DateRepeated(const std::string&, const schedule::SourceLine&) {
  return true;
}

bool SeasonFromGrouping::GameStored(int slot, const schedule::GameFields& game,
                                    const schedule::SourceLine& source) {
  // The names as the record stores them: at most 8 bytes, then padding.
  SeasonGame told;
  told.date = date_;
  told.visitor = TrimTrailingSpaces(game.visitor);
  told.home = TrimTrailingSpaces(game.home);
  told.options = TrimTrailingSpaces(game.options);
  told.record = record_;
  told.slot = slot;
  told.line = source.line;
  if (!told.visitor.empty() || !told.home.empty()) listener_->GameRead(told);
  return true;
}

bool SeasonFromGrouping::GameLeftOut(int, const schedule::SourceLine&) { return true; }

void SeasonFromGrouping::Lost(std::string warning) {
  if (++losses_ <= kLossesTold) listener_->GamesLost(warning);
}

void SeasonFromGrouping::TellLossesUntold() {
  if (losses_ <= kLossesTold) return;
  listener_->GamesLost(path_ + ": " +
                       schedule::Counted(losses_ - kLossesTold, "more warning", "more warnings") +
                       " like these, of games the build leaves out, not shown");
}

bool SeasonFromGrouping::LineSkipped(const schedule::SourceLine& source) {
  Lost(path_ + ":" + std::to_string(source.line) + ": " + schedule::SkippedLineText(source.text));
  return true;
}

bool SeasonFromGrouping::DateEnded(const std::string& date, int games, int64_t first_left_out) {
  listener_->DateEnded();
  if (games > schedule::kSlotsPerRecord) {
    Lost(path_ + ":" + std::to_string(first_left_out) + ": " +
         schedule::FullDateText(date, games));
  }
  return true;
}

}  // namespace tool
