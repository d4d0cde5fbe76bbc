#include "schedule/schedule_grouper.h"

namespace schedule {

bool ScheduleGrouper::Take(const SourceLine& source) {
  if (IsDateLine(source.text)) return TakeDateLine(source);
  if (!has_date_) {
    // Blank lines before the first date are simply not games.
    return IsBlankLine(source.text) || listener_->LineSkipped(source);
  }
  return TakeGameLine(source);
}

bool ScheduleGrouper::Finish() {
  if (!has_date_) return true;
  return listener_->DateEnded(current_date_, game_count_, first_left_out_);
}

bool ScheduleGrouper::TakeDateLine(const SourceLine& source) {
  std::string date = DateOf(source.text);
  if (has_date_ && date == current_date_) return listener_->DateRepeated(date, source);
  if (has_date_ && !listener_->DateEnded(current_date_, game_count_, first_left_out_)) return false;
  has_date_ = true;
  current_date_ = std::move(date);
  game_count_ = 0;
  first_left_out_ = 0;
  return listener_->DateBegun(current_date_, source);
}

bool ScheduleGrouper::TakeGameLine(const SourceLine& source) {
  ++game_count_;
  if (game_count_ <= kSlotsPerRecord) {
    // Lines shorter than 30 characters read as if padded with blanks.
    return listener_->GameStored(game_count_, TakeGameFields(source.text), source);
  }
  if (first_left_out_ == 0) first_left_out_ = source.line;
  return listener_->GameLeftOut(game_count_, source);
}

}  // namespace schedule
