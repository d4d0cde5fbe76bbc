#include "console/code_page_437.h"

#include <gtest/gtest.h>

namespace console {
namespace {

TEST(CodePage437, ControlBytesShowAsPicturesNeverAsControls) {
  EXPECT_EQ(Cp437Glyph(0x00), U' ');
  EXPECT_EQ(Cp437Glyph(0x01), U'\u263A');  // smiley
  EXPECT_EQ(Cp437Glyph(0x07), U'\u2022');  // bullet, not the bell
  EXPECT_EQ(Cp437Glyph(0x0A), U'\u25D9');  // not a line feed
  EXPECT_EQ(Cp437Glyph(0x1B), U'\u2190');  // not ESC
  EXPECT_EQ(Cp437Glyph(0x7F), U'\u2302');  // house
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t glyph = Cp437Glyph(static_cast<uint8_t>(byte));
    EXPECT_TRUE(glyph >= 0x20 && glyph != 0x7F && !(glyph >= 0x80 && glyph < 0xA0))
        << "byte " << byte << " would reach the terminal as a control character";
  }
}

TEST(CodePage437, UpperHalfTurnsBackIntoItsByteWhenTyped) {
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    EXPECT_EQ(Cp437ByteForTypedCharacter(Cp437Glyph(static_cast<uint8_t>(byte))), byte);
  }
  EXPECT_EQ(Cp437ByteForTypedCharacter(U'\u00E9'), 0x82);  // e-acute
  EXPECT_EQ(Cp437ByteForTypedCharacter(U'\u20AC'), -1);    // the euro sign is not there
  EXPECT_EQ(Cp437ByteForTypedCharacter(U'\u263A'), -1);    // typed pictures give no control byte
  EXPECT_EQ(Cp437ByteForTypedCharacter(U'A'), -1);         // ASCII never comes this way
}

TEST(CodePage437, TextBecomesUtf8WithAsciiUnchanged) {
  EXPECT_EQ(Cp437TextToUtf8("caf\x82.txt"), "caf\xC3\xA9.txt");
  EXPECT_EQ(Cp437TextToUtf8(std::string_view("a\x01\x00z", 4)), std::string("a\x01\x00z", 4));
  EXPECT_EQ(Cp437TextToUtf8("\xC9\xCD\xBB"), "\u2554\u2550\u2557");
  EXPECT_EQ(Cp437TextToUtf8("\xFF"), "\xC2\xA0");
}

}  // namespace
}  // namespace console
