// The cell grid behind the terminal screen: the screen buffer of the console,
// kept by the program itself, and the renderer that brings a VT terminal's
// picture up to date with it. The terminal only ever shows the grid; the
// grid is never read back from the terminal.
//
// The renderer remembers what the terminal shows and sends only the cells
// that changed, each run after an explicit cursor move, so that it never
// depends on where the terminal thinks its cursor is, and writing the
// bottom-right cell (with autowrap off) never scrolls. The bytes it produces
// are listed in terminal_device_posix.cc.
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
  /// A blank grid (spaces, attribute 0x07) of at least 1 x 1 cells, whose
  /// first render repaints the whole terminal screen.
  TerminalGrid(int width, int height);

  /// Columns of the grid.
  int width() const { return width_; }
  /// Rows of the grid.
  int height() const { return height_; }
  /// Cursor column, from 0.
  int cursor_x() const { return cursor_x_; }
  /// Cursor row, from 0.
  int cursor_y() const { return cursor_y_; }
  /// Whether the cursor shows.
  bool cursor_visible() const { return cursor_visible_; }
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
  /// Changes the size: the top-left cells stay, new cells are blank, the
  /// cursor is pulled inside; the next render repaints everything, since a
  /// resized terminal's picture is its own business.
  void Resize(int width, int height);
  /// Forgets what the terminal shows, so that the next render repaints it.
  void Invalidate();
  /// Appends the bytes that make the terminal show the grid and its cursor;
  /// appends nothing when it already does.
  void Render(std::string* out);

 private:
  /// Position of cell (x, y) in the cell vectors.
  int Index(int x, int y) const { return y * width_ + x; }
  /// Whether the terminal must be sent the cell at `index`.
  bool Changed(int index) const;
  /// Sends the scrolls not yet shown, as line feeds on the bottom row.
  void RenderScrolls(std::string* out);
  /// Sends the changed runs of one row.
  void RenderRow(int y, std::string* out);
  /// Puts the terminal's cursor where the grid's is, shown or hidden.
  void RenderCursor(std::string* out);

  int width_;
  int height_;
  std::vector<Cell> cells_;  // what the screen buffer holds
  std::vector<Cell> shown_;  // what the terminal shows, when repaint_ is false
  bool repaint_ = true;      // the terminal's picture is unknown: send every cell
  int pending_scrolls_ = 0;  // scrolls of the grid not yet sent as line feeds
  int cursor_x_ = 0;  // the console's cursor, always inside the grid
  int cursor_y_ = 0;
  bool cursor_visible_ = true;
  int shown_cursor_x_ = -1;  // the terminal's cursor; -1 when not known
  int shown_cursor_y_ = -1;
  bool shown_cursor_visible_ = true;  // a terminal starts with its cursor on
  int shown_attribute_ = -1;          // the attribute in force; -1 when not known
};

}  // namespace console

#endif  // ZELTO_CONSOLE_TERMINAL_GRID_H_
