// The games of a season too many to keep in memory: a calendar of every
// team of a long season writes them to a temporary file as it reads them,
// then reads them back once for each batch of teams it writes, keeping
// only that batch's games. Each game is its 16 bytes as kept.
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_SPILL_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_SPILL_H_

#include <cstdint>
#include <functional>

#include "tool/calendar/calendar_season.h"

namespace tool {

class CalendarSpill {
 public:
  /// `spool` is the file number the temporary file is opened as, at the
  /// first game added.
  explicit CalendarSpill(int16_t spool) : spool_(spool) {}

  /// Adds `game` after those added before. A failure is kept for failure();
  /// nothing more is written after one.
  void Add(const CalendarGame& game);

  /// Hands every game added to `take`, in the order added; 0, or the code
  /// of the failure to keep or read them back.
  int ForEach(const std::function<void(const CalendarGame&)>& take);

  bool used() const { return games_ > 0; }
  uint64_t games() const { return games_; }
  /// The code of the first failure to keep the games, or 0.
  int failure() const { return failure_; }

 private:
  int16_t spool_;
  uint64_t games_ = 0;
  int failure_ = 0;
};

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_SPILL_H_
