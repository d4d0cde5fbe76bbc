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
