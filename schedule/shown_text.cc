#include "schedule/shown_text.h"

#include <algorithm>

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
