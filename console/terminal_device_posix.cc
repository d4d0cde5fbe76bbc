// The console device on a POSIX terminal.
//
// The screen buffer is a grid of cells kept here (TerminalGrid); the terminal
// only shows it. Every device call that changes the grid renders the change
// into one buffer and writes it with one write. The terminal's own line
// wrapping is off for the whole run, and every run of cells is written after
// an explicit cursor move, so the terminal never scrolls or wraps by itself;
// the only scroll is the line feed sent for ScrollUp. No alternate screen is
// used: the dialogue stays on the terminal after the program ends, as it does
// in a console window.
//
// Escape sequences sent (ESC is 0x1B, CAN is 0x18, n and m decimal):
//   Sequence         Bytes               Effect
//   DECAWM off       ESC [ ? 7 l         autowrap off, sent once at the start
//   DECAWM on        ESC [ ? 7 h         autowrap on again, at the end
//   CUP              ESC [ n ; m H       cursor to row n, column m (from 1),
//                                        before each run of cells and for
//                                        the cursor's final place
//   LF               0x0A                on the bottom row: scrolls the
//                                        screen up one row (ScrollUp)
//   SGR 0            ESC [ 0 m           attribute 0x07: the terminal's plain
//                                        colours; also at the end
//   SGR colours      ESC [ 0 ; f ; b m   any other attribute: f 30-37 or
//                                        90-97, b 40-47 or 100-107, with ;4
//                                        (underscore) and ;7 (reverse video)
//                                        for the console's extra bits
//   DECTCEM off/on   ESC [ ? 25 l / h    hide / show the cursor; shown at end
//   CAN              0x18                only from a signal handler, before
//                                        the restore: ends any sequence that
//                                        the interrupted write had begun
// Cell bytes never go out as they are: each is the UTF-8 form of its code
// page 437 glyph, so no byte from a cell is ever a control byte.
//
// Key sequences recognised (see key_decoder.h for the records they become):
//   ESC [ A, B, C, D, E, H, F     Up, Down, Right, Left, keypad 5, Home, End
//   ESC O A, B, C, D, E, H, F     the same keys in application cursor mode
//   ESC [ 1 ; m A (etc.)          the same with Shift/Alt/Ctrl (m = 2-16)
//   ESC [ P, Q, R, S / ESC O P..S F1-F4; ESC [ 1 ; m P etc. with modifiers
//   ESC [ n ~ and ESC [ n ; m ~   1/7 Home, 2 Insert, 3 Delete, 4/8 End,
//                                 5 Page Up, 6 Page Down, 11-15 F1-F5,
//                                 17-21 F6-F10, 23 F11, 24 F12
//   ESC [ [ A..E                  F1-F5 on the Linux console
//   ESC [ Z                       Shift+Tab
//   any other ESC [ ... final, ESC O ... final: consumed and dropped
//   ESC alone for 30 ms           Esc
//   ESC x (x not [ or O)          Alt+x
//   CR, LF                        Enter
//   DEL, BS                       Backspace
//   HT                            Tab
//   other bytes 0x00-0x1F         Ctrl+letter (Ctrl+C is the byte 3)
//   0x20-0x7E                     the typed character
//   UTF-8                         its code page 437 byte, if it has one
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

bool TerminalDevice::GetScreenBufferInfo(ScreenInfo* info) {
  FollowResize();
  info->width = static_cast<uint16_t>(grid_.width());
  info->height = static_cast<uint16_t>(grid_.height());
  info->cursor_x = static_cast<uint16_t>(grid_.cursor_x());
  info->cursor_y = static_cast<uint16_t>(grid_.cursor_y());
  return true;
}

void TerminalDevice::WriteCells(int x, int y, const Cell* cells, int count) {
  FollowResize();
  grid_.WriteCells(x, y, cells, count);
  Show();
}

void TerminalDevice::ScrollUp(Cell fill) {
  FollowResize();
  grid_.ScrollUp(fill);
  Show();
}

void TerminalDevice::SetCursorPosition(int x, int y) {
  FollowResize();
  grid_.SetCursor(x, y);
  Show();
}

void TerminalDevice::FillCharacters(uint8_t ch, int count) {
  FollowResize();
  grid_.FillCharacters(ch, count);
  Show();
}

void TerminalDevice::FillAttributes(uint16_t attribute, int count) {
  FollowResize();
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
  FollowResize();
  grid_.SetCursorVisible(info.visible != 0);
  Show();
}

PeekResult TerminalDevice::PeekInput(InputRecord* record) {
  // The line editor looks here every millisecond while it waits, so a
  // window resized during the wait is repainted at once.
  FollowResize();
  if (!decoder_.HasRecord()) ReadKeyboard();
  if (decoder_.HasRecord()) {
    *record = decoder_.Front();
    return PeekResult::kRecord;
  }
  return keyboard_closed_ ? PeekResult::kClosed : PeekResult::kEmpty;
}

void TerminalDevice::TakeInput() { decoder_.Pop(); }

void TerminalDevice::Sleep(int milliseconds) { SleepMilliseconds(milliseconds); }

void TerminalDevice::FollowResize() {
  if (!TakeResizeFlag()) return;
  int width = 0;
  int height = 0;
  QueryWindowSize(screen_fd_, keyboard_fd_, &width, &height);
  grid_.Resize(width, height);
  // The resized window is repainted from the grid at once, so that it shows
  // the dialogue even before the next change.
  Show();
}

void TerminalDevice::Show() {
  out_.clear();
  grid_.Render(&out_);
  if (!out_.empty()) WriteAll(screen_fd_, out_);
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
