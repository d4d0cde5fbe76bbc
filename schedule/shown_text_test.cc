// Input quoted in messages: every byte visible, long pieces cut.
#include "schedule/shown_text.h"

#include <gtest/gtest.h>

#include <string>

namespace schedule {
namespace {

TEST(ShownText, EveryByteVisibleAndLongPiecesCut) {
  EXPECT_EQ(Quoted("NY1"), "\"NY1\"");
  EXPECT_EQ(Quoted(std::string("a\x1B\0\x7F" "b", 5)), "\"a\\x1B\\x00\\x7Fb\"");
  EXPECT_EQ(Quoted("say \"x\\y\""), "\"say \\\"x\\\\y\\\"\"");
  EXPECT_EQ(Quoted("Montr\xC3\xA9" "al"), "\"Montr\xC3\xA9" "al\"");  // valid UTF-8 stays
  EXPECT_EQ(Quoted("a\xC3(\xFF\xC2\x85"), "\"a\\xC3(\\xFF\\xC2\\x85\"");  // invalid, a C1 control
  EXPECT_EQ(Quoted("\xE0\x80\xAF\xED\xA0\x80"), "\"\\xE0\\x80\\xAF\\xED\\xA0\\x80\"");  // overlong, surrogate
  std::string long_text(250, 'x');
  EXPECT_EQ(Quoted(long_text), "\"" + std::string(60, 'x') + "...\" (250 bytes)");
  EXPECT_EQ(Quoted(std::string(60, 'x')), "\"" + std::string(60, 'x') + "\"");
  // An escaped byte counts as one character of the 60, as a plain one does.
  EXPECT_EQ(Quoted("\x01" + std::string(70, 'x')),
            "\"\\x01" + std::string(59, 'x') + "...\" (71 bytes)");
  EXPECT_EQ(Quoted(std::string(59, 'x') + "\"y"), "\"" + std::string(59, 'x') + "\\\"...\" (61 bytes)");
  // Characters, not bytes, are counted: 61 two-byte letters are cut after 60.
  std::string wide;
  for (int i = 0; i < 61; ++i) wide += "\xC3\xA9";
  EXPECT_EQ(Quoted(wide), "\"" + wide.substr(0, 120) + "...\" (122 bytes)");
}

TEST(ShownText, EscapedKeepsEveryCharacterAndCutsNothing) {
  EXPECT_EQ(Escaped("a\x1b[2J\"q\"\\"), "a\\x1B[2J\"q\"\\\\");
  EXPECT_EQ(Escaped(std::string(300, 'x')), std::string(300, 'x'));
  EXPECT_EQ(Escaped("caf\xC3\xA9 \xFF"), "caf\xC3\xA9 \\xFF");
}

}  // namespace
}  // namespace schedule
