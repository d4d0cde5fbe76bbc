// The PC code page 437: the single-byte code page in which the program's text,
// the cells of the screen and the bytes of typed keys are kept. A terminal
// speaks UTF-8, so every byte shown goes through this table on its way out and
// every typed character comes back through it on its way in.
#ifndef ZELTO_CONSOLE_CODE_PAGE_437_H_
#define ZELTO_CONSOLE_CODE_PAGE_437_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace console {

/// The Unicode character the console shows for a cell byte. Bytes 0x01-0x1F
/// and 0x7F are the code page's pictures (smiley, card suits, arrows, house),
/// never control characters; 0x00 shows as a space, as on the console.
char32_t Cp437Glyph(uint8_t byte);

/// The code page byte 0x80-0xFF for a typed Unicode character, or -1 when the
/// code page has none (such a key yields nothing).
int Cp437ByteForTypedCharacter(char32_t code_point);

/// Appends `code_point` (at most U+FFFF is ever needed here) as UTF-8.
void AppendUtf8(char32_t code_point, std::string* out);

/// Code page text to UTF-8: bytes below 0x80 unchanged, the others through
/// the table. Used for names that a file system stores as UTF-8.
std::string Cp437TextToUtf8(std::string_view text);

}  // namespace console

#endif  // ZELTO_CONSOLE_CODE_PAGE_437_H_
