#include "console/terminal_grid.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace console {
namespace {

std::vector<Cell> Cells(std::string_view bytes, uint16_t attribute = 0x07) {
  std::vector<Cell> cells;
  for (char c : bytes) cells.push_back({static_cast<uint8_t>(c), attribute});
  return cells;
}

void Write(TerminalGrid* grid, int x, int y, std::string_view bytes) {
  const std::vector<Cell> cells = Cells(bytes);
  grid->WriteCells(x, y, cells.data(), static_cast<int>(cells.size()));
}

std::string Render(TerminalGrid* grid) {
  std::string out;
  grid->Render(&out);
  return out;
}

// A grid whose first full paint has gone out, so later renders show deltas.
TerminalGrid Painted(int width, int height) {
  TerminalGrid grid(width, height);
  Render(&grid);
  return grid;
}

// The text of a rendered byte string with the escape sequences taken out.
std::string VisibleText(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\x1b') {
      text.push_back(bytes[i]);
      continue;
    }
    ++i;  // '[', then parameters up to the final byte
    while (i + 1 < bytes.size() && !(bytes[i + 1] >= 0x40 && bytes[i + 1] <= 0x7E)) ++i;
    ++i;
  }
  return text;
}

TEST(TerminalGrid, FirstRenderPaintsEveryCellAndLaterOnlyChanges) {
  TerminalGrid grid(3, 2);
  EXPECT_EQ(Render(&grid), "\x1b[1;1H\x1b[0m   \x1b[2;1H   \x1b[1;1H");
  EXPECT_EQ(Render(&grid), "");
  Write(&grid, 1, 1, "ab");
  grid.SetCursor(1, 0);
  EXPECT_EQ(Render(&grid), "\x1b[2;2Hab\x1b[1;2H");
  Write(&grid, 0, 0, "a");  // the same again: nothing to send for it
  Write(&grid, 0, 0, " ");
  EXPECT_EQ(Render(&grid), "");
}

TEST(TerminalGrid, NearbyChangesShareOneCursorMove) {
  TerminalGrid grid = Painted(20, 1);
  Write(&grid, 2, 0, "x");
  Write(&grid, 5, 0, "y");   // 2 cells apart: rewritten in one run
  Write(&grid, 15, 0, "z");  // far off: its own move
  EXPECT_EQ(Render(&grid), "\x1b[1;3Hx  y\x1b[1;16Hz\x1b[1;1H");
}

TEST(TerminalGrid, BottomRightCellIsWrittenWithoutScrolling) {
  TerminalGrid grid = Painted(3, 2);
  Write(&grid, 0, 1, "xyz");
  grid.SetCursor(0, 1);
  const std::string bytes = Render(&grid);
  EXPECT_EQ(bytes, "\x1b[2;1Hxyz\x1b[2;1H");  // cursor placed again, never left to wrap
  EXPECT_EQ(bytes.find('\n'), std::string::npos);
}

TEST(TerminalGrid, ScrollUpIsOneLineFeedOnTheBottomRow) {
  TerminalGrid grid = Painted(3, 2);
  Write(&grid, 0, 1, "abc");
  Render(&grid);
  grid.ScrollUp({' ', 0x07});
  EXPECT_EQ(grid.At(0, 0).ch, 'a');
  EXPECT_EQ(grid.At(0, 1).ch, ' ');
  // The terminal's own scroll already shows the moved rows: nothing to redraw.
  EXPECT_EQ(Render(&grid), "\x1b[2;1H\n\x1b[1;1H");

  // A coloured fill and a coloured attribute in force: the line feed goes
  // out in plain colours, then the fill is painted.
  Write(&grid, 0, 0, "q");
  grid.WriteCells(1, 0, Cells("r", 0x1F).data(), 1);
  Render(&grid);
  grid.ScrollUp({'-', 0x07});
  EXPECT_EQ(Render(&grid), "\x1b[0m\x1b[2;1H\n\x1b[2;1H---\x1b[1;1H");
}

