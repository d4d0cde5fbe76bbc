#include "console/stream_device_posix.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

#include "console/fd_io_posix.h"
#include "console/key_decoder.h"
#include "console/terminal_session_posix.h"

namespace console {

StreamDevice::StreamDevice(int input_fd, int output_fd)
    : input_fd_(input_fd), output_fd_(output_fd) {}

StreamDevice::~StreamDevice() {
  Flush();
  // The exit-time flush must not reach a device that is gone.
  PosixConsoleSession& session = TheConsoleSession();
  if (session.stream_device == this) session.stream_device = nullptr;
}

void StreamDevice::Flush() {
  if (line_.empty()) return;
  WriteAll(output_fd_, line_);
  line_.clear();
}

bool StreamDevice::GetScreenBufferInfo(ScreenInfo* info) {
  info->width = kWidth;
  info->height = kHeight;
  info->cursor_x = static_cast<uint16_t>(cursor_x_);
  info->cursor_y = static_cast<uint16_t>(cursor_y_);
  return true;
}

void StreamDevice::WriteCells(int x, int y, const Cell* cells, int count) {
  if (y < 0 || y >= kHeight) return;
  MoveToRow(y);
  // A row above the held line has gone out already: a stream cannot take
  // it back, so what is written there (a Backspace reaching back over a
  // wrapped line) is lost.
  if (y < line_row_) return;
  for (int i = 0; i < count; ++i) {
    const int column = x + i;
    if (column < 0 || column >= kWidth) continue;
    if (static_cast<size_t>(column) >= line_.size()) line_.resize(column + 1, ' ');
    line_[column] = static_cast<char>(cells[i].ch);
  }
}

void StreamDevice::ScrollUp(Cell) {
  // The held line moves up with the screen; the row that comes in below is
  // new, so the next write or cursor move there ends the held line.
  --line_row_;
}

void StreamDevice::SetCursorPosition(int x, int y) {
  if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return;
  MoveToRow(y);
  cursor_x_ = x;
  cursor_y_ = y;
}

void StreamDevice::FillCharacters(uint8_t, int count) {
  if (count < kWidth * kHeight) return;
  // A cleared screen starts the text over at the top row; a line begun
  // before the clear still goes out whole.
  if (!line_.empty()) {
    line_.push_back('\n');
    Flush();
  }
  line_row_ = 0;
}

void StreamDevice::FillAttributes(uint16_t, int) {}

bool StreamDevice::GetCursorInfo(CursorInfo* info) {
  *info = cursor_info_;
  return true;
}

void StreamDevice::SetCursorInfo(const CursorInfo& info) { cursor_info_ = info; }

PeekResult StreamDevice::PeekInput(InputRecord* record) {
  if (keys_.empty()) ReadInput();
  if (!keys_.empty()) {
    *record = keys_.front();
    return PeekResult::kRecord;
  }
  return input_ended_ ? PeekResult::kClosed : PeekResult::kEmpty;
}

void StreamDevice::TakeInput() {
  if (!keys_.empty()) keys_.pop_front();
}

void StreamDevice::Sleep(int milliseconds) { SleepMilliseconds(milliseconds); }

void StreamDevice::MoveToRow(int y) {
  if (y <= line_row_) return;
  line_.append(static_cast<size_t>(y - line_row_), '\n');
  Flush();
  line_row_ = y;
}

void StreamDevice::ReadInput() {
  if (input_ended_) return;
  // Standard input is shared with whoever started the program: it is polled,
  // not switched to non-blocking mode.
  pollfd p = {input_fd_, POLLIN, 0};
  const int ready = poll(&p, 1, 0);
  if (ready == 0 || (ready < 0 && errno == EINTR)) return;
  if (ready < 0 || (p.revents & POLLNVAL)) {
    input_ended_ = true;
    return;
  }
  char buffer[4096];
  ssize_t n = 0;
  do {
    n = read(input_fd_, buffer, sizeof(buffer));
  } while (n < 0 && errno == EINTR);
  if (n > 0) {
    Decode(buffer, static_cast<size_t>(n));
  } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
    input_ended_ = true;
  }
}

void StreamDevice::Decode(const char* bytes, size_t count) {
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
