// Key records: how the records of the device's input queue become the bytes
// that line input edits. Key-up records, records of other events and the
// modifier keys on their own are skipped; Esc, the keys without a character
// and Alt with a letter key yield nothing; with Caps Lock on, the digit and
// punctuation keys follow Shift as they do with Caps Lock off.
#ifndef ZELTO_CONSOLE_KEY_RECORDS_H_
#define ZELTO_CONSOLE_KEY_RECORDS_H_

#include <cstdint>
#include <optional>

#include "console/console_device.h"

namespace console {

/// What the head of the input queue holds after the skipped records.
enum class KeyKind : uint8_t {
  kNone,       ///< nothing waiting now
  kCharacter,  ///< a key-down record with a byte (which may be 0)
  kExtended,   ///< a key-down record that yields no byte
  kClosed,     ///< the keyboard is gone and nothing more will come
};

/// The answer of a look at the head of the input queue.
struct PeekedKey {
  KeyKind kind = KeyKind::kNone;  ///< what was found
  uint8_t ch = 0;                 ///< the byte of a kCharacter
};

/// True for the scan codes of Ctrl, both Shifts, Alt, Caps Lock, Num Lock
/// and Scroll Lock.
bool IsModifierScanCode(uint8_t scan_code);

/// True for the scan codes of the letter keys.
bool IsLetterScanCode(uint8_t scan_code);

/// Makes the digit and punctuation keys follow Shift when Caps Lock is on;
/// every other byte comes back unchanged.
uint8_t CorrectForCapsLock(uint8_t scan_code, uint8_t ch,
                           uint32_t control_state);

/// Looks at the head of `device`'s queue, taking and skipping the records
/// that yield nothing; the record reported stays in the queue.
PeekedKey PeekKey(ConsoleDevice& device);

/// Removes the record at the head of `device`'s queue.
void TakeRecord(ConsoleDevice& device);

/// Waits, sleeping 1 ms before every look, for the next key-down record that
/// yields a byte from 0x01 to 0xFF and takes it. Nothing when the keyboard
/// is gone (or there is no device).
std::optional<uint8_t> WaitForCharacter();

/// True when Ctrl+C waits at the head of the keyboard queue, and takes it:
/// the key that ends a wait for a file's data. Records a line read would
/// skip are taken on the way; any other key stays for the next read.
bool TakeInterruptKey();

}  // namespace console

#endif  // ZELTO_CONSOLE_KEY_RECORDS_H_
