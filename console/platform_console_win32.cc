// Picks the console on Windows and gives it back at the end.
//
// Start-up takes the standard handles, opens the console's input buffer by
// its device name "CONIN$" for the keyboard (so keys come from the console
// also when standard input is redirected), sends output to standard output
// when that is a console screen buffer and to standard error otherwise, and
// sets the console modes: processed output with wrap at the end of a line on
// the output (these govern stream writes only; the cell writes of console
// output do not depend on them), and mode 0 on standard input, so the
// console does no line editing or echo of its own and Ctrl+C arrives as a
// key. The cursor record is read afterwards by the portable console set-up,
// through Win32ConsoleDevice::GetCursorInfo.
//
// Beyond that order of calls:
// - When neither standard output nor standard error is a console screen
//   buffer but the process has a console (both redirected), the picture
//   goes to the console's active screen buffer, "CONOUT$": the user would
//   otherwise type names blind.
// - With no console at all the stream device takes over: lines to standard
//   output, keys from standard input.
// - The console modes found at start-up are given back at the end (also at
//   exit), so the console is left as the shell that started us set it.
//
// Windows and Wine notes:
// - Under Wine a Ctrl+C typed in the terminal ends the program even with
//   input mode 0; on Windows it arrives as the byte 3 and is ignored.
// - When standard input is redirected its mode cannot be set and the
//   console's own input mode stays as it was; the keys are read the same
//   way, and records other than key events are skipped.
#include "console/platform_console.h"

#include <cstdlib>

#include "console/console_device_win32.h"
#include "console/handle_win32.h"
#include "console/stream_device_win32.h"
#include "frame/file_api_text_win32.h"

namespace console {
namespace {

// ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT.
constexpr DWORD kOutputMode = ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT;
// No line input, no echo, no processed input.
constexpr DWORD kInputMode = 0;

// The console state's platform part for the whole run.
struct Win32ConsoleSession {
  Win32ConsoleHandles handles;
  bool open = false;                          // OpenPlatformConsole ran
  bool stream_mode = false;                   // no console: lines out, bytes in
  Win32StreamDevice* stream_device = nullptr;  // its held line goes out at the end
  bool exit_hook_installed = false;           // the exit-time close is registered
};

Win32ConsoleSession& TheSession() {
  static Win32ConsoleSession session;
  return session;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return IsUsable(handle) && GetConsoleMode(handle, &mode) != FALSE;
}

void CloseAtExit() { ClosePlatformConsole(); }

// A name wrapped in one pair of double quotes, as Explorer's "Copy as path"
// puts it, without them: no Windows file name can hold a double quote, so
// the quotes can only be the wrapping.
std::string_view WithoutWrappingQuotes(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace

std::unique_ptr<ConsoleDevice> OpenPlatformConsole() {
  Win32ConsoleSession& session = TheSession();
  // Opened again (tests do): the console is given back first, and the
  // session starts afresh.
  ClosePlatformConsole();
  session.handles = Win32ConsoleHandles{};
  session.stream_mode = false;
  Win32ConsoleHandles& h = session.handles;

  // 1. Standard error, and output to it until standard output proves to be
  //    a console.
  h.standard_error = GetStdHandle(STD_ERROR_HANDLE);
  h.output = h.standard_error;
  // 2. Standard input and standard output.
  h.standard_input = GetStdHandle(STD_INPUT_HANDLE);
  h.standard_output = GetStdHandle(STD_OUTPUT_HANDLE);
  // 3. The keyboard: the console input buffer by its device name, whatever
  //    standard input is. A failed open leaves INVALID_HANDLE_VALUE, and the
  //    device then reports the keyboard as gone.
  h.keyboard = CreateFileA("CONIN$", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  // 4. Standard output when it is a console; a redirected standard output
  //    receives nothing from console output.
  DWORD mode = 0;
  if (GetConsoleMode(h.standard_output, &mode)) h.output = h.standard_output;

  if (!IsConsole(h.output)) {
    if (!IsUsable(h.keyboard)) {
      // No console at all: a script or CI runs us.
      session.stream_mode = true;
      session.open = true;
      auto device = std::make_unique<Win32StreamDevice>(h.standard_input, h.standard_output,
                                                        &session.stream_device);
      if (!session.exit_hook_installed) {
        session.exit_hook_installed = std::atexit(CloseAtExit) == 0;
      }
      return device;
    }
    // Both standard streams redirected in a console window.
    HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (IsUsable(screen)) {
      h.output = screen;
      h.output_opened = true;
    }
  }

  // 5. Processed output with wrap at the end of a line; the mode found is
  //    kept to be given back.
  h.output_mode_saved = GetConsoleMode(h.output, &h.output_mode_found) != FALSE;
  SetConsoleMode(h.output, kOutputMode);
  // 6. Standard input raw. Fails, harmlessly, when standard input is not a
  //    console.
  h.input_mode_saved = GetConsoleMode(h.standard_input, &h.input_mode_found) != FALSE;
  SetConsoleMode(h.standard_input, kInputMode);
  // 7. The cursor record is read by the portable set-up (SetUpConsole)
  //    through the device: output handle first, then standard output.

  session.open = true;
  if (!session.exit_hook_installed) {
    session.exit_hook_installed = std::atexit(CloseAtExit) == 0;
  }
  return std::make_unique<Win32ConsoleDevice>(h);
}

void ClosePlatformConsole() {
  Win32ConsoleSession& session = TheSession();
  if (!session.open) return;
  session.open = false;
  if (session.stream_device != nullptr) session.stream_device->Flush();

  Win32ConsoleHandles& h = session.handles;
  if (h.input_mode_saved) SetConsoleMode(h.standard_input, h.input_mode_found);
  if (h.output_mode_saved) SetConsoleMode(h.output, h.output_mode_found);
  h.input_mode_saved = false;
  h.output_mode_saved = false;
  // The device may outlive this call: with the keyboard gone its reads end
  // at once and never wait.
  if (IsUsable(h.keyboard)) CloseHandle(h.keyboard);
  h.keyboard = INVALID_HANDLE_VALUE;
  if (h.output_opened) {
    CloseHandle(h.output);
    h.output = INVALID_HANDLE_VALUE;
    h.output_opened = false;
  }
}

std::string NameForFileSystem(std::string_view typed) {
  const std::string_view console_text = WithoutWrappingQuotes(typed);
  // In stream mode the bytes came from standard input unchanged: they are
  // whatever the script wrote, taken as they stand.
  const Win32ConsoleSession& session = TheSession();
  if (session.stream_mode || console_text.empty()) return std::string(console_text);

  // Typed characters are bytes of the console's input code page (OEM, 437
  // on a US system), while CreateFileA reads names in the file API's code
  // page (ANSI, 1252, unless the process switched the file API to OEM). An
  // e-acute is 0x82 at the console and 0xE9 to the file system; passed on
  // unchanged it would name another file. Characters with no equivalent
  // become '?', which no file name may hold: such a name fails to open
  // rather than opening a different file.
  const UINT console_code_page = GetConsoleCP();
  if (console_code_page == 0 || console_code_page == frame::FileApiCodePage()) {
    return std::string(console_text);
  }
  const int length = static_cast<int>(console_text.size());
  const int wide_length =
      MultiByteToWideChar(console_code_page, 0, console_text.data(), length, nullptr, 0);
  if (wide_length <= 0) return std::string(console_text);
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(console_code_page, 0, console_text.data(), length, wide.data(),
                      wide_length);
  std::string name;
  if (!frame::WideToFileApiText(wide, &name)) return std::string(console_text);
  return name;
}

}  // namespace console
