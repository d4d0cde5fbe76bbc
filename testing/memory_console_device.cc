#include "testing/memory_console_device.h"

#include <algorithm>
#include <utility>

namespace console {

MemoryConsoleDevice::MemoryConsoleDevice(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cells_(static_cast<size_t>(width_) * height_) {}

size_t MemoryConsoleDevice::IndexOf(int x, int y) const {
  return static_cast<size_t>(y) * width_ + x;
}

bool MemoryConsoleDevice::GetScreenBufferInfo(ScreenInfo* info) {
  ++calls_.get_screen_buffer_info;
  if (screen_info_fails_) return false;
  info->width = static_cast<uint16_t>(width_);
  info->height = static_cast<uint16_t>(height_);
  info->cursor_x = static_cast<uint16_t>(cursor_x_);
  info->cursor_y = static_cast<uint16_t>(cursor_y_);
  return true;
}

void MemoryConsoleDevice::WriteCells(int x, int y, const Cell* cells,
                                     int count) {
  ++calls_.write_cells;
  write_lengths_.push_back(count);
  if (y < 0 || y >= height_) return;
  for (int i = 0; i < count; ++i) {
    const int column = x + i;
    if (column >= 0 && column < width_) cells_[IndexOf(column, y)] = cells[i];
  }
}

void MemoryConsoleDevice::ScrollUp(Cell fill) {
  ++calls_.scroll_up;
  if (width_ == 0 || height_ == 0) return;
  std::move(cells_.begin() + width_, cells_.end(), cells_.begin());
  std::fill(cells_.end() - width_, cells_.end(), fill);
}

void MemoryConsoleDevice::SetCursorPosition(int x, int y) {
  ++calls_.set_cursor_position;
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
  cursor_x_ = x;
  cursor_y_ = y;
}

void MemoryConsoleDevice::FillCharacters(uint8_t ch, int count) {
  ++calls_.fill_characters;
  const size_t n = std::min(static_cast<size_t>(std::max(count, 0)),
                            cells_.size());
  for (size_t i = 0; i < n; ++i) cells_[i].ch = ch;
}

void MemoryConsoleDevice::FillAttributes(uint16_t attribute, int count) {
  ++calls_.fill_attributes;
  const size_t n = std::min(static_cast<size_t>(std::max(count, 0)),
                            cells_.size());
  for (size_t i = 0; i < n; ++i) cells_[i].attribute = attribute;
}

bool MemoryConsoleDevice::GetCursorInfo(CursorInfo* info) {
  ++calls_.get_cursor_info;
  if (cursor_info_fails_) return false;
  *info = cursor_info_;
  return true;
}

void MemoryConsoleDevice::SetCursorInfo(const CursorInfo& info) {
  ++calls_.set_cursor_info;
  cursor_info_ = info;
}

PeekResult MemoryConsoleDevice::PeekInput(InputRecord* record) {
  ++calls_.peek_input;
  if (queue_.empty()) return closed_ ? PeekResult::kClosed : PeekResult::kEmpty;
  *record = queue_.front();
  return PeekResult::kRecord;
}

void MemoryConsoleDevice::TakeInput() {
  ++calls_.take_input;
  if (!queue_.empty()) queue_.pop_front();
}

void MemoryConsoleDevice::Sleep(int milliseconds) {
  ++calls_.sleep;
  slept_milliseconds_ += milliseconds;
  if (sleep_hook_) sleep_hook_(*this);
}

void MemoryConsoleDevice::Resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::vector<Cell> cells(static_cast<size_t>(width) * height);
  for (int y = 0; y < std::min(height, height_); ++y) {
    for (int x = 0; x < std::min(width, width_); ++x) {
      cells[static_cast<size_t>(y) * width + x] = cells_[IndexOf(x, y)];
    }
  }
  cells_ = std::move(cells);
  width_ = width;
  height_ = height;
  cursor_x_ = std::clamp(cursor_x_, 0, std::max(width_ - 1, 0));
  cursor_y_ = std::clamp(cursor_y_, 0, std::max(height_ - 1, 0));
}

void MemoryConsoleDevice::ForceCursor(int x, int y) {
  cursor_x_ = x;
  cursor_y_ = y;
}

void MemoryConsoleDevice::PushRecord(const InputRecord& record) {
  queue_.push_back(record);
}

void MemoryConsoleDevice::PressKey(uint8_t ch, uint8_t scan_code,
                                   uint32_t control_state) {
  InputRecord record;
  record.type = EventType::kKey;
  record.key_down = true;
  record.ch = ch;
  record.scan_code = scan_code;
  record.control_state = control_state;
  queue_.push_back(record);
  record.key_down = false;
  queue_.push_back(record);
}

void MemoryConsoleDevice::TypeText(std::string_view text) {
  for (const char byte : text) {
    const uint8_t ch = static_cast<uint8_t>(byte);
    // The two keys the line editor acts on get their own scan codes; the
    // rest need none, since no Alt is held.
    const uint8_t scan_code = ch == 13 ? 0x1C : ch == 8 ? 0x0E : 0;
    PressKey(ch, scan_code);
  }
}

Cell MemoryConsoleDevice::CellAt(int x, int y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return Cell{};
  return cells_[IndexOf(x, y)];
}

std::string MemoryConsoleDevice::RowText(int y) const {
  std::string row;
  for (int x = 0; x < width_; ++x) {
    row.push_back(static_cast<char>(CellAt(x, y).ch));
  }
  return row;
}

std::string MemoryConsoleDevice::TrimmedRow(int y) const {
  std::string row = RowText(y);
  row.erase(row.find_last_not_of(' ') + 1);
  return row;
}

}  // namespace console
