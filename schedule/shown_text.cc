#include "schedule/shown_text.h"

#include <algorithm>
#include <cstdint>

namespace schedule {
namespace {

unsigned char Byte(std::string_view text, size_t at) {
  return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

bool Continues(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
  return byte >= low && byte <= high;
}

}  // namespace

size_t CharacterLength(std::string_view text, size_t at) {
  unsigned char lead = Byte(text, at);
  unsigned char next = Byte(text, at + 1);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return Continues(next) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    bool second = lead == 0xE0   ? Continues(next, 0xA0)
                  : lead == 0xED ? Continues(next, 0x80, 0x9F)
                                 : Continues(next);
    return second && Continues(Byte(text, at + 2)) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    bool second = lead == 0xF0   ? Continues(next, 0x90)
                  : lead == 0xF4 ? Continues(next, 0x80, 0x8F)
                                 : Continues(next);
    return second && Continues(Byte(text, at + 2)) && Continues(Byte(text, at + 3)) ? 4 : 0;
  }
  return 0;
}

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); ++count) at += std::max<size_t>(CharacterLength(text, at), 1);
  return count;
}

namespace {

// The code point of the valid UTF-8 character of `length` bytes at `at`.
uint32_t CodePoint(std::string_view text, size_t at, size_t length) {
  uint32_t code = length == 1 ? Byte(text, at) : Byte(text, at) & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) code = (code << 6) | (Byte(text, at + i) & 0x3F);
  return code;
}

// The East Asian wide and full-width blocks a terminal shows two cells
// wide: Hangul Jamo, CJK and its punctuation, Hiragana, Katakana, Hangul
// syllables, CJK compatibility, the full-width forms and the ideographs of
// planes 2 and 3.
bool IsWide(uint32_t code) {
  return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0x303E) ||
         (code >= 0x3041 && code <= 0x33FF) || (code >= 0x3400 && code <= 0x4DBF) ||
         (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0xA000 && code <= 0xA4CF) ||
         (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
         (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
         (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

// The bytes a character that starts with `lead` takes, 0 for a byte that
// starts none.
size_t ClaimedLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

size_t DisplayWidth(std::string_view text) {
  size_t cells = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharacterLength(text, at);
    cells += length != 0 && IsWide(CodePoint(text, at, length)) ? 2 : 1;
    at += std::max<size_t>(length, 1);
  }
  return cells;
}

bool EndsInsideCharacter(std::string_view text) {
  for (size_t back = 1; back <= 4 && back <= text.size(); ++back) {
    const unsigned char byte = Byte(text, text.size() - back);
    if (Continues(byte)) continue;  // a continuation byte: the start lies further back
    return ClaimedLength(byte) > back;
  }
  return false;
}

namespace {

void AppendEscaped(std::string* shown, unsigned char byte) {
  // Made by hand: a binary file's warnings escape thousands of bytes.
  constexpr char kHexDigits[] = "0123456789ABCDEF";
  const char escape[4] = {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0x0F]};
  shown->append(escape, sizeof escape);
}

// Shows the character at `at` on `shown` and answers how many bytes it took.
// Inside double quotes a double quote is escaped too.
size_t ShowCharacter(std::string_view text, size_t at, bool in_quotes, std::string* shown) {
  unsigned char byte = Byte(text, at);
  size_t length = CharacterLength(text, at);
  bool c1_control = length == 2 && byte == 0xC2 && Byte(text, at + 1) < 0xA0;
  if (byte < 0x20 || byte == 0x7F) {
    AppendEscaped(shown, byte);
  } else if ((in_quotes && byte == '"') || byte == '\\') {
    *shown += '\\';
    *shown += static_cast<char>(byte);
  } else if (length == 0 || c1_control) {
    // An invalid byte is shown alone; a C1 control as its two bytes.
    length = length == 0 ? 1 : length;
    for (size_t i = 0; i < length; ++i) AppendEscaped(shown, Byte(text, at + i));
  } else {
    shown->append(text.substr(at, length));
  }
  return length == 0 ? 1 : length;
}

// The end of the run of bytes from `at` (up to `limit`) that show as they
// stand, one character each: printable ASCII other than a backslash (and a
// double quote inside quotes). Most text is such a run, appended whole.
size_t PlainRunEnd(std::string_view text, size_t at, size_t limit, bool in_quotes) {
  while (at < limit) {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x20 || byte >= 0x7F || byte == '\\' || (in_quotes && byte == '"')) break;
    ++at;
  }
  return at;
}

}  // namespace

std::string Quoted(std::string_view text) {
  std::string shown = "\"";
  size_t at = 0;
  for (size_t characters = 0; at < text.size() && characters < kShownCharacters;) {
    const size_t limit = std::min(text.size(), at + (kShownCharacters - characters));
    if (const size_t end = PlainRunEnd(text, at, limit, true); end > at) {
      shown.append(text.substr(at, end - at));
      characters += end - at;
      at = end;
      continue;
    }
    at += ShowCharacter(text, at, true, &shown);
    ++characters;
  }
  if (at < text.size()) return shown + "...\" (" + std::to_string(text.size()) + " bytes)";
  return shown + "\"";
}

std::string Escaped(std::string_view text) {
  std::string shown;
  for (size_t at = 0; at < text.size();) {
    if (const size_t end = PlainRunEnd(text, at, text.size(), false); end > at) {
      shown.append(text.substr(at, end - at));
      at = end;
      continue;
    }
    at += ShowCharacter(text, at, false, &shown);
  }
  return shown;
}

}  // namespace schedule
