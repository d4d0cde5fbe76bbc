#include "schedule/shown_text.h"

#include <cstdio>

namespace schedule {
namespace {

// The length of the valid UTF-8 sequence of two to four bytes at `at`, or 0.
size_t Utf8SequenceAt(std::string_view text, size_t at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
  unsigned char second = byte(at + 1);
  if (lead == 0xE0 && second < 0xA0) return 0;
  if (lead == 0xED && second >= 0xA0) return 0;
  if (lead == 0xF0 && second < 0x90) return 0;
  if (lead == 0xF4 && second >= 0x90) return 0;
  return length;
}

void AppendEscaped(std::string* shown, unsigned char byte) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\x%02X", byte);
  *shown += escape;
}

}  // namespace

std::string Quoted(std::string_view text) {
  std::string shown = "\"";
  size_t characters = 0;
  size_t at = 0;
  while (at < text.size() && characters < kShownCharacters) {
    auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += text[at++];
    } else if (size_t length = byte >= 0x80 ? Utf8SequenceAt(text, at) : 0; length > 0) {
      shown.append(text.substr(at, length));
      at += length;
    } else {
      AppendEscaped(&shown, byte);
      ++at;
    }
    ++characters;
  }
  shown += "\"";
  if (at < text.size()) shown += "... (" + std::to_string(text.size()) + " bytes)";
  return shown;
}

}  // namespace schedule
