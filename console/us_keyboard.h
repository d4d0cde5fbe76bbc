// The US keyboard layout, written once: which key (by its set-1 scan code)
// gives which printable ASCII character, without and with Shift. The key
// decoder uses it to give a typed character its key record, the stream
// device the same for the bytes of standard input, and line input's Caps
// Lock correction to find the other character of a digit or punctuation key.
#ifndef ZELTO_CONSOLE_US_KEYBOARD_H_
#define ZELTO_CONSOLE_US_KEYBOARD_H_

#include <cstdint>

namespace console {

/// The US-layout scan code of a printable ASCII character (0x20-0x7E) and
/// whether Shift gives it; scan 0 for any other byte.
uint8_t ScanCodeForCharacter(uint8_t ch, bool* shifted);

/// The characters the key with `scan_code` gives without and with Shift;
/// false for a key that gives no printable character (or only one: Space).
bool KeyCharacters(uint8_t scan_code, uint8_t* plain, uint8_t* shifted);

}  // namespace console

#endif  // ZELTO_CONSOLE_US_KEYBOARD_H_
