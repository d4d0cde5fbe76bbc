#include "console/stream_device_win32.h"

#include <algorithm>

#include "console/key_decoder.h"

namespace console {

namespace {

constexpr char kLineEnd[] = "\r\n";

bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// Writes all of `bytes`, going on after partial writes; stops at the first
// failure (a reader that went away): the rest of the transcript is dropped,
// the run goes on.
void WriteAll(HANDLE output, const std::string& bytes) {
  if (!IsUsable(output)) return;
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (!WriteFile(output, bytes.data() + done, chunk, &written, nullptr) || written == 0) return;
    done += written;
  }
}

}  // namespace

Win32StreamDevice::Win32StreamDevice(HANDLE input, HANDLE output,
                                     Win32StreamDevice** registration)
    : input_(input), output_(output), registration_(registration) {
  if (registration_ != nullptr) *registration_ = this;
}

Win32StreamDevice::~Win32StreamDevice() {
  Flush();
  if (registration_ != nullptr && *registration_ == this) *registration_ = nullptr;
}

void Win32StreamDevice::Flush() {
  if (sent_ >= line_.size()) return;
  WriteAll(output_, line_.substr(sent_));
  sent_ = line_.size();
}

void Win32StreamDevice::EndLine(int count) {
  Flush();
  std::string ends;
  for (int i = 0; i < count; ++i) ends += kLineEnd;
  WriteAll(output_, ends);
  line_.clear();
  sent_ = 0;
}

bool Win32StreamDevice::GetScreenBufferInfo(ScreenInfo* info) {
  info->width = kWidth;
  info->height = kHeight;
  info->cursor_x = static_cast<uint16_t>(cursor_x_);
  info->cursor_y = static_cast<uint16_t>(cursor_y_);
  return true;
}

void Win32StreamDevice::WriteCells(int x, int y, const Cell* cells, int count) {
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

void Win32StreamDevice::ScrollUp(Cell) {
  // The held line moves up with the screen; the row that comes in below is
  // new, so the next write or cursor move there ends the held line.
  --line_row_;
}

void Win32StreamDevice::SetCursorPosition(int x, int y) {
  if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return;
  MoveToRow(y);
  cursor_x_ = x;
  cursor_y_ = y;
}

void Win32StreamDevice::FillCharacters(uint8_t, int count) {
  if (count < kWidth * kHeight) return;
  // A cleared screen starts the text over at the top row; a line begun
  // before the clear still goes out whole.
  if (!line_.empty()) EndLine(1);
  line_row_ = 0;
}

void Win32StreamDevice::FillAttributes(uint16_t, int) {}

bool Win32StreamDevice::GetCursorInfo(CursorInfo* info) {
  *info = cursor_info_;
  return true;
}

void Win32StreamDevice::SetCursorInfo(const CursorInfo& info) { cursor_info_ = info; }

PeekResult Win32StreamDevice::PeekInput(InputRecord* record) {
  if (keys_.empty()) ReadInput();
  if (!keys_.empty()) {
    *record = keys_.front();
    return PeekResult::kRecord;
  }
  return input_ended_ ? PeekResult::kClosed : PeekResult::kEmpty;
}

void Win32StreamDevice::TakeInput() {
  if (!keys_.empty()) keys_.pop_front();
}

void Win32StreamDevice::Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

void Win32StreamDevice::MoveToRow(int y) {
  if (y <= line_row_) return;
  EndLine(y - line_row_);
  line_row_ = y;
}

void Win32StreamDevice::ReadInput() {
  if (input_ended_) return;
  if (!IsUsable(input_)) {
    input_ended_ = true;
    return;
  }
  char buffer[4096];
  DWORD wanted = sizeof(buffer);
  if (GetFileType(input_) == FILE_TYPE_PIPE) {
    // A read of an empty pipe would wait for the writer; look first.
    DWORD available = 0;
    if (PeekNamedPipe(input_, nullptr, 0, nullptr, &available, nullptr)) {
      if (available == 0) return;
      wanted = std::min<DWORD>(available, wanted);
    } else if (GetLastError() == ERROR_BROKEN_PIPE) {
      input_ended_ = true;  // the writer is gone
      return;
    } else {
      // The pipe cannot be looked into (Wine's pipes from the host answer
      // ERROR_NOT_SUPPORTED): the read waits for the writer. Nothing else
      // happens while a key is awaited, but the prompt held so far must be
      // out before the wait, or whoever answers it never sees it.
      Flush();
    }
  }
  DWORD read = 0;
  if (!ReadFile(input_, buffer, wanted, &read, nullptr) || read == 0) {
    input_ended_ = true;
    return;
  }
  Decode(buffer, read);
}

void Win32StreamDevice::Decode(const char* bytes, size_t count) {
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
