#include "console/key_records.h"

#include "console/console_state.h"
#include "console/us_keyboard.h"

namespace console {

namespace {

constexpr uint8_t kEscScanCode = 0x01;
constexpr uint8_t kEscByte = 0x1B;

}  // namespace

bool IsModifierScanCode(uint8_t scan_code) {
  switch (scan_code) {
    case 0x1D:  // Ctrl
    case 0x2A:  // left Shift
    case 0x36:  // right Shift
    case 0x38:  // Alt
    case 0x3A:  // Caps Lock
    case 0x45:  // Num Lock
    case 0x46:  // Scroll Lock
      return true;
    default:
      return false;
  }
}

bool IsLetterScanCode(uint8_t scan_code) {
  // The three letter rows: Q to P, A to L, Z to M.
  return (scan_code >= 0x10 && scan_code <= 0x19) ||
         (scan_code >= 0x1E && scan_code <= 0x26) ||
         (scan_code >= 0x2C && scan_code <= 0x32);
}

uint8_t CorrectForCapsLock(uint8_t scan_code, uint8_t ch,
                           uint32_t control_state) {
  if ((control_state & kCapsLockOn) == 0) return ch;
  // The letter keys follow Caps Lock itself; only the digit and
  // punctuation keys are put right here.
  uint8_t plain = 0;
  uint8_t shifted = 0;
  if (IsLetterScanCode(scan_code) || !KeyCharacters(scan_code, &plain, &shifted)) return ch;
  const bool shift = (control_state & kShiftPressed) != 0;
  if (shift && ch == plain) return shifted;
  if (!shift && ch == shifted) return plain;
  return ch;
}

PeekedKey PeekKey(ConsoleDevice& device) {
  for (;;) {
    InputRecord record;
    switch (device.PeekInput(&record)) {
      case PeekResult::kEmpty:
        return PeekedKey{KeyKind::kNone, 0};
      case PeekResult::kClosed:
        return PeekedKey{KeyKind::kClosed, 0};
      case PeekResult::kRecord:
        break;
    }

    // Mouse, window, menu and focus records, and key-up records, yield
    // nothing; they are taken one after another without sleeping.
    if (record.type != EventType::kKey || !record.key_down) {
      TakeRecord(device);
      continue;
    }

    if (record.ch == 0) {
      if (IsModifierScanCode(record.scan_code)) {
        TakeRecord(device);
        continue;
      }
      if (record.scan_code == kEscScanCode) {
        // The console gives Esc no byte while Caps Lock is off.
        const uint8_t ch =
            (record.control_state & kCapsLockOn) != 0 ? kEscByte : 0;
        return PeekedKey{KeyKind::kCharacter, ch};
      }
      return PeekedKey{KeyKind::kExtended, 0};
    }

    // Alt with a letter is a command key, not text, whatever byte the
    // keyboard layout gives it (AltGr sets the right Alt bit too).
    const bool alt =
        (record.control_state & (kLeftAltPressed | kRightAltPressed)) != 0;
    if (alt && IsLetterScanCode(record.scan_code)) {
      return PeekedKey{KeyKind::kExtended, 0};
    }
    return PeekedKey{KeyKind::kCharacter,
                     CorrectForCapsLock(record.scan_code, record.ch,
                                        record.control_state)};
  }
}

void TakeRecord(ConsoleDevice& device) { device.TakeInput(); }

std::optional<uint8_t> WaitForCharacter() {
  ConsoleDevice* device = GetConsoleState().device;
  if (device == nullptr) return std::nullopt;
  for (;;) {
    // The sleep comes before every look, so an idle read leaves the
    // processor alone.
    device->Sleep(1);
    const PeekedKey key = PeekKey(*device);
    if (key.kind == KeyKind::kClosed) return std::nullopt;
    if (key.kind == KeyKind::kNone) continue;
    TakeRecord(*device);
    if (key.kind == KeyKind::kExtended || key.ch == 0) continue;
    return key.ch;
  }
}

bool TakeInterruptKey() {
  constexpr uint8_t kCtrlC = 0x03;
  ConsoleDevice* device = GetConsoleState().device;
  if (device == nullptr) return false;
  PeekedKey key = PeekKey(*device);
  if (key.kind != KeyKind::kCharacter || key.ch != kCtrlC) return false;
  TakeRecord(*device);
  return true;
}

}  // namespace console
