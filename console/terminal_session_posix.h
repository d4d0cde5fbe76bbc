// The terminal session: raw keyboard mode and the terminal's settings for
// the time the program runs, given back on every way out (ClosePlatformConsole
// at the normal end, atexit, and from the fatal signals through the cleanups
// of frame/fatal_signals.h), given back before a stop (SIGTSTP) and taken
// again on a continue (SIGCONT). Also the SIGWINCH flag by which the terminal
// device learns of a resized window, and the repaint flag by which it learns
// that the terminal was taken back and must be painted whole.
#ifndef ZELTO_CONSOLE_TERMINAL_SESSION_POSIX_H_
#define ZELTO_CONSOLE_TERMINAL_SESSION_POSIX_H_

#include <csignal>

#include <termios.h>

namespace console {

class StreamDevice;

/// Everything the console keeps process-wide on POSIX. The signal handlers
/// read it, so it lives in static storage; the flags they touch are
/// sig_atomic_t.
struct PosixConsoleSession {
  int keyboard_fd = -1;         // the controlling terminal, raw while active
  int screen_fd = -1;           // where the picture goes
  termios saved_mode = {};      // the keyboard's mode before raw, given back
  termios raw_mode = {};        // the keyboard's mode while the program runs
  bool mode_saved = false;      // saved_mode holds a mode (the keyboard is a tty)
  volatile sig_atomic_t active = 0;   // raw mode and autowrap-off in force
  volatile sig_atomic_t resized = 0;  // a SIGWINCH came since the last look
  volatile sig_atomic_t repaint = 0;  // the terminal was taken back: paint it whole
  volatile sig_atomic_t cursor_column = 0;  // the terminal's cursor in the window,
  volatile sig_atomic_t cursor_row = 0;     // as last rendered
  bool handlers_installed = false;
  struct sigaction old_winch_action = {};
  struct sigaction old_stop_action = {};
  struct sigaction old_continue_action = {};
  bool exit_hook_installed = false;  // the atexit restore is registered
  bool stream_mode = false;     // no terminal: lines out, bytes in
  StreamDevice* stream_device = nullptr;  // its held line goes out at the end
};

/// The process's one console session.
PosixConsoleSession& TheConsoleSession();

/// Puts `keyboard_fd` (may be -1: no keyboard) into raw mode with TCSANOW,
/// turns autowrap off on `screen_fd` and installs the signal handlers. The
/// caller registers the exit-time restore.
void BeginTerminalSession(int keyboard_fd, int screen_fd);

/// Gives the terminal back: attributes reset, cursor shown, autowrap on, the
/// keyboard's old mode; puts the old signal handlers back. Does nothing when
/// no session is active.
void EndTerminalSession();

/// Whether the window was resized since the last call (clears the flag).
bool TakeResizeFlag();

/// Whether the terminal was taken back after a stop since the last call, so
/// that the whole window must be painted again (clears the flag).
bool TakeRepaintFlag();

/// Whether a whole repaint is asked for (the flag stays set).
bool PendingRepaint();

/// Notes where the terminal's cursor stands in the window after a render,
/// for the fresh line that a signal's restore leaves.
void NoteShownCursor(int column, int row);

}  // namespace console

#endif  // ZELTO_CONSOLE_TERMINAL_SESSION_POSIX_H_
