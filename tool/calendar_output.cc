#include "tool/calendar_output.h"

namespace tool {

namespace {

// Large enough that a write costs little beside the making of the bytes,
// small beside what a season's page holds.
constexpr size_t kPiece = 64 * 1024;

}  // namespace

void CalendarOutput::Add(std::string_view bytes) {
  if (failure_ != 0) return;
  gathered_.append(bytes);
  if (gathered_.size() >= kPiece) Hand();
}

void CalendarOutput::Hand() {
  if (failure_ == 0 && !gathered_.empty()) failure_ = put_(gathered_);
  gathered_.clear();
}

int CalendarOutput::Finish() {
  Hand();
  return failure_;
}

CalendarOutput::Putter AppendTo(std::string* text) {
  return [text](std::string_view bytes) {
    text->append(bytes);
    return 0;
  };
}

}  // namespace tool
