// The console device on a POSIX terminal: the screen buffer is a cell grid of
// our own, shown through VT escape sequences; the keyboard is the controlling
// terminal read raw and decoded into key records.
#ifndef ZELTO_CONSOLE_TERMINAL_DEVICE_POSIX_H_
#define ZELTO_CONSOLE_TERMINAL_DEVICE_POSIX_H_

#include <string>

#include "console/console_device.h"
#include "console/key_decoder.h"
#include "console/terminal_grid.h"

namespace console {

/// The terminal as a console device. The terminal session (raw mode, the
/// restore at exit, the SIGWINCH flag) is set up around it by
/// OpenPlatformConsole.
class TerminalDevice final : public ConsoleDevice {
 public:
  /// Keys come from `keyboard_fd` (non-blocking; -1 for none, every look
  /// then answers closed), the picture goes to `screen_fd`. Neither is
  /// closed here.
  TerminalDevice(int keyboard_fd, int screen_fd);

  /// The buffer's size (not the window's: see the model at the top of
  /// terminal_device_posix.cc) and the cursor.
  bool GetScreenBufferInfo(ScreenInfo* info) override;
  /// Puts cells into one row and shows them.
  void WriteCells(int x, int y, const Cell* cells, int count) override;
  /// Scrolls the whole screen up one row.
  void ScrollUp(Cell fill) override;
  /// Moves the cursor; a position outside the screen is ignored.
  void SetCursorPosition(int x, int y) override;
  /// Sets the character of cells from the top-left.
  void FillCharacters(uint8_t ch, int count) override;
  /// Sets the attribute of cells from the top-left.
  void FillAttributes(uint16_t attribute, int count) override;
  /// The cursor record as last applied (size 25, visible at first).
  bool GetCursorInfo(CursorInfo* info) override;
  /// Applies the cursor record: shows or hides the cursor, keeps the size.
  void SetCursorInfo(const CursorInfo& info) override;
  /// Looks at the next key record without waiting.
  PeekResult PeekInput(InputRecord* record) override;
  /// Removes the key record looked at.
  void TakeInput() override;
  /// Sleeps without using the processor.
  void Sleep(int milliseconds) override;

 private:
  /// Takes a new window size after a SIGWINCH and repaints the window; also
  /// repaints it after the terminal was taken back from a stop.
  void FollowWindowSize();
  /// Sends what the grid has that the terminal does not show, in one write;
  /// everything after the terminal was taken back from a stop.
  void Show();
  /// Reads the keys that are waiting, without blocking, into the decoder.
  void ReadKeyboard();

  int keyboard_fd_;
  int screen_fd_;
  TerminalGrid grid_;
  KeyDecoder decoder_;
  CursorInfo cursor_info_ = {25, 1};  // a terminal's cursor has no size to read
  bool keyboard_closed_ = false;      // end of file or a lasting read failure
  std::string out_;                   // the bytes of one device call
};

}  // namespace console

#endif  // ZELTO_CONSOLE_TERMINAL_DEVICE_POSIX_H_
