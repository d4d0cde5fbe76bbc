// The grouping of a schedule text's lines under their dates: the one place
// where it is decided which line starts a record, which game goes into
// which slot and which is left out. The builder listens to it to write the
// records, the checker to tell a person what the build will do.
//
// A date line starts a record for its date, unless it repeats the date
// being filled, which goes on filling it. Every other line is a game of the
// date being filled, a blank one included (it takes a slot and leaves it
// blank); from the 16th game of a date on, games are counted and left out.
// Game lines before the first date have nowhere to go and are skipped; blank
// lines there are no games at all.
#ifndef ZELTO_SCHEDULE_SCHEDULE_GROUPER_H_
#define ZELTO_SCHEDULE_SCHEDULE_GROUPER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "schedule/schedule_text.h"

namespace schedule {

/// One line as the grouper takes it: its text and the editor line (from 1)
/// where it starts.
struct SourceLine {
  std::string_view text;
  int64_t line = 0;
};

/// What the grouping does, told as it happens. Each call may answer false
/// to stop the grouping (a record could not be written).
class GroupingListener {
 public:
  virtual ~GroupingListener() = default;
  /// A date line begins the record of `date` (8 bytes, space-padded).
  virtual bool DateBegun(const std::string& date, const SourceLine& source) = 0;
  /// A date line repeats the date being filled; the record goes on.
  virtual bool DateRepeated(const std::string& date, const SourceLine& source) = 0;
  /// A game is stored in `slot` (1 to 15) of the record being filled.
  virtual bool GameStored(int slot, const GameFields& game, const SourceLine& source) = 0;
  /// The `game_number`th game of a date (16 or more) is left out.
  virtual bool GameLeftOut(int game_number, const SourceLine& source) = 0;
  /// A game line before the first date is skipped.
  virtual bool LineSkipped(const SourceLine& source) = 0;
  /// The record of `date` is complete with `games` games, those left out
  /// included; `first_left_out` is the line of the 16th (0 when none was).
  virtual bool DateEnded(const std::string& date, int games, int64_t first_left_out) = 0;
};

/// Groups lines under dates and tells a listener of type `Listener` (a
/// GroupingListener, or a final class derived from it, whose calls are then
/// made directly) what it does.
template <typename Listener>
class GrouperOf {
 public:
  /// `listener` must outlive the grouper.
  explicit GrouperOf(Listener* listener) : listener_(listener) {}

  /// Takes the next line; false when the listener asked to stop.
  bool Take(const SourceLine& source) {
    if (IsDateLine(source.text)) return TakeDateLine(source);
    if (!has_date_) {
      // Blank lines before the first date are simply not games.
      return IsBlankLine(source.text) || listener_->LineSkipped(source);
    }
    return TakeGameLine(source);
  }

  /// Ends the record being filled, if any; false when the listener asked to
  /// stop.
  bool Finish() {
    if (!has_date_) return true;
    return listener_->DateEnded(current_date_, game_count_, first_left_out_);
  }

  /// True once a date line has been taken.
  bool has_date() const { return has_date_; }

 private:
  bool TakeDateLine(const SourceLine& source) {
    std::string date = DateOf(source.text);
    if (has_date_ && date == current_date_) return listener_->DateRepeated(date, source);
    if (has_date_ && !listener_->DateEnded(current_date_, game_count_, first_left_out_)) {
      return false;
    }
    has_date_ = true;
    current_date_ = std::move(date);
    game_count_ = 0;
    first_left_out_ = 0;
    return listener_->DateBegun(current_date_, source);
  }

  bool TakeGameLine(const SourceLine& source) {
    ++game_count_;
    if (game_count_ <= kSlotsPerRecord) {
      // Lines shorter than 30 characters read as if padded with blanks.
      return listener_->GameStored(game_count_, TakeGameFields(source.text), source);
    }
    if (first_left_out_ == 0) first_left_out_ = source.line;
    return listener_->GameLeftOut(game_count_, source);
  }

  Listener* listener_;
  bool has_date_ = false;
  std::string current_date_;    // the date of the record being filled
  int game_count_ = 0;          // its games, those past the 15th included
  int64_t first_left_out_ = 0;  // the line of its 16th game
};

/// The grouper for any listener.
using ScheduleGrouper = GrouperOf<GroupingListener>;

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_GROUPER_H_
