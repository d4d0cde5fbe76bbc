#include "console/key_records.h"

#include <gtest/gtest.h>

#include "console/console_state.h"
#include "testing/memory_console_device.h"

namespace console {
namespace {

constexpr uint32_t kCapsShift = kCapsLockOn | kShiftPressed;

TEST(CapsLockCorrection, DigitAndPunctuationKeysFollowShift) {
  EXPECT_EQ(CorrectForCapsLock(0x02, '1', kCapsShift), '!');
  EXPECT_EQ(CorrectForCapsLock(0x02, '!', kCapsLockOn), '1');
  EXPECT_EQ(CorrectForCapsLock(0x28, '"', kCapsLockOn), '\'');
  EXPECT_EQ(CorrectForCapsLock(0x35, '/', kCapsShift), '?');
}

TEST(CapsLockCorrection, LeavesOtherBytesAlone) {
  EXPECT_EQ(CorrectForCapsLock(0x02, '!', kShiftPressed), '!');  // Caps off
  EXPECT_EQ(CorrectForCapsLock(0x1E, 'A', kCapsLockOn), 'A');    // a letter
  EXPECT_EQ(CorrectForCapsLock(0x02, '!', kCapsShift), '!');     // already shifted
  EXPECT_EQ(CorrectForCapsLock(0x02, 0xA7, kCapsLockOn), 0xA7);  // layout's own
}

class PeekKeyOn : public ::testing::Test {
 protected:
  InputRecord Down(uint8_t ch, uint8_t scan_code, uint32_t state = 0) {
    InputRecord record;
    record.ch = ch;
    record.scan_code = scan_code;
    record.control_state = state;
    return record;
  }
  PeekedKey PeekOnly(const InputRecord& record) {
    MemoryConsoleDevice device(10, 4);
    device.PushRecord(record);
    return PeekKey(device);
  }
};

TEST_F(PeekKeyOn, SkipsKeyUpOtherEventsAndModifiersWithoutSleeping) {
  MemoryConsoleDevice device(10, 4);
  InputRecord up = Down('k', 0x25);
  up.key_down = false;
  InputRecord mouse;
  mouse.type = EventType::kMouse;
  device.PushRecord(up);
  device.PushRecord(mouse);
  for (uint8_t scan : {0x1D, 0x2A, 0x36, 0x38, 0x3A, 0x45, 0x46}) {
    device.PushRecord(Down(0, scan));
  }
  device.PushRecord(Down('a', 0x1E));
  const PeekedKey key = PeekKey(device);
  EXPECT_EQ(key.kind, KeyKind::kCharacter);
  EXPECT_EQ(key.ch, 'a');
  EXPECT_EQ(device.queued_records(), 1u);  // the reported record stays
  EXPECT_EQ(device.calls().sleep, 0);
}

TEST_F(PeekKeyOn, EscGivesItsByteOnlyWithCapsLock) {
  EXPECT_EQ(PeekOnly(Down(0, 0x01)).ch, 0);
  EXPECT_EQ(PeekOnly(Down(0, 0x01, kCapsLockOn)).ch, 0x1B);
}

TEST_F(PeekKeyOn, KeysWithoutByteAreExtended) {
  EXPECT_EQ(PeekOnly(Down(0, 0x48)).kind, KeyKind::kExtended);  // Up arrow
  EXPECT_EQ(PeekOnly(Down(0, 0x3B)).kind, KeyKind::kExtended);  // F1
}

TEST_F(PeekKeyOn, AltWithLetterIsExtendedButAltWithDigitIsCharacter) {
  EXPECT_EQ(PeekOnly(Down('a', 0x1E, kLeftAltPressed)).kind,
            KeyKind::kExtended);
  // AltGr sets right Alt and left Ctrl; the layout's byte does not count.
  EXPECT_EQ(PeekOnly(Down('@', 0x10, kRightAltPressed | kLeftCtrlPressed)).kind,
            KeyKind::kExtended);
  EXPECT_EQ(PeekOnly(Down('m', 0x32, kLeftAltPressed)).kind, KeyKind::kExtended);
  EXPECT_EQ(PeekOnly(Down('2', 0x03, kLeftAltPressed)).ch, '2');
  EXPECT_EQ(PeekOnly(Down('{', 0x08, kRightAltPressed)).ch, '{');
  EXPECT_EQ(PeekOnly(Down(';', 0x27, kLeftAltPressed)).ch, ';');
}

TEST_F(PeekKeyOn, EmptyQueueIsNoneAndClosedQueueIsClosed) {
  MemoryConsoleDevice device(10, 4);
  EXPECT_EQ(PeekKey(device).kind, KeyKind::kNone);
  device.CloseKeyboard();
  EXPECT_EQ(PeekKey(device).kind, KeyKind::kClosed);
}

TEST(WaitForCharacterOn, SleepsBeforeEveryLook) {
  MemoryConsoleDevice device(10, 4);
  SetUpConsole(&device);
  device.set_sleep_hook([](MemoryConsoleDevice& d) {
    if (d.calls().sleep == 3) d.PressKey('q', 0x10);
  });
  EXPECT_EQ(WaitForCharacter(), std::optional<uint8_t>('q'));
  EXPECT_EQ(device.calls().sleep, 3);
  EXPECT_EQ(device.calls().peek_input, 3);
  ResetConsoleStateForTesting();
}

}  // namespace
}  // namespace console
