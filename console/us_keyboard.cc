#include "console/us_keyboard.h"

#include <array>
#include <string_view>

namespace console {
namespace {

// One run of neighbouring keys on a US keyboard: their characters without and
// with Shift, and the scan code of the first of them.
struct KeyRow {
  std::string_view plain;
  std::string_view shifted;
  uint8_t first_scan;
};

constexpr std::array<KeyRow, 5> kKeyRows = {{
    {"1234567890-=", "!@#$%^&*()_+", 0x02},
    {"qwertyuiop[]", "QWERTYUIOP{}", 0x10},
    {"asdfghjkl;'`", "ASDFGHJKL:\"~", 0x1E},
    {"\\zxcvbnm,./", "|ZXCVBNM<>?", 0x2B},
    {" ", "", 0x39},
}};

}  // namespace

uint8_t ScanCodeForCharacter(uint8_t ch, bool* shifted) {
  *shifted = false;
  for (const KeyRow& row : kKeyRows) {
    if (size_t at = row.plain.find(static_cast<char>(ch)); at != std::string_view::npos) {
      return static_cast<uint8_t>(row.first_scan + at);
    }
    if (size_t at = row.shifted.find(static_cast<char>(ch)); at != std::string_view::npos) {
      *shifted = true;
      return static_cast<uint8_t>(row.first_scan + at);
    }
  }
  return 0;
}

bool KeyCharacters(uint8_t scan_code, uint8_t* plain, uint8_t* shifted) {
  for (const KeyRow& row : kKeyRows) {
    if (scan_code < row.first_scan) continue;
    const size_t at = scan_code - row.first_scan;
    if (at >= row.shifted.size()) continue;
    *plain = static_cast<uint8_t>(row.plain[at]);
    *shifted = static_cast<uint8_t>(row.shifted[at]);
    return true;
  }
  return false;
}

}  // namespace console
