// The narrow console device that console output and line input are written
// over. Its calls mirror the console calls the program makes on Windows: read
// the screen buffer's size and cursor, write one row piece of cells, scroll
// the whole buffer up by one row, move the cursor, fill cells from the
// top-left, read and apply the cursor record, and look at or take one input
// record. Every rule of the program (pending wrap, row pieces, newline and
// scroll rules, key records, the line editor) lives above this line; a device
// only carries the calls out.
//
// Five devices stand behind it: the in-memory one for tests, the terminal
// one on POSIX (a cell grid of our own shown through escape sequences), the
// Windows console, and the stream device for runs with no terminal or
// console, on POSIX and on Windows.
#ifndef ZELTO_CONSOLE_CONSOLE_DEVICE_H_
#define ZELTO_CONSOLE_CONSOLE_DEVICE_H_

#include <cstdint>

namespace console {

/// One cell of the screen buffer: a byte of the console's code page and its
/// attribute (bits 0-3 foreground colour, bits 4-7 background colour).
struct Cell {
  uint8_t ch = ' ';
  uint16_t attribute = 0x07;
};

/// The screen buffer's size and the cursor, columns and rows from 0.
struct ScreenInfo {
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t cursor_x = 0;
  uint16_t cursor_y = 0;
};

/// The cursor record: the cursor's size in percent of a cell (1-100) and
/// whether it shows.
struct CursorInfo {
  uint32_t size = 0;
  uint32_t visible = 0;  // a 32-bit boolean, as the platform keeps it
};

/// Control key state bits of a key record, as the Windows console sets them.
inline constexpr uint32_t kRightAltPressed = 0x0001;
inline constexpr uint32_t kLeftAltPressed = 0x0002;
inline constexpr uint32_t kRightCtrlPressed = 0x0004;
inline constexpr uint32_t kLeftCtrlPressed = 0x0008;
inline constexpr uint32_t kShiftPressed = 0x0010;
inline constexpr uint32_t kCapsLockOn = 0x0080;
inline constexpr uint32_t kEnhancedKey = 0x0100;

/// What an input record tells of.
enum class EventType : uint8_t { kKey, kMouse, kWindowSize, kMenu, kFocus };

/// One record of the console input queue. Only key events carry the fields
/// below; line input uses the key-down flag, the scan code's low byte, the
/// character byte and the control key state.
struct InputRecord {
  EventType type = EventType::kKey;
  bool key_down = true;
  uint16_t repeat_count = 1;
  uint8_t scan_code = 0;   // low byte of the virtual scan code
  uint8_t ch = 0;          // the character byte in the input code page; 0 for none
  uint32_t control_state = 0;
};

/// What a look at the input queue found.
enum class PeekResult : uint8_t {
  kRecord,  // a record is waiting; it was copied out and stays in the queue
  kEmpty,   // nothing waiting now (a failed look counts as this too)
  kClosed,  // the keyboard is gone for good: no record will ever come
};

/// The console calls the program needs. Coordinates count from 0.
/// No call reports a failure to its caller beyond what its result says:
/// console output never examines what the platform answered.
class ConsoleDevice {
 public:
  virtual ~ConsoleDevice() = default;

  /// The screen buffer's size and the cursor's position. False when the
  /// console cannot be asked; `info` is then left as it was.
  virtual bool GetScreenBufferInfo(ScreenInfo* info) = 0;

  /// Writes `count` cells (1 to 255) into row `y` from column `x`, bytes
  /// unchanged, no control character interpreted. Cells that would fall
  /// outside the buffer are dropped.
  virtual void WriteCells(int x, int y, const Cell* cells, int count) = 0;

  /// Moves rows 1..H-1 up to rows 0..H-2; the old row 0 is lost and row H-1
  /// becomes `fill`. The cursor does not move.
  virtual void ScrollUp(Cell fill) = 0;

  /// Moves the cursor to (x, y). A position outside the buffer is ignored.
  virtual void SetCursorPosition(int x, int y) = 0;

  /// Sets the character of `count` cells from (0, 0), row by row.
  virtual void FillCharacters(uint8_t ch, int count) = 0;

  /// Sets the attribute of `count` cells from (0, 0), row by row.
  virtual void FillAttributes(uint16_t attribute, int count) = 0;

  /// Reads the cursor record; a device with no cursor record of its own
  /// answers the one last applied. False when it cannot be read.
  virtual bool GetCursorInfo(CursorInfo* info) = 0;

  /// Applies the cursor record: shows or hides the cursor. A device that
  /// cannot set the cursor's size keeps it for the next read alone.
  virtual void SetCursorInfo(const CursorInfo& info) = 0;

  /// Looks at the head of the input queue without removing it and without
  /// waiting.
  virtual PeekResult PeekInput(InputRecord* record) = 0;

  /// Removes the record at the head of the input queue (the one looked
  /// at), if any; never waits.
  virtual void TakeInput() = 0;

  /// Waits `milliseconds` without using the processor; the keyboard poll
  /// sleeps here between looks.
  virtual void Sleep(int milliseconds) = 0;
};

}  // namespace console

#endif  // ZELTO_CONSOLE_CONSOLE_DEVICE_H_
