// The in-memory console device: a grid of cells, a cursor, a cursor record
// and a queue of input records, all held in memory, with counters of the
// calls made on it and switches that make its reads fail. Tests of console
// output, line input and the dialogue run over it.
#ifndef ZELTO_TESTING_MEMORY_CONSOLE_DEVICE_H_
#define ZELTO_TESTING_MEMORY_CONSOLE_DEVICE_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/console_device.h"

namespace console {

/// How many times each call was made on a MemoryConsoleDevice.
struct DeviceCallCounts {
  int get_screen_buffer_info = 0;  ///< GetScreenBufferInfo calls
  int write_cells = 0;             ///< WriteCells calls
  int scroll_up = 0;               ///< ScrollUp calls
  int set_cursor_position = 0;     ///< SetCursorPosition calls
  int fill_characters = 0;         ///< FillCharacters calls
  int fill_attributes = 0;         ///< FillAttributes calls
  int get_cursor_info = 0;         ///< GetCursorInfo calls
  int set_cursor_info = 0;         ///< SetCursorInfo calls
  int peek_input = 0;              ///< PeekInput calls
  int take_input = 0;              ///< TakeInput calls
  int sleep = 0;                   ///< Sleep calls
};

/// A console device held in memory. Every call is counted; Sleep waits
/// for nothing, then runs the sleep hook.
class MemoryConsoleDevice : public ConsoleDevice {
 public:
  /// A buffer of `width` x `height` blank cells (space, 0x07), the cursor at
  /// (0, 0) and a visible cursor of size 25.
  MemoryConsoleDevice(int width, int height);

  /// The ConsoleDevice operations, each as console_device.h documents it.
  bool GetScreenBufferInfo(ScreenInfo* info) override;
  void WriteCells(int x, int y, const Cell* cells, int count) override;
  void ScrollUp(Cell fill) override;
  void SetCursorPosition(int x, int y) override;
  void FillCharacters(uint8_t ch, int count) override;
  void FillAttributes(uint16_t attribute, int count) override;
  bool GetCursorInfo(CursorInfo* info) override;
  void SetCursorInfo(const CursorInfo& info) override;
  PeekResult PeekInput(InputRecord* record) override;
  void TakeInput() override;
  void Sleep(int milliseconds) override;

  /// Resizes the buffer, keeping the cells that still fit; new cells are
  /// blank and the cursor is kept inside the buffer.
  void Resize(int width, int height);
  /// Puts the cursor anywhere, even outside the buffer, as a faulty console
  /// might report it.
  void ForceCursor(int x, int y);
  /// Makes GetScreenBufferInfo fail (true) or work (false).
  void set_screen_info_fails(bool fails) { screen_info_fails_ = fails; }
  /// Makes GetCursorInfo fail (true) or work (false).
  void set_cursor_info_fails(bool fails) { cursor_info_fails_ = fails; }
  /// Sets the cursor record without counting a call.
  void set_cursor_info(const CursorInfo& info) { cursor_info_ = info; }
  /// Closes the keyboard: once the queue is empty PeekInput answers kClosed.
  void CloseKeyboard() { closed_ = true; }
  /// Runs `hook` after each Sleep, e.g. to type keys while a read waits.
  void set_sleep_hook(std::function<void(MemoryConsoleDevice&)> hook) {
    sleep_hook_ = std::move(hook);
  }

  /// Appends one record to the input queue.
  void PushRecord(const InputRecord& record);
  /// Appends a key-down and a key-up record for one key.
  void PressKey(uint8_t ch, uint8_t scan_code = 0, uint32_t control_state = 0);
  /// Presses one key per byte of `text` (13 as Enter, 8 as Backspace).
  void TypeText(std::string_view text);

  /// The buffer's width in cells.
  int width() const { return width_; }
  /// The buffer's height in cells.
  int height() const { return height_; }
  /// The cursor's column.
  int cursor_x() const { return cursor_x_; }
  /// The cursor's row.
  int cursor_y() const { return cursor_y_; }
  /// The cursor record as last set.
  const CursorInfo& cursor_info() const { return cursor_info_; }
  /// The cell at (`x`, `y`); a blank cell outside the buffer.
  Cell CellAt(int x, int y) const;
  /// The bytes of row `y`, all `width()` of them.
  std::string RowText(int y) const;
  /// The bytes of row `y` without trailing spaces.
  std::string TrimmedRow(int y) const;
  /// Records still waiting in the input queue.
  size_t queued_records() const { return queue_.size(); }
  /// The calls made so far.
  const DeviceCallCounts& calls() const { return calls_; }
  /// The cell count of every WriteCells call, in order.
  const std::vector<int>& write_lengths() const { return write_lengths_; }
  /// The milliseconds of all Sleep calls together.
  long long slept_milliseconds() const { return slept_milliseconds_; }

 private:
  // Index of the cell at (x, y), which must lie inside the buffer.
  size_t IndexOf(int x, int y) const;

  int width_;
  int height_;
  std::vector<Cell> cells_;
  int cursor_x_ = 0;
  int cursor_y_ = 0;
  CursorInfo cursor_info_{25, 1};
  std::deque<InputRecord> queue_;
  bool closed_ = false;
  bool screen_info_fails_ = false;
  bool cursor_info_fails_ = false;
  std::function<void(MemoryConsoleDevice&)> sleep_hook_;
  DeviceCallCounts calls_;
  std::vector<int> write_lengths_;
  long long slept_milliseconds_ = 0;
};

}  // namespace console

#endif  // ZELTO_TESTING_MEMORY_CONSOLE_DEVICE_H_
