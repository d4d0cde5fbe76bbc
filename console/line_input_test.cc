#include "console/line_input.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "console/console_output.h"
#include "console/console_state.h"
#include "testing/memory_console_device.h"

namespace console {
namespace {

class ReadLineOn : public ::testing::Test {
 protected:
  void SetUp() override { SetUpConsole(&device_); }
  void TearDown() override { ResetConsoleStateForTesting(); }
  void ExpectCursor(int x, int y) const {
    EXPECT_EQ(device_.cursor_x(), x);
    EXPECT_EQ(device_.cursor_y(), y);
  }
  // Feeds the read in stages: each time it has taken every queued record,
  // the next stage runs (and may type more); after the last stage the
  // keyboard closes, so a read that goes wrong ends instead of hanging.
  void WhenIdle(std::vector<std::function<void()>> stages) {
    device_.set_sleep_hook(
        [stages = std::move(stages), next = size_t{0}](
            MemoryConsoleDevice& device) mutable {
          if (device.queued_records() != 0) return;
          if (next < stages.size()) {
            stages[next++]();
          } else {
            device.CloseKeyboard();
          }
        });
  }
  MemoryConsoleDevice device_{10, 4};
};

TEST_F(ReadLineOn, EchoesAfterPromptAndEndsOnNextRow) {
  PrintText("In: ");
  device_.TypeText("abc\r");
  EXPECT_EQ(ReadLine(), "abc");
  EXPECT_EQ(device_.TrimmedRow(0), "In: abc");
  ExpectCursor(0, 1);
}

TEST_F(ReadLineOn, BackspaceOnEmptyLineKeepsPrompt) {
  PrintText("P>");
  device_.TypeText("\b\bz\b\by\r");
  EXPECT_EQ(ReadLine(), "y");
  EXPECT_EQ(device_.TrimmedRow(0), "P>y");
}

TEST_F(ReadLineOn, BackspaceAfterWrapBlanksLastCellOfRowAbove) {
  device_.TypeText("0123456789A\b\b");
  device_.CloseKeyboard();
  EXPECT_EQ(ReadLine(), "012345678");
  EXPECT_EQ(device_.RowText(0), "012345678 ");
  EXPECT_EQ(device_.TrimmedRow(1), "");
}

TEST_F(ReadLineOn, BackspaceWithPendingWrapBlanksBottomRightWithoutScroll) {
  SetCursor(1, 4);
  device_.TypeText("0123456789\b");
  std::string bottom_row;
  int scrolls = -1;
  WhenIdle({[&] {
    bottom_row = device_.RowText(3);
    scrolls = device_.calls().scroll_up;
    ExpectCursor(9, 3);
    EXPECT_EQ(GetConsoleState().pending_wrap, 0);
    device_.TypeText("\r");
  }});
  EXPECT_EQ(ReadLine(), "012345678");
  EXPECT_EQ(bottom_row, "012345678 ");
  EXPECT_EQ(scrolls, 0);
  EXPECT_EQ(device_.calls().scroll_up, 1);  // Enter on the bottom row
}

TEST_F(ReadLineOn, EnterAfterFullBottomRowLeavesBlankRow) {
  SetCursor(1, 4);
  device_.TypeText("0123456789\r");
  EXPECT_EQ(ReadLine(), "0123456789");
  EXPECT_EQ(device_.calls().scroll_up, 2);
  EXPECT_EQ(device_.RowText(1), "0123456789");
  EXPECT_EQ(device_.TrimmedRow(2), "");
}

TEST_F(ReadLineOn, BackspaceAtTopLeftGoesToEndOfTopRow) {
  device_.Resize(4, 2);
  SetCursor(1, 2);
  PrintText("P");
  // "abc" ends the bottom row, "defg" fills it again, "hij" pushes the
  // line's start off the top; seven Backspaces bring the cursor to (0, 0).
  device_.TypeText("abcdefghij\b\b\b\b\b\b\b");
  WhenIdle({[&] {
              ExpectCursor(0, 0);
              device_.TypeText("\b");
            },
            [&] {
              ExpectCursor(3, 0);
              device_.TypeText("\r");
            }});
  EXPECT_EQ(ReadLine(), "ab");
  EXPECT_EQ(device_.calls().scroll_up, 2);  // Backspace never scrolls
}

TEST_F(ReadLineOn, BytesBeyondTenThousandAreDroppedUnseen) {
  device_.Resize(200, 60);
  std::string typed(kLineLimit - 1, 'a');
  typed += "bc";
  device_.TypeText(typed);
  device_.TypeText("\b");
  device_.CloseKeyboard();
  std::string line = ReadLine();
  EXPECT_EQ(line, std::string(kLineLimit - 1, 'a'));
  // 10,000 echoes and one blank; the dropped 'c' was never written.
  const auto& writes = device_.write_lengths();
  EXPECT_EQ(std::accumulate(writes.begin(), writes.end(), 0), 10001);

  device_.TypeText(std::string(kLineLimit, 'x') + "y\bz\r");
  line = ReadLine();
  EXPECT_EQ(line.size(), kLineLimit);
  EXPECT_EQ(line.back(), 'z');
}

TEST_F(ReadLineOn, CapsLockCorrectedDigitsAndUntouchedLetters) {
  device_.PressKey('1', 0x02, kCapsLockOn | kShiftPressed);
  device_.PressKey('!', 0x02, kCapsLockOn);
  device_.PressKey('A', 0x1E, kCapsLockOn);
  device_.TypeText("\r");
  EXPECT_EQ(ReadLine(), "!1A");
}

TEST_F(ReadLineOn, KeysWithoutTextAddAndMoveNothing) {
  PrintText("P");
  device_.PressKey(9, 0x0F);                   // Tab
  device_.PressKey(0, 0x01);                   // Esc
  device_.PressKey(0x1B, 0x01, kCapsLockOn);   // Esc with Caps Lock
  device_.PressKey(0, 0x48, kEnhancedKey);     // Up arrow
  device_.PressKey(0, 0x53, kEnhancedKey);     // Delete
  device_.PressKey('f', 0x21, kLeftAltPressed);
  device_.PressKey('e', 0x12, kRightAltPressed | kLeftCtrlPressed);  // AltGr
  device_.PressKey(3, 0x2E, kLeftCtrlPressed);  // Ctrl+C
  WhenIdle({[&] {
    EXPECT_EQ(device_.calls().write_cells, 1);
    ExpectCursor(1, 0);
    device_.TypeText("\r");
  }});
  EXPECT_EQ(ReadLine(), "");
}

TEST_F(ReadLineOn, CtrlHErasesAndCtrlMEnds) {
  device_.TypeText("ab");
  device_.PressKey(8, 0x23, kLeftCtrlPressed);
  device_.PressKey(13, 0x32, kLeftCtrlPressed);
  EXPECT_EQ(ReadLine(), "a");
}

TEST_F(ReadLineOn, OneBytePerKeyDownWhateverItsRepeatCount) {
  InputRecord held;
  held.ch = 'r';
  held.scan_code = 0x13;
  held.repeat_count = 5;
  device_.PushRecord(held);
  device_.PushRecord(held);
  device_.TypeText("\r");
  EXPECT_EQ(ReadLine(), "rr");
}

TEST_F(ReadLineOn, TypedAheadEnterEndsNextReadAtOnce) {
  device_.TypeText("one\r\rtwo\r");
  EXPECT_EQ(ReadLine(), "one");
  EXPECT_EQ(ReadLine(), "");
  EXPECT_EQ(ReadLine(), "two");
  ExpectCursor(0, 3);
}

TEST_F(ReadLineOn, ClosedKeyboardEndsReadAsEnterEveryTime) {
  device_.TypeText("ab");
  device_.CloseKeyboard();
  // Should the read keep waiting, an Enter after a while stops the test
  // from hanging; the count of sleeps then shows the fault.
  device_.set_sleep_hook([](MemoryConsoleDevice& device) {
    if (device.calls().sleep >= 1000 && device.queued_records() == 0) {
      device.TypeText("\r");
    }
  });
  EXPECT_EQ(ReadLine(), "ab");
  ExpectCursor(0, 1);
  EXPECT_EQ(ReadLine(), "");
  ExpectCursor(0, 2);
  EXPECT_LT(device_.calls().sleep, 20);
}

TEST_F(ReadLineOn, HiddenCursorShowsOnlyDuringRead) {
  device_.set_cursor_info(CursorInfo{25, 0});
  SetUpConsole(&device_);
  uint32_t visible_while_reading = 0;
  WhenIdle({[&] { visible_while_reading = device_.cursor_info().visible; }});
  EXPECT_EQ(ReadLine(), "");
  EXPECT_EQ(visible_while_reading, 1u);
  EXPECT_EQ(device_.cursor_info().visible, 0u);
}

TEST_F(ReadLineOn, UnreadableGeometryStillReadsTheLine) {
  device_.set_screen_info_fails(true);
  device_.TypeText("ab\bc\r");
  EXPECT_EQ(ReadLine(), "ac");
  EXPECT_EQ(device_.calls().write_cells, 0);
}

TEST(ReadLineWithoutDevice, ReturnsEmptyAtOnce) {
  ResetConsoleStateForTesting();
  EXPECT_EQ(ReadLine(), "");
}

}  // namespace
}  // namespace console
