#include "console/terminal_session_posix.h"

#include <cerrno>
#include <cstddef>

#include <unistd.h>

#include "console/fd_io_posix.h"
#include "console/terminal_sequences.h"
#include "frame/fatal_signals.h"

namespace console {
namespace {

PosixConsoleSession g_session;

// Room for the bytes a signal handler sends: CAN, SGR 0, a cursor move, a
// fresh line, cursor on, autowrap on.
constexpr size_t kSignalBytesRoom = 64;

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

// The bytes of one signal handler's write, gathered without allocating.
struct SignalBytes {
  char bytes[kSignalBytesRoom];
  size_t size = 0;

  void Append(std::string_view text) {
    for (char c : text) {
      if (size < sizeof(bytes)) bytes[size++] = c;
    }
  }
  void AppendNumber(int value) {
    char digits[12];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value > 0 && count < 12);
    while (count > 0) Append(std::string_view(&digits[--count], 1));
  }
};

// Async-signal-safe: write only, going on after EINTR and partial writes.
void WriteFromSignal(const SignalBytes& out) {
  const char* p = out.bytes;
  size_t left = out.size;
  while (left > 0) {
    const ssize_t n = write(g_session.screen_fd, p, left);
    if (n > 0) {
      p += n;
      left -= static_cast<size_t>(n);
    } else if (!(n < 0 && errno == EINTR)) {
      break;
    }
  }
}

// Gives the terminal back from a signal handler (write and tcsetattr only):
// any interrupted sequence ended, plain colours, the cursor on a fresh line
// below the dialogue (so that what the shell prints next stands on a line of
// its own), cursor shown, autowrap on, the keyboard's old mode.
void GiveBackFromSignal() {
  if (!g_session.active) return;
  g_session.active = 0;
  const int saved_errno = errno;
  SignalBytes out;
  out.Append(kCancel);
  out.Append(kSgrReset);
  out.Append(kCsi);
  out.AppendNumber(g_session.cursor_row + 1);
  out.Append(std::string_view(&kParameterSeparator, 1));
  out.AppendNumber(g_session.cursor_column + 1);
  out.Append(std::string_view(&kCursorPositionFinal, 1));
  if (g_session.cursor_column != 0) out.Append(kFreshLine);
  out.Append(kCursorShow);
  out.Append(kAutowrapOn);
  WriteFromSignal(out);
  if (g_session.mode_saved) tcsetattr(g_session.keyboard_fd, TCSANOW, &g_session.saved_mode);
  errno = saved_errno;
}

// Takes the terminal again after a continue (tcsetattr and write only) and
// asks the device for a whole repaint.
void TakeAgainFromSignal() {
  const int saved_errno = errno;
  if (g_session.mode_saved) tcsetattr(g_session.keyboard_fd, TCSANOW, &g_session.raw_mode);
  SignalBytes out;
  out.Append(kAutowrapOff);
  WriteFromSignal(out);
  g_session.active = 1;
  g_session.repaint = 1;
  g_session.resized = 1;  // the window may have changed while stopped
  errno = saved_errno;
}

void OnWindowResized(int) { g_session.resized = 1; }

struct sigaction StopAction();

// SIGTSTP: the terminal is given back, the process stops as the signal's
// default action says, and once continued takes the terminal again.
void OnStop(int) {
  const int saved_errno = errno;
  const bool was_active = g_session.active != 0;
  GiveBackFromSignal();
  struct sigaction default_action = {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(SIGTSTP, &default_action, nullptr);
  // Blocked while this handler runs, so the raise only leaves it pending;
  // unblocking it stops the process right there.
  raise(SIGTSTP);
  sigset_t stop_set;
  sigemptyset(&stop_set);
  sigaddset(&stop_set, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop_set, nullptr);
  // Continued.
  sigprocmask(SIG_BLOCK, &stop_set, nullptr);
  const struct sigaction stop_action = StopAction();
  sigaction(SIGTSTP, &stop_action, nullptr);
  if (was_active) TakeAgainFromSignal();
  errno = saved_errno;
}

// SIGCONT, also after a SIGSTOP that no handler saw: whatever ran meanwhile
// may have changed the modes or written over the window.
void OnContinue(int) {
  if (g_session.active) TakeAgainFromSignal();
}

struct sigaction StopAction() {
  struct sigaction action = {};
  sigemptyset(&action.sa_mask);
  action.sa_handler = OnStop;
  action.sa_flags = SA_RESTART;
  return action;
}

void InstallHandler(int signal_number, void (*handler)(int), struct sigaction* old_action) {
  struct sigaction action = {};
  sigemptyset(&action.sa_mask);
  action.sa_handler = handler;
  action.sa_flags = SA_RESTART;
  sigaction(signal_number, &action, old_action);
}

void InstallHandlers() {
  frame::AddFatalSignalCleanup(GiveBackFromSignal);
  InstallHandler(SIGWINCH, OnWindowResized, &g_session.old_winch_action);
  InstallHandler(SIGCONT, OnContinue, &g_session.old_continue_action);
  // A stop that the parent set to be ignored stays ignored.
  sigaction(SIGTSTP, nullptr, &g_session.old_stop_action);
  if (g_session.old_stop_action.sa_handler != SIG_IGN) {
    const struct sigaction stop_action = StopAction();
    sigaction(SIGTSTP, &stop_action, nullptr);
  }
  g_session.handlers_installed = true;
}

void RemoveHandlers() {
  if (!g_session.handlers_installed) return;
  frame::RemoveFatalSignalCleanup(GiveBackFromSignal);
  sigaction(SIGWINCH, &g_session.old_winch_action, nullptr);
  sigaction(SIGTSTP, &g_session.old_stop_action, nullptr);
  sigaction(SIGCONT, &g_session.old_continue_action, nullptr);
  g_session.handlers_installed = false;
}

}  // namespace

PosixConsoleSession& TheConsoleSession() { return g_session; }

void BeginTerminalSession(int keyboard_fd, int screen_fd) {
  if (g_session.active) return;
  g_session.keyboard_fd = keyboard_fd;
  g_session.screen_fd = screen_fd;
  g_session.mode_saved = keyboard_fd >= 0 && tcgetattr(keyboard_fd, &g_session.saved_mode) == 0;
  if (g_session.mode_saved) g_session.raw_mode = RawMode(g_session.saved_mode);
  // Handlers first, so that no signal can find raw mode without a way back.
  InstallHandlers();
  g_session.active = 1;
  // TCSANOW: keys typed ahead before the program started stay queued.
  if (g_session.mode_saved) tcsetattr(keyboard_fd, TCSANOW, &g_session.raw_mode);
  WriteAll(screen_fd, kAutowrapOff);
}

void EndTerminalSession() {
  if (!g_session.active) return;
  g_session.active = 0;
  // The cursor stays where the dialogue left it, and no newline is added.
  WriteAll(g_session.screen_fd, SequenceBytes(kGiveBack));
  if (g_session.mode_saved) tcsetattr(g_session.keyboard_fd, TCSANOW, &g_session.saved_mode);
  RemoveHandlers();
}

bool TakeResizeFlag() {
  if (!g_session.resized) return false;
  g_session.resized = 0;
  return true;
}

bool TakeRepaintFlag() {
  if (!g_session.repaint) return false;
  g_session.repaint = 0;
  return true;
}

bool PendingRepaint() { return g_session.repaint != 0; }

void NoteShownCursor(int column, int row) {
  g_session.cursor_column = column;
  g_session.cursor_row = row;
}

}  // namespace console
