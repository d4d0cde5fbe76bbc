#include "console/terminal_session_posix.h"

#include <cerrno>

#include <unistd.h>

#include "console/fd_io_posix.h"
#include "frame/fatal_signals.h"

namespace console {
namespace {

PosixConsoleSession g_session;

// Sent while the program runs: autowrap off, so that a cell written into the
// last column never moves the terminal's cursor to a new row by itself.
constexpr char kEnterBytes[] = "\x1b[?7l";

// Sent when the program ends: attributes reset, cursor shown, autowrap on.
// The cursor stays where the dialogue left it, and no newline is added.
constexpr char kRestoreBytes[] = "\x1b[0m\x1b[?25h\x1b[?7h";

// From a signal handler the restore may fall in the middle of an escape
// sequence that the interrupted write had begun; CAN (0x18) ends any
// sequence in progress first, so the restore bytes are read as meant.
constexpr char kSignalRestoreBytes[] = "\x18\x1b[0m\x1b[?25h\x1b[?7h";

// Raw keyboard: no line editing, no echo, no signal keys (Ctrl+C arrives as
// the byte 3, Ctrl+Z as 26, Ctrl+S/Ctrl+Q as keys, not flow control), CR
// stays CR. Output processing is left as it was: the picture never relies on
// it, and text that something else writes to the terminal still looks right.
termios RawMode(const termios& old) {
  termios raw = old;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                        ICRNL | IXON);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  return raw;
}

// Run from a fatal signal's handler: async-signal-safe calls only (write
// and tcsetattr).
void RestoreFromSignal() {
  if (!g_session.active) return;
  g_session.active = 0;
  const int saved_errno = errno;
  const char* p = kSignalRestoreBytes;
  size_t left = sizeof(kSignalRestoreBytes) - 1;
  while (left > 0) {
    const ssize_t n = write(g_session.screen_fd, p, left);
    if (n > 0) {
      p += n;
      left -= static_cast<size_t>(n);
    } else if (!(n < 0 && errno == EINTR)) {
      break;
    }
  }
  if (g_session.mode_saved) tcsetattr(g_session.keyboard_fd, TCSANOW, &g_session.saved_mode);
  errno = saved_errno;
}

void OnWindowResized(int) { g_session.resized = 1; }

void InstallHandlers() {
  frame::AddFatalSignalCleanup(RestoreFromSignal);
  struct sigaction winch = {};
  sigemptyset(&winch.sa_mask);
  winch.sa_handler = OnWindowResized;
  winch.sa_flags = SA_RESTART;
  sigaction(SIGWINCH, &winch, &g_session.old_winch_action);
  g_session.handlers_installed = true;
}

void RemoveHandlers() {
  if (!g_session.handlers_installed) return;
  frame::RemoveFatalSignalCleanup(RestoreFromSignal);
  sigaction(SIGWINCH, &g_session.old_winch_action, nullptr);
  g_session.handlers_installed = false;
}

}  // namespace

PosixConsoleSession& TheConsoleSession() { return g_session; }

void BeginTerminalSession(int keyboard_fd, int screen_fd) {
  if (g_session.active) return;
  g_session.keyboard_fd = keyboard_fd;
  g_session.screen_fd = screen_fd;
  g_session.mode_saved = keyboard_fd >= 0 && tcgetattr(keyboard_fd, &g_session.saved_mode) == 0;
  // Handlers first, so that no signal can find raw mode without a way back.
  InstallHandlers();
  g_session.active = 1;
  if (g_session.mode_saved) {
    const termios raw = RawMode(g_session.saved_mode);
    // TCSANOW: keys typed ahead before the program started stay queued.
    tcsetattr(keyboard_fd, TCSANOW, &raw);
  }
  WriteAll(screen_fd, kEnterBytes);
}

void EndTerminalSession() {
  if (!g_session.active) return;
  g_session.active = 0;
  WriteAll(g_session.screen_fd, kRestoreBytes);
  if (g_session.mode_saved) tcsetattr(g_session.keyboard_fd, TCSANOW, &g_session.saved_mode);
  RemoveHandlers();
}

bool TakeResizeFlag() {
  if (!g_session.resized) return false;
  g_session.resized = 0;
  return true;
}

}  // namespace console
