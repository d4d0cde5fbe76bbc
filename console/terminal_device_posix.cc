// The console device on a POSIX terminal.
//
// The model: the screen buffer is a grid of cells kept here (TerminalGrid),
// and the terminal's window is a view onto it, as a console window is onto
// its screen buffer. Console output asks this device for the buffer's size
// and the cursor at each operation, and gets the buffer's, never the
// window's:
//   - The buffer is as wide as the window was at the start, for the whole
//     run: a line that wrapped keeps wrapping where it did, so line input's
//     Backspace (which steps back to the last cell of the row above) always
//     retraces the echo it made.
//   - The buffer is as tall as the tallest window seen. A taller window adds
//     blank rows: below, or above when the cursor is on the bottom row (the
//     dialogue stays at the window's foot, and a pending wrap still means
//     the bottom-right cell). A shorter window takes no row away.
//   - The view has the window's size and follows the cursor: it stands as
//     far left as the cursor allows (the start of the row, the prompt before
//     a name, shows whenever it fits) and moves up or down only as far as
//     the cursor makes it, so the prompt and the name being typed stay in
//     sight; when the window grows back, the rows and columns come back. A
//     window larger than the buffer shows it from the top-left, blank beyond.
// Whatever the window shows is a true piece of the buffer, echo and
// Backspace included; nothing is reflowed.
//
// Every device call that changes the grid renders the change into one buffer
// and writes it with one write. The terminal's own line wrapping is off for
// the whole run, and every run of cells is written after an explicit cursor
// move, so the terminal never scrolls or wraps by itself; the only scroll is
// the line feed sent for ScrollUp while the window shows the whole buffer.
// No alternate screen is used: the dialogue stays on the terminal after the
// program ends, as it does in a console window. The bytes sent are listed in
// terminal_sequences.h, the keys read in key_decoder.h.
//
// A new window size is taken only while the program waits for a key (at
// each look at the keyboard), never in the middle of writing: console output
// reads the buffer's size and the cursor at the start of each operation,
// and they hold until it ends. What is written meanwhile is shown in the
// window as last known, and repainted whole once the new size is taken.
//
// A stop (SIGTSTP) gives the terminal back and a continue takes it again
// (terminal_session_posix.h); the window is then repainted whole from the
// grid at the next change or look at the keyboard, as the shell or another
// program may have written over it.
#include "console/terminal_device_posix.h"

#include <algorithm>
#include <cerrno>

#include <sys/ioctl.h>
#include <unistd.h>

#include "console/fd_io_posix.h"
#include "console/terminal_session_posix.h"