TEST(TerminalGrid, ScrollingAScreenfulRepaintsInsteadOfFeedingLines) {
  TerminalGrid grid = Painted(2, 2);
  grid.ScrollUp({' ', 0x07});
  grid.ScrollUp({' ', 0x07});
  EXPECT_EQ(Render(&grid), "\x1b[1;1H  \x1b[2;1H  \x1b[1;1H");
}

TEST(TerminalGrid, CellBytesGoOutAsCodePageGlyphsInUtf8) {
  TerminalGrid grid = Painted(8, 1);
  Write(&grid, 0, 0, std::string_view("\x01\x82\x00\x1b\x07\x0a\x7f\xdb", 8));
  const std::string bytes = Render(&grid);
  EXPECT_EQ(VisibleText(bytes), "\u263A\u00E9 \u2190\u2022\u25D9\u2302\u2588");
  for (char c : VisibleText(bytes)) {
    EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F) << int(c);
  }
}

TEST(TerminalGrid, AttributesBecomeSgrColours) {
  std::string out;
  AppendSgr(0x07, &out);
  AppendSgr(0x1F, &out);    // bright white on blue
  AppendSgr(0x4E, &out);    // yellow on red
  AppendSgr(0x80, &out);    // black on dark grey
  AppendSgr(0x4007, &out);  // reverse video
  EXPECT_EQ(out, "\x1b[0m\x1b[0;97;44m\x1b[0;93;41m\x1b[0;30;100m\x1b[0;7;37;40m");

  TerminalGrid grid = Painted(4, 1);
  grid.WriteCells(0, 0, Cells("ab", 0x1F).data(), 2);
  grid.WriteCells(2, 0, Cells("c").data(), 1);
  EXPECT_EQ(Render(&grid), "\x1b[1;1H\x1b[0;97;44mab\x1b[0mc\x1b[1;1H");
}

TEST(TerminalGrid, FillCoversCellsFromTopLeftRowByRow) {
  TerminalGrid grid = Painted(3, 2);
  Write(&grid, 0, 0, "abc");
  Write(&grid, 0, 1, "def");
  grid.FillCharacters('.', 4);
  grid.FillAttributes(0x70, 100);  // more than the grid: stops at its end
  EXPECT_EQ(grid.At(2, 0).ch, '.');
  EXPECT_EQ(grid.At(0, 1).ch, '.');
  EXPECT_EQ(grid.At(1, 1).ch, 'e');
  EXPECT_EQ(grid.At(2, 1).attribute, 0x70);
}

TEST(TerminalGrid, WritesAndCursorMovesOutsideAreDropped) {
  TerminalGrid grid = Painted(3, 2);
  Write(&grid, -1, 0, "abcde");
  Write(&grid, 0, 2, "zz");
  grid.SetCursor(3, 0);
  grid.SetCursor(0, -1);
  EXPECT_EQ(grid.At(0, 0).ch, 'b');
  EXPECT_EQ(grid.At(2, 0).ch, 'd');
  EXPECT_EQ(grid.cursor_x(), 0);
  EXPECT_EQ(grid.cursor_y(), 0);
}

