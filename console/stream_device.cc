#include "console/stream_device.h"

#include "console/key_decoder.h"

namespace console {

StreamDeviceBase::StreamDeviceBase(std::string_view line_end) : line_end_(line_end) {}

void StreamDeviceBase::Flush() {
  if (sent_ >= line_.size()) return;
  SendBytes(std::string_view(line_).substr(sent_));
  sent_ = line_.size();
}

void StreamDeviceBase::EndLine(int count) {
  // The rest of the line and its ends go out in one write.
  std::string bytes = line_.substr(sent_);
  for (int i = 0; i < count; ++i) bytes += line_end_;
  SendBytes(bytes);
  line_.clear();
  sent_ = 0;
}

bool StreamDeviceBase::GetScreenBufferInfo(ScreenInfo* info) {
  info->width = kWidth;
  info->height = kHeight;
  info->cursor_x = static_cast<uint16_t>(cursor_x_);
  info->cursor_y = static_cast<uint16_t>(cursor_y_);
  return true;
}

void StreamDeviceBase::WriteCells(int x, int y, const Cell* cells, int count) {
  if (y < 0 || y >= kHeight) return;
  MoveToRow(y);
  // A row above the held line has gone out already and cannot be taken
  // back: what is written there (a Backspace over a wrapped line) is lost,
  // as is a change to the part of the held line already sent.
  if (y < line_row_) return;
  for (int i = 0; i < count; ++i) {
    const int column = x + i;
    if (column < 0 || column >= kWidth) continue;
    if (static_cast<size_t>(column) >= line_.size()) line_.resize(column + 1, ' ');
    line_[column] = static_cast<char>(cells[i].ch);
  }
}

void StreamDeviceBase::ScrollUp(Cell) {
  // The held line moves up with the screen; the row that comes in below is
  // new, so the next write or cursor move there ends the held line.
  --line_row_;
}

void StreamDeviceBase::SetCursorPosition(int x, int y) {
  if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return;
  MoveToRow(y);
  cursor_x_ = x;
  cursor_y_ = y;
}

void StreamDeviceBase::FillCharacters(uint8_t, int count) {
  if (count < kWidth * kHeight) return;
  // A cleared screen starts the text over at the top row; a line begun
  // before the clear still goes out whole.
  if (!line_.empty()) EndLine(1);
  line_row_ = 0;
}

// The stream has no colours.
void StreamDeviceBase::FillAttributes(uint16_t, int) {}

bool StreamDeviceBase::GetCursorInfo(CursorInfo* info) {
  *info = cursor_info_;
  return true;
}

// Kept for the next read: nothing shows a cursor.
void StreamDeviceBase::SetCursorInfo(const CursorInfo& info) { cursor_info_ = info; }

PeekResult StreamDeviceBase::PeekInput(InputRecord* record) {
  if (keys_.empty() && !input_ended_) ReadInput();
  if (!keys_.empty()) {
    *record = keys_.front();
    return PeekResult::kRecord;
  }
  return input_ended_ ? PeekResult::kClosed : PeekResult::kEmpty;
}

void StreamDeviceBase::TakeInput() {
  if (!keys_.empty()) keys_.pop_front();
}

void StreamDeviceBase::MoveToRow(int y) {
  if (y <= line_row_) return;
  EndLine(y - line_row_);
  line_row_ = y;
}

void StreamDeviceBase::DecodeKeys(const char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const auto byte = static_cast<uint8_t>(bytes[i]);
    const bool lf_after_cr = after_cr_ && byte == '\n';
    after_cr_ = byte == '\r';
    if (lf_after_cr) continue;  // "\r\n" is one Enter
    InputRecord record;
    record.type = EventType::kKey;
    record.key_down = true;
    if (byte == '\n' || byte == '\r') {
      record.ch = '\r';
      record.scan_code = kScanEnter;
    } else {
      bool shifted = false;
      record.ch = byte;
      record.scan_code = byte == 0x08 ? kScanBackspace
                         : byte == '\t' ? kScanTab
                                        : ScanCodeForCharacter(byte, &shifted);
      record.control_state = shifted ? kShiftPressed : 0;
    }
    keys_.push_back(record);
  }
}

}  // namespace console