namespace console {
namespace {

// Used when the terminal reports no size (some serial lines answer 0 x 0).
constexpr int kFallbackWidth = 80;
constexpr int kFallbackHeight = 24;

// The screen buffer's size is kept in 16 bits by the console's callers.
constexpr int kMaxSide = 0x7FFF;

// The terminal's size in cells, asked of the screen, else of the keyboard.
void QueryWindowSize(int screen_fd, int keyboard_fd, int* width, int* height) {
  winsize size = {};
  if ((ioctl(screen_fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) &&
      (keyboard_fd < 0 || ioctl(keyboard_fd, TIOCGWINSZ, &size) != 0)) {
    size = {};
  }
  *width = size.ws_col > 0 ? std::min<int>(size.ws_col, kMaxSide) : kFallbackWidth;
  *height = size.ws_row > 0 ? std::min<int>(size.ws_row, kMaxSide) : kFallbackHeight;
}

TerminalGrid GridOfWindowSize(int screen_fd, int keyboard_fd) {
  int width = 0;
  int height = 0;
  QueryWindowSize(screen_fd, keyboard_fd, &width, &height);
  return TerminalGrid(width, height);
}

}  // namespace

TerminalDevice::TerminalDevice(int keyboard_fd, int screen_fd)
    : keyboard_fd_(keyboard_fd),
      screen_fd_(screen_fd),
      grid_(GridOfWindowSize(screen_fd, keyboard_fd)),
      keyboard_closed_(keyboard_fd < 0) {}

// The buffer's size, not the window's: see the model at the top.
bool TerminalDevice::GetScreenBufferInfo(ScreenInfo* info) {
  info->width = static_cast<uint16_t>(grid_.width());
  info->height = static_cast<uint16_t>(grid_.height());
  info->cursor_x = static_cast<uint16_t>(grid_.cursor_x());
  info->cursor_y = static_cast<uint16_t>(grid_.cursor_y());
  return true;
}

void TerminalDevice::WriteCells(int x, int y, const Cell* cells, int count) {
  grid_.WriteCells(x, y, cells, count);
  Show();
}

void TerminalDevice::ScrollUp(Cell fill) {
  grid_.ScrollUp(fill);
  Show();
}

void TerminalDevice::SetCursorPosition(int x, int y) {
  grid_.SetCursor(x, y);
  Show();
}

void TerminalDevice::FillCharacters(uint8_t ch, int count) {
  grid_.FillCharacters(ch, count);
  Show();
}

void TerminalDevice::FillAttributes(uint16_t attribute, int count) {
  grid_.FillAttributes(attribute, count);
  Show();
}

bool TerminalDevice::GetCursorInfo(CursorInfo* info) {
  *info = cursor_info_;
  return true;
}

void TerminalDevice::SetCursorInfo(const CursorInfo& info) {
  // The size is kept for the next read only: terminals have no cursor size
  // that a program may set and reliably give back.
  cursor_info_ = info;
  grid_.SetCursorVisible(info.visible != 0);
  Show();
}

PeekResult TerminalDevice::PeekInput(InputRecord* record) {
  // The line editor looks here every millisecond while it waits, so a
  // window resized during the wait is followed at once. Only here: console
  // output reads the buffer's size and the cursor at the start of each
  // operation, and they must hold until the operation ends.
  FollowWindowSize();
  if (!decoder_.HasRecord()) ReadKeyboard();
  if (decoder_.HasRecord()) {
    *record = decoder_.Front();
    return PeekResult::kRecord;
  }
  return keyboard_closed_ ? PeekResult::kClosed : PeekResult::kEmpty;
}

void TerminalDevice::TakeInput() { decoder_.Pop(); }

void TerminalDevice::Sleep(int milliseconds) { SleepMilliseconds(milliseconds); }

void TerminalDevice::FollowWindowSize() {
  if (!TakeResizeFlag()) {
    // A terminal taken back after a stop is repainted even with no change.
    if (PendingRepaint()) Show();
    return;
  }
  int width = 0;
  int height = 0;
  QueryWindowSize(screen_fd_, keyboard_fd_, &width, &height);
  grid_.SetWindowSize(width, height);
  // The resized window is repainted from the grid at once, so that it shows
  // the dialogue even before the next change.
  Show();
}

void TerminalDevice::Show() {
  if (TakeRepaintFlag()) grid_.Invalidate();
  out_.clear();
  grid_.Render(&out_);
  if (!out_.empty()) WriteAll(screen_fd_, out_);
  NoteShownCursor(grid_.window_cursor_x(), grid_.window_cursor_y());
}

void TerminalDevice::ReadKeyboard() {
  if (keyboard_closed_) return;
  char buffer[1024];
  // A few reads at most: a long paste is taken over several looks, and the
  // decoder's queue never grows without bound.
  bool drained = false;
  for (int reads = 0; reads < 4 && !drained; ++reads) {
    const ssize_t n = read(keyboard_fd_, buffer, sizeof(buffer));
    if (n > 0) {
      decoder_.Feed(std::string_view(buffer, static_cast<size_t>(n)), MonotonicMilliseconds());
      drained = static_cast<size_t>(n) < sizeof(buffer);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      drained = true;
    } else {
      // End of file or a lasting failure (EIO once the terminal has hung
      // up): what was typed before still counts, then the keyboard is gone.
      keyboard_closed_ = true;
      decoder_.Flush();
      return;
    }
  }
  // Only when no byte waits can an ESC be told to stand alone.
  if (drained) decoder_.Expire(MonotonicMilliseconds());
}

}  // namespace console
