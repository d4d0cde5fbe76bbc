// The console device on the Windows console: every call of the device is the
// console call of the same name, made on the handles that start-up opened.
// Output goes to the output handle (standard output when that is a console
// screen buffer, else standard error); keys come from the keyboard handle,
// the console input buffer opened as "CONIN$", so they come from the console
// also when standard input is redirected.
//
// Quirks written down here, as the rest of the program relies on them:
// - The buffer's size is dwSize, the whole screen buffer, not the window.
// - WriteConsoleOutputA puts the bytes into the cells unchanged: no control
//   character is interpreted, whatever the console modes are.
// - The character bytes are those of the console's code pages
//   (GetConsoleOutputCP for the cells, GetConsoleCP for the keys); nothing
//   here converts them.
// - ReadConsoleInputA waits while the queue is empty, so a record is only
//   taken when the console says one is waiting.
#ifndef ZELTO_CONSOLE_CONSOLE_DEVICE_WIN32_H_
#define ZELTO_CONSOLE_CONSOLE_DEVICE_WIN32_H_

#include "console/handle_win32.h"

#include "console/console_device.h"

namespace console {

/// The platform part of the console state on Windows: the handles the
/// console calls go to and the console modes found at start-up, kept so
/// that they can be given back at the end.
struct Win32ConsoleHandles {
  HANDLE keyboard = INVALID_HANDLE_VALUE;  ///< "CONIN$"; invalid when it could not be opened
  HANDLE output = nullptr;                 ///< the screen buffer all output goes to
  HANDLE standard_error = nullptr;         ///< GetStdHandle(STD_ERROR_HANDLE) at start-up
  HANDLE standard_input = nullptr;         ///< GetStdHandle(STD_INPUT_HANDLE) at start-up
  HANDLE standard_output = nullptr;        ///< GetStdHandle(STD_OUTPUT_HANDLE) at start-up
  bool output_opened = false;              ///< output is a "CONOUT$" of our own, closed at the end
  DWORD output_mode_found = 0;             ///< the output handle's mode before start-up set it
  bool output_mode_saved = false;          ///< output_mode_found holds a mode to give back
  DWORD input_mode_found = 0;              ///< standard input's mode before start-up set it
  bool input_mode_saved = false;           ///< input_mode_found holds a mode to give back
};

/// The console device over the Windows console calls.
class Win32ConsoleDevice final : public ConsoleDevice {
 public:
  /// Works on `handles`, which must outlive the device; nothing is opened
  /// or closed here.
  explicit Win32ConsoleDevice(const Win32ConsoleHandles& handles);

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
  const Win32ConsoleHandles& handles_;
};

/// The input record the program works with for a console INPUT_RECORD.
InputRecord InputRecordFromConsole(const INPUT_RECORD& record);

}  // namespace console

#endif  // ZELTO_CONSOLE_CONSOLE_DEVICE_WIN32_H_