TEST(TerminalGrid, SmallerWindowIsAViewThatFollowsTheCursorAndKeepsEveryCell) {
  TerminalGrid grid = Painted(4, 3);
  Write(&grid, 0, 0, "abcd");
  Write(&grid, 0, 2, "wxyz");
  grid.SetCursor(3, 2);
  Render(&grid);
  grid.SetWindowSize(2, 2);
  // The buffer and the cursor stay; the window shows the 2 x 2 cells around
  // the cursor, which stands in the window's bottom-right cell.
  EXPECT_EQ(grid.width(), 4);
  EXPECT_EQ(grid.height(), 3);
  EXPECT_EQ(grid.cursor_x(), 3);
  EXPECT_EQ(grid.cursor_y(), 2);
  EXPECT_EQ(Render(&grid), "\x1b[1;1H  \x1b[2;1Hyz\x1b[2;2H");
  EXPECT_EQ(grid.view_left(), 2);
  EXPECT_EQ(grid.view_top(), 1);

  // The view stands as far left as the cursor allows; up and down it moves
  // only as far as the cursor makes it.
  grid.SetCursor(1, 2);
  Write(&grid, 1, 2, "Q");
  EXPECT_EQ(Render(&grid), "\x1b[2;1HwQ\x1b[2;2H");  // the blank row is unchanged
  EXPECT_EQ(grid.view_left(), 0);
  grid.SetCursor(1, 0);
  EXPECT_EQ(Render(&grid), "\x1b[1;1Hab\x1b[2;1H  \x1b[1;2H");
  EXPECT_EQ(grid.view_top(), 0);
  grid.SetCursor(1, 1);
  EXPECT_EQ(Render(&grid), "\x1b[2;2H");  // row 1 is in view: nothing moves

  // The window as large as before shows every cell again.
  grid.SetWindowSize(4, 3);
  EXPECT_EQ(Render(&grid), "\x1b[1;1Habcd\x1b[2;1H    \x1b[3;1HwQyz\x1b[2;2H");
  EXPECT_EQ(grid.At(1, 0).ch, 'b');
  EXPECT_EQ(grid.At(2, 0).ch, 'c');  // the column out of view came back
  EXPECT_EQ(grid.At(0, 2).ch, 'w');
}

TEST(TerminalGrid, LargerWindowAddsRowsButKeepsTheWidth) {
  TerminalGrid grid = Painted(3, 2);
  Write(&grid, 0, 0, "abc");
  grid.SetCursor(1, 0);
  grid.SetWindowSize(5, 3);  // cursor above the bottom row: the row comes below
  EXPECT_EQ(grid.width(), 3);
  EXPECT_EQ(grid.height(), 3);
  EXPECT_EQ(grid.At(0, 0).ch, 'a');
  EXPECT_EQ(Render(&grid), "\x1b[1;1Habc  \x1b[2;1H     \x1b[3;1H     \x1b[1;2H");

  Write(&grid, 0, 2, "xyz");
  grid.SetCursor(0, 2);
  grid.SetWindowSize(3, 5);  // cursor on the bottom row: rows come above
  EXPECT_EQ(grid.height(), 5);
  EXPECT_EQ(grid.cursor_y(), 4);
  EXPECT_EQ(grid.At(0, 2).ch, 'a');
  EXPECT_EQ(grid.At(0, 4).ch, 'x');
  grid.SetWindowSize(3, 2);  // a shorter window again takes no row away
  EXPECT_EQ(grid.height(), 5);
  Render(&grid);
  EXPECT_EQ(grid.view_top(), 3);
}

TEST(TerminalGrid, ScrollInAPartialViewIsRepaintedNotFed) {
  TerminalGrid grid = Painted(3, 3);
  Write(&grid, 0, 2, "abc");
  grid.SetCursor(0, 2);
  grid.SetWindowSize(3, 2);
  Render(&grid);
  grid.ScrollUp({' ', 0x07});
  const std::string bytes = Render(&grid);
  EXPECT_EQ(bytes.find('\n'), std::string::npos);
  EXPECT_EQ(bytes, "\x1b[1;1Habc\x1b[2;1H   \x1b[2;1H");
}

TEST(TerminalGrid, CursorVisibilityIsSentOnlyWhenItChanges) {
  TerminalGrid grid = Painted(2, 1);
  grid.SetCursorVisible(false);
  EXPECT_EQ(Render(&grid), "\x1b[?25l");
  grid.SetCursorVisible(false);
  EXPECT_EQ(Render(&grid), "");
  grid.SetCursorVisible(true);
  EXPECT_EQ(Render(&grid), "\x1b[?25h");
}

}  // namespace
}  // namespace console
