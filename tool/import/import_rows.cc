#include "tool/import/import_rows.h"

#include <chrono>
#include <utility>

#include "schedule/shown_text.h"
#include "schedule/whole_number.h"

namespace tool {
namespace {

constexpr char kEndOfData = 0x1A;  // Ctrl+Z
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

RowLineSplitter::RowLineSplitter(LineHandler take) : take_(std::move(take)) {}

void RowLineSplitter::Feed(std::string_view bytes) {
  for (char byte : bytes) {
    if (ended_) return;
    // A CR not followed by LF ends its line alone, as every other reader of
    // the program takes it.
    if (last_was_cr_ && byte != '\n') EndLine();
    if (byte == kEndOfData) {
      ended_ = true;
    } else if (byte == '\n') {
      EndLine();
    } else {
      line_ += byte;
      ++full_length_;
      last_was_cr_ = byte == '\r';
      // A byte past the limit that is no CR (which ends the line) makes the
      // row too long whatever follows, and no more is read.
      if (!last_was_cr_ && full_length_ > kMaxRowBytes) {
        take_(RowLine{std::string_view(line_).substr(0, kMaxRowBytes), number_, full_length_, true});
        ended_ = true;
        line_.clear();
        full_length_ = 0;
        last_was_cr_ = false;
      }
    }
  }
}

void RowLineSplitter::Finish() {
  if (full_length_ > 0) EndLine();
}

void RowLineSplitter::EndLine() {
  if (last_was_cr_) {  // CR LF
    if (line_.size() == full_length_) line_.pop_back();
    --full_length_;
  }
  std::string_view text = line_;
  if (number_ == 1 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
    full_length_ -= kByteOrderMark.size();
  }
  if (text.size() > kMaxRowBytes) text = text.substr(0, kMaxRowBytes);
  take_(RowLine{text, number_, full_length_});
  ++number_;
  line_.clear();
  full_length_ = 0;
  last_was_cr_ = false;
}

bool ParseRowDate(std::string_view text, RowDate* date, std::string* problem) {
  // The year, month and day, each its digits alone: an unsigned number
  // takes no sign.
  uint64_t values[3] = {};
  const size_t widths[3] = {4, 2, 2};
  bool digits = text.size() == 8;
  for (size_t field = 0, from = 0; digits && field < 3; from += widths[field++]) {
    digits = schedule::IsWholeNumber(text.substr(from, widths[field]), 9999, &values[field]);
  }
  if (!digits) {
    *problem = "date " + schedule::Quoted(text) + " is not written YYYYMMDD";
    return false;
  }
  *date = RowDate{static_cast<int>(values[0]), static_cast<int>(values[1]),
                  static_cast<int>(values[2])};
  // The Gregorian calendar's own rule: 19000229 is no day, 20000229 is.
  const std::chrono::year_month_day day{std::chrono::year{date->year},
                                        std::chrono::month{static_cast<unsigned>(date->month)},
                                        std::chrono::day{static_cast<unsigned>(date->day)}};
  if (date->month < 1 || date->day < 1 || !day.ok()) {
    *problem = "date " + std::string(text) + " is not a real day";
    return false;
  }
  return true;
}

}  // namespace tool
