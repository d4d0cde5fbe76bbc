#include "tool/calendar/calendar_spill.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

#include "files/file_replace.h"
#include "files/record_read.h"
#include "frame/run_time_errors.h"

namespace tool {

namespace {

// The games are written and read back by the same run: their bytes as kept.
static_assert(std::is_trivially_copyable_v<CalendarGame>);
constexpr uint32_t kGameBytes = sizeof(CalendarGame);
// Read back this many at a time: 64 KiB.
constexpr uint32_t kBlockGames = 4096;

}  // namespace

void CalendarSpill::Add(const CalendarGame& game) {
  if (failure_ != 0) return;
  if (games_ == 0 && (failure_ = files::OpenSpool(spool_, kGameBytes)) != 0) return;
  uint8_t bytes[kGameBytes];
  std::memcpy(bytes, &game, kGameBytes);
  // The spool gathers what is written and hands it to the file in large pieces.
  failure_ = files::WriteBytes(spool_, bytes, kGameBytes);
  if (failure_ == 0) ++games_;
}

int CalendarSpill::ForEach(const std::function<void(const CalendarGame&)>& take) {
  if (failure_ != 0 || games_ == 0) return failure_;
  std::unique_ptr<uint8_t[]> block(new uint8_t[kBlockGames * kGameBytes]);
  CalendarGame game;
  for (uint64_t at = 0; at < games_;) {
    const auto wanted = static_cast<uint32_t>(std::min<uint64_t>(kBlockGames, games_ - at));
    uint32_t got = 0;
    if (int code = files::ReadBytesAt(spool_, at * kGameBytes, block.get(), wanted * kGameBytes,
                                      &got)) {
      return code;
    }
    // Shorter than written: the temporary file was cut by someone else.
    if (got < wanted * kGameBytes) return frame::kPathFileAccess;
    for (uint32_t i = 0; i < wanted; ++i) {
      std::memcpy(&game, block.get() + static_cast<size_t>(i) * kGameBytes, kGameBytes);
      take(game);
    }
    at += wanted;
  }
  return 0;
}

}  // namespace tool
