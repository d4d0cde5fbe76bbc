// Picks the console on POSIX and gives it back at the end.
//
// The keyboard is always the controlling terminal (/dev/tty), opened once,
// also when standard input is redirected, as the console's keyboard is on
// Windows. The picture goes to standard output when that is a terminal, else
// to standard error; a redirected standard output receives nothing. With
// neither a terminal but /dev/tty open, the picture goes to /dev/tty. With no
// terminal anywhere the stream device takes over.
#include "console/platform_console.h"

#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

#include "console/code_page_437.h"
#include "console/stream_device_posix.h"
#include "console/terminal_device_posix.h"
#include "console/terminal_session_posix.h"

namespace console {
namespace {

// The keyboard descriptor never blocks (the line editor polls it) and is
// never taken as a controlling terminal by accident.
constexpr int kKeyboardFlags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;

int OpenKeyboard(int screen_fd) {
  const int fd = open("/dev/tty", kKeyboardFlags);
  if (fd >= 0 || screen_fd < 0) return fd;
  // No controlling terminal (setsid), but the picture goes to a terminal:
  // read the keys from that terminal by its name.
  const char* name = ttyname(screen_fd);
  return name != nullptr ? open(name, kKeyboardFlags) : -1;
}

void RestoreAtExit() { ClosePlatformConsole(); }

// A program that ends through exit() without closing the console still
// gives the terminal back and sends out the held line.
void InstallExitHook(PosixConsoleSession* session) {
  if (session->exit_hook_installed) return;
  session->exit_hook_installed = std::atexit(RestoreAtExit) == 0;
}

}  // namespace

std::unique_ptr<ConsoleDevice> OpenPlatformConsole() {
  PosixConsoleSession& session = TheConsoleSession();
  int screen_fd = isatty(STDOUT_FILENO) ? STDOUT_FILENO
                  : isatty(STDERR_FILENO) ? STDERR_FILENO
                                          : -1;
  const int keyboard_fd = OpenKeyboard(screen_fd);
  if (screen_fd < 0 && keyboard_fd >= 0) {
    // Blocking, unlike the keyboard's descriptor: the picture is written
    // whole with no waiting loop.
    screen_fd = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
  }
  if (screen_fd < 0) {
    if (keyboard_fd >= 0) close(keyboard_fd);
    session.stream_mode = true;
    // A reader of the transcript that goes away must not end the run: the
    // schedule is still built, the rest of the text is dropped.
    signal(SIGPIPE, SIG_IGN);
    auto device = std::make_unique<StreamDevice>(STDIN_FILENO, STDOUT_FILENO);
    session.stream_device = device.get();
    InstallExitHook(&session);
    return device;
  }
  BeginTerminalSession(keyboard_fd, screen_fd);
  InstallExitHook(&session);
  return std::make_unique<TerminalDevice>(keyboard_fd, screen_fd);
}

void ClosePlatformConsole() {
  PosixConsoleSession& session = TheConsoleSession();
  if (session.stream_device != nullptr) {
    session.stream_device->Flush();
    session.stream_device = nullptr;
  }
  EndTerminalSession();
}

std::string NameForFileSystem(std::string_view console_text) {
  // On a terminal the typed characters were turned into code page 437 bytes
  // for the console; the file system wants them back as UTF-8. In stream
  // mode nothing was converted on the way in.
  if (TheConsoleSession().stream_mode) return std::string(console_text);
  return Cp437TextToUtf8(console_text);
}

}  // namespace console
