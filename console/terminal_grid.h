// The cell grid behind the terminal screen: the screen buffer of the console,
// kept by the program itself, and the renderer that brings a VT terminal's
// window up to date with it. The terminal only ever shows the grid; the grid
// is never read back from the terminal.
//
// The buffer is the model and the terminal's window a view onto it, as a
// console window is onto its screen buffer: the buffer keeps its width for
// the whole run and its height is the largest window height seen; the view
// has the window's size and follows the cursor: as far left as the cursor
// allows, and up or down only as far as the cursor makes it (see
// terminal_device_posix.cc).
//
// The renderer remembers what the window shows and sends only the cells that
// changed, each run after an explicit cursor move, so that it never depends
// on where the terminal thinks its cursor is, and writing the bottom-right
// cell (with autowrap off) never scrolls. The bytes it produces are the ones
// of terminal_sequences.h.
#ifndef ZELTO_CONSOLE_TERMINAL_GRID_H_
#define ZELTO_CONSOLE_TERMINAL_GRID_H_

#include <cstdint>
#include <string>
#include <vector>

#include "console/console_device.h"

namespace console {

/// Appends the SGR sequence that selects a console attribute: the plain
/// reset for 0x07 (light grey on black), else reset plus both colours.
void AppendSgr(uint16_t attribute, std::string* out);

/// Appends the cursor move to column `x`, row `y` (from 0).
void AppendCursorMove(int x, int y, std::string* out);

/// The screen buffer as cells, plus what the terminal is known to show.
class TerminalGrid {
 public:
  /// A blank grid (spaces, attribute 0x07) of at least 1 x 1 cells, shown
  /// in a window of the same size, whose first render repaints the whole
  /// window.
  TerminalGrid(int width, int height);

  /// Columns of the buffer.
  int width() const { return width_; }
  /// Rows of the buffer.
  int height() const { return height_; }
  /// Columns of the terminal's window.
  int window_width() const { return window_width_; }
  /// Rows of the terminal's window.
  int window_height() const { return window_height_; }
  /// The buffer column shown in the window's first column (as of the last
  /// render).
  int view_left() const { return left_; }
  /// The buffer row shown in the window's top row (as of the last render).
  int view_top() const { return top_; }
  /// Cursor column, from 0.
  int cursor_x() const { return cursor_x_; }
  /// Cursor row, from 0.
  int cursor_y() const { return cursor_y_; }
  /// Whether the cursor shows.
  bool cursor_visible() const { return cursor_visible_; }
  /// The cursor's column in the window, as of the last render.
  int window_cursor_x() const { return cursor_x_ - left_; }
  /// The cursor's row in the window, as of the last render.
  int window_cursor_y() const { return cursor_y_ - top_; }
  /// The cell at (x, y); both must lie inside the grid.
  const Cell& At(int x, int y) const { return cells_[Index(x, y)]; }

  /// Puts `count` cells into row `y` from column `x`; cells outside the grid
  /// are dropped.
  void WriteCells(int x, int y, const Cell* cells, int count);
  /// Moves every row up by one; the top row is lost, the bottom row becomes
  /// `fill`. The cursor stays.
  void ScrollUp(Cell fill);
  /// Moves the cursor; a position outside the grid is ignored.
  void SetCursor(int x, int y);
  /// Sets the character of `count` cells from (0, 0), row by row.
  void FillCharacters(uint8_t ch, int count);
  /// Sets the attribute of `count` cells from (0, 0), row by row.
  void FillAttributes(uint16_t attribute, int count);
  /// Shows or hides the cursor.
  void SetCursorVisible(bool visible);
  /// The terminal's window is now `width` x `height` cells. The buffer keeps
  /// its width and every cell; it grows taller to a taller window, the new
  /// blank rows coming in below, or above when the cursor stands on the
  /// bottom row (so that the cursor stays on it and a pending wrap still
  /// means the bottom-right cell). The next render repaints the whole
  /// window, since a resized terminal's picture is its own business.
  void SetWindowSize(int width, int height);
  /// Forgets what the terminal shows, so that the next render repaints it.
  void Invalidate();
  /// Appends the bytes that make the terminal show the grid and its cursor;
  /// appends nothing when it already does.
  void Render(std::string* out);

 private:
  /// Position of buffer cell (x, y) in cells_.
  int Index(int x, int y) const { return y * width_ + x; }
  /// Position of window cell (x, y) in shown_.
  int WindowIndex(int x, int y) const { return y * window_width_ + x; }
  /// Whether the window shows the whole buffer and nothing else, so that a
  /// scroll of the buffer can be shown as the terminal's own scroll.
  bool ViewIsWholeBuffer() const {
    return window_width_ == width_ && window_height_ == height_;
  }
  /// The buffer cell shown at window cell (x, y); blank beyond the buffer.
  const Cell& ViewCell(int x, int y) const;
  /// Whether the terminal must be sent window cell (x, y).
  bool Changed(int x, int y) const;
  /// Moves the view as little as possible to bring the cursor into it.
  void FollowCursor();
  /// Sends the scrolls not yet shown, as line feeds on the bottom row.
  void RenderScrolls(std::string* out);
  /// Sends the changed runs of one window row.
  void RenderRow(int y, std::string* out);
  /// Puts the terminal's cursor where the grid's is, shown or hidden.
  void RenderCursor(std::string* out);

  int width_;   // the buffer's columns: the first window's, for the whole run
  int height_;  // the buffer's rows: the tallest window's
  int window_width_;
  int window_height_;
  int left_ = 0;  // the view's top-left cell in the buffer
  int top_ = 0;
  std::vector<Cell> cells_;  // what the screen buffer holds
  std::vector<Cell> shown_;  // what the window shows, when repaint_ is false
  bool repaint_ = true;      // the terminal's picture is unknown: send every cell
  int pending_scrolls_ = 0;  // scrolls of the grid not yet sent as line feeds
  int cursor_x_ = 0;  // the console's cursor, always inside the grid
  int cursor_y_ = 0;
  bool cursor_visible_ = true;
  int shown_cursor_x_ = -1;  // the terminal's cursor in the window; -1 when not known
  int shown_cursor_y_ = -1;
  bool shown_cursor_visible_ = true;  // a terminal starts with its cursor on
  int shown_attribute_ = -1;          // the attribute in force; -1 when not known
};

}  // namespace console

#endif  // ZELTO_CONSOLE_TERMINAL_GRID_H_
