#include "console/console_output.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "console/console_state.h"
#include "testing/memory_console_device.h"

namespace console {
namespace {

// A 10 x 4 console set up on the in-memory device, as start-up leaves it.
class OnMemoryConsole : public ::testing::Test {
 protected:
  void SetUp() override { SetUpConsole(&device_); }
  void TearDown() override { ResetConsoleStateForTesting(); }
  bool PendingWrap() const { return GetConsoleState().pending_wrap != 0; }
  void ExpectCursor(int x, int y) const {
    EXPECT_EQ(device_.cursor_x(), x);
    EXPECT_EQ(device_.cursor_y(), y);
  }
  MemoryConsoleDevice device_{10, 4};
};

class PrintText : public OnMemoryConsole {};
class PrintNewline : public OnMemoryConsole {};
class SetCursorTo : public OnMemoryConsole {};
class ClearScreenOp : public OnMemoryConsole {};
class ConsoleSetUp : public OnMemoryConsole {};

TEST_F(PrintText, TextsStandSideBySideWithOneCursorMoveEach) {
  console::PrintText("ab");
  console::PrintText("cd");
  EXPECT_EQ(device_.TrimmedRow(0), "abcd");
  ExpectCursor(4, 0);
  EXPECT_EQ(device_.calls().set_cursor_position, 2);
}

TEST_F(PrintText, WrapsAtRightEdgeWithOneCursorMove) {
  console::PrintText("0123456789ABCDEFGHIJxy");
  EXPECT_EQ(device_.RowText(0), "0123456789");
  EXPECT_EQ(device_.RowText(1), "ABCDEFGHIJ");
  EXPECT_EQ(device_.TrimmedRow(2), "xy");
  ExpectCursor(2, 2);
  EXPECT_EQ(device_.calls().set_cursor_position, 1);
  EXPECT_EQ(device_.calls().scroll_up, 0);
}

TEST_F(PrintText, FullUpperRowLeavesCursorOnNextRowWithoutPendingWrap) {
  console::PrintText("0123456789");
  ExpectCursor(0, 1);
  EXPECT_FALSE(PendingWrap());
  console::PrintNewline();
  ExpectCursor(0, 2);
  EXPECT_EQ(device_.TrimmedRow(1), "");
}

TEST_F(PrintText, BottomRightCellSetsPendingWrapWithoutScrolling) {
  SetCursor(1, 4);
  console::PrintText("0123456789");
  EXPECT_TRUE(PendingWrap());
  EXPECT_EQ(device_.calls().scroll_up, 0);
  EXPECT_EQ(device_.RowText(3), "0123456789");
  ExpectCursor(0, 3);
}

TEST_F(PrintText, PendingWrapScrollsOnceBeforeMoreText) {
  SetCursor(1, 4);
  console::PrintText("0123456789");
  console::PrintText("x");
  EXPECT_EQ(device_.calls().scroll_up, 1);
  EXPECT_EQ(device_.RowText(2), "0123456789");
  EXPECT_EQ(device_.TrimmedRow(3), "x");
  ExpectCursor(1, 3);
  EXPECT_FALSE(PendingWrap());
}

TEST_F(PrintText, EachFurtherBottomRowCostsOneScrollAndLosesTopRow) {
  console::PrintText("top");
  SetCursor(1, 3);
  console::PrintText("second");
  SetCursor(1, 4);
  console::PrintText("aaaaaaaaaabbbbbbbbbbccc");
  EXPECT_EQ(device_.calls().scroll_up, 2);
  EXPECT_EQ(device_.TrimmedRow(0), "second");
  EXPECT_EQ(device_.RowText(1), "aaaaaaaaaa");
  EXPECT_EQ(device_.RowText(2), "bbbbbbbbbb");
  EXPECT_EQ(device_.TrimmedRow(3), "ccc");
  ExpectCursor(3, 3);
}

TEST_F(PrintText, RowPiecesAreAtMost255Cells) {
  device_.Resize(600, 3);
  console::PrintText(std::string(700, 'x'));
  EXPECT_EQ(device_.write_lengths(), (std::vector<int>{255, 255, 90, 100}));
  ExpectCursor(100, 1);
}

TEST_F(PrintText, ControlBytesAreGlyphCells) {
  console::PrintText(std::string("\r\n\t\b\a\0z", 7));
  EXPECT_EQ(device_.RowText(0), std::string("\r\n\t\b\a\0z   ", 10));
  ExpectCursor(7, 0);
}

TEST_F(PrintText, CellsTakeTheConsoleAttribute) {
  GetConsoleState().foreground = 0x0E;
  GetConsoleState().background = 0x01;
  console::PrintText("a");
  EXPECT_EQ(device_.CellAt(0, 0).attribute, 0x1E);
}

TEST_F(PrintText, EmptyTextChangesNothing) {
  GetConsoleState().pending_wrap = kPendingWrapSet;
  const DeviceCallCounts before = device_.calls();
  console::PrintText("");
  EXPECT_TRUE(PendingWrap());
  EXPECT_EQ(device_.calls().get_screen_buffer_info,
            before.get_screen_buffer_info);
  EXPECT_EQ(device_.calls().set_cursor_position, before.set_cursor_position);
}

TEST_F(PrintText, UnreadableOrEmptyBufferDropsText) {
  device_.set_screen_info_fails(true);
  console::PrintText("abc");
  device_.set_screen_info_fails(false);
  device_.Resize(0, 4);
  console::PrintText("abc");
  EXPECT_EQ(device_.calls().write_cells, 0);
  EXPECT_EQ(device_.calls().set_cursor_position, 0);
}

TEST_F(PrintText, CursorReportedOutsideBufferWritesInside) {
  device_.ForceCursor(50, 9);
  console::PrintText("ab");
  EXPECT_EQ(device_.write_lengths(), (std::vector<int>{1, 1}));
  EXPECT_EQ(device_.RowText(2), "         a");
  EXPECT_EQ(device_.TrimmedRow(3), "b");
}

TEST_F(PrintNewline, OnBottomRowScrollsOnce) {
  console::PrintText("top");
  SetCursor(4, 4);
  console::PrintNewline();
  EXPECT_EQ(device_.calls().scroll_up, 1);
  EXPECT_EQ(device_.TrimmedRow(0), "");
  ExpectCursor(0, 3);
}

TEST_F(PrintNewline, AfterBottomRightCellScrollsTwiceLeavingBlankRow) {
  SetCursor(1, 4);
  console::PrintText("0123456789");
  console::PrintNewline();
  EXPECT_EQ(device_.calls().scroll_up, 2);
  EXPECT_EQ(device_.RowText(1), "0123456789");
  EXPECT_EQ(device_.CellAt(0, 3).attribute, 0x07);
  EXPECT_EQ(device_.TrimmedRow(2), "");
  ExpectCursor(0, 3);
  EXPECT_FALSE(PendingWrap());
}

TEST_F(SetCursorTo, OutOfRangeCoordinateKeepsCurrentOne) {
  SetCursor(4, 2);
  SetCursor(0, 3);
  ExpectCursor(3, 2);
  SetCursor(11, 1);
  ExpectCursor(3, 0);
  SetCursor(6, 0);
  ExpectCursor(5, 0);
  SetCursor(7, 5);
  ExpectCursor(6, 0);
}

TEST_F(SetCursorTo, SleepsTwiceOnlyWhenMovingUp) {
  SetCursor(1, 3);
  SetCursor(5, 3);
  EXPECT_EQ(device_.calls().sleep, 0);
  SetCursor(1, 2);
  EXPECT_EQ(device_.calls().sleep, 2);
}

TEST_F(SetCursorTo, ClearsPendingWrap) {
  GetConsoleState().pending_wrap = kPendingWrapSet;
  SetCursor(2, 2);
  EXPECT_FALSE(PendingWrap());
}

TEST_F(ClearScreenOp, BlanksWholeBufferAndHomesCursor) {
  device_.Resize(300, 200);
  GetConsoleState().foreground = 0x0F;
  GetConsoleState().background = 0x04;
  SetCursor(280, 150);
  console::PrintText(std::string(100, '#'));
  GetConsoleState().foreground = 7;
  GetConsoleState().background = 0;
  ClearScreen();
  for (int y = 0; y < device_.height(); ++y) {
    for (int x = 0; x < device_.width(); ++x) {
      ASSERT_EQ(device_.CellAt(x, y).ch, ' ');
      ASSERT_EQ(device_.CellAt(x, y).attribute, 0x07);
    }
  }
  ExpectCursor(0, 0);
}

TEST_F(ClearScreenOp, HidesVisibleCursorOnlyForTheClear) {
  ClearScreen();
  EXPECT_EQ(device_.calls().set_cursor_info, 2);
  EXPECT_EQ(device_.cursor_info().visible, 1u);
  EXPECT_EQ(GetConsoleState().cursor_restore_pending, 0u);
}

TEST_F(ClearScreenOp, LeavesHiddenCursorAlone) {
  GetConsoleState().cursor.visible = 0;
  ClearScreen();
  EXPECT_EQ(device_.calls().set_cursor_info, 0);
}

TEST_F(ConsoleSetUp, KeepsReadableCursorRecord) {
  device_.set_cursor_info(CursorInfo{50, 0});
  SetUpConsole(&device_);
  EXPECT_EQ(GetConsoleState().cursor.size, 50u);
  EXPECT_EQ(GetConsoleState().cursor.visible, 0u);
  EXPECT_EQ(device_.calls().set_cursor_info, 0);
}

TEST_F(ConsoleSetUp, UnreadableOrZeroSizeCursorBecomesVisibleSizeTen) {
  device_.set_cursor_info(CursorInfo{0, 0});
  SetUpConsole(&device_);
  EXPECT_EQ(device_.cursor_info().size, 10u);
  EXPECT_EQ(device_.cursor_info().visible, 1u);
  device_.set_cursor_info(CursorInfo{30, 0});
  device_.set_cursor_info_fails(true);
  SetUpConsole(&device_);
  EXPECT_EQ(GetConsoleState().cursor.size, 10u);
  EXPECT_EQ(device_.cursor_info().visible, 1u);
}

TEST(ConsoleWithoutDevice, OperationsDoNothing) {
  ResetConsoleStateForTesting();
  ClearScreen();
  console::PrintText("abc");
  console::PrintNewline();
  EXPECT_EQ(GetCursor().x, 0);
  EXPECT_EQ(GetBufferSize().width, 0);
}

}  // namespace
}  // namespace console
