#include "console/key_decoder.h"

#include <vector>

#include <gtest/gtest.h>

namespace console {
namespace {

// The fields line input reads, in one comparable value.
struct Key {
  uint8_t ch;
  uint8_t scan;
  uint32_t state;
  bool operator==(const Key&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Key& key) {
  return os << "{ch " << int(key.ch) << ", scan " << int(key.scan) << ", state " << key.state
            << "}";
}

std::vector<Key> Drain(KeyDecoder* decoder) {
  std::vector<Key> keys;
  for (; decoder->HasRecord(); decoder->Pop()) {
    const InputRecord& r = decoder->Front();
    EXPECT_EQ(r.type, EventType::kKey);
    EXPECT_TRUE(r.key_down);
    keys.push_back({r.ch, r.scan_code, r.control_state});
  }
  return keys;
}

std::vector<Key> Decode(std::string_view bytes) {
  KeyDecoder decoder;
  decoder.Feed(bytes, 0);
  return Drain(&decoder);
}

constexpr uint32_t kCtrl = kLeftCtrlPressed;
constexpr uint32_t kAlt = kLeftAltPressed;
constexpr uint32_t kShift = kShiftPressed;
constexpr uint32_t kEnh = kEnhancedKey;

TEST(KeyDecoder, PrintableCharactersCarryUsScanCodeAndShift) {
  EXPECT_EQ(Decode("aA1! ~z/"),
            (std::vector<Key>{{'a', 0x1E, 0},
                              {'A', 0x1E, kShift},
                              {'1', 0x02, 0},
                              {'!', 0x02, kShift},
                              {' ', 0x39, 0},
                              {'~', 0x29, kShift},
                              {'z', 0x2C, 0},
                              {'/', 0x35, 0}}));
}

TEST(KeyDecoder, ControlBytesBecomeEditingAndCtrlKeys) {
  EXPECT_EQ(Decode("\r\n\x7F\x08\t\x03\x1A\x1C"),
            (std::vector<Key>{{13, 0x1C, 0},     // CR: Enter
                              {10, 0x24, kCtrl},  // LF: Ctrl+J, no Enter
                              {8, 0x0E, 0},      // DEL: Backspace
                              {8, 0x0E, 0},      // BS: Backspace
                              {9, 0x0F, 0},      // Tab
                              {3, 0x2E, kCtrl},  // Ctrl+C arrives as a key
                              {26, 0x2C, kCtrl},
                              {0x1C, 0x2B, kCtrl}}));
}

TEST(KeyDecoder, PastedCrLfIsOneEnterPerLine) {
  EXPECT_EQ(Decode("a\r\nb\r\n"),
            (std::vector<Key>{{'a', 0x1E, 0},
                              {13, 0x1C, 0},
                              {10, 0x24, kCtrl},
                              {'b', 0x30, 0},
                              {13, 0x1C, 0},
                              {10, 0x24, kCtrl}}));
}

TEST(KeyDecoder, LoneEscAfterTimeoutIsEscKey) {
  KeyDecoder decoder;
  decoder.Feed("\x1b", 1000);
  decoder.Expire(1000 + kEscapeTimeoutMs - 1);
  EXPECT_TRUE(Drain(&decoder).empty());
  EXPECT_TRUE(decoder.Pending());
  decoder.Expire(1000 + kEscapeTimeoutMs);
  EXPECT_EQ(Drain(&decoder), (std::vector<Key>{{0x1B, 0x01, 0}}));
  decoder.Feed("x", 2000);  // a later key is plain, not Alt
  EXPECT_EQ(Drain(&decoder), (std::vector<Key>{{'x', 0x2D, 0}}));
}

TEST(KeyDecoder, SequenceSplitAcrossReadsIsOneKey) {
  KeyDecoder decoder;
  decoder.Feed("\x1b", 0);
  decoder.Expire(10);
  decoder.Feed("[1;", 20);
  decoder.Expire(45);  // 25 ms after the last byte: still waiting
  decoder.Feed("5A", 46);
  decoder.Expire(500);
  EXPECT_EQ(Drain(&decoder), (std::vector<Key>{{0, 0x48, kCtrl | kEnh}}));

  decoder.Feed("\xC3", 600);
  decoder.Feed("\xA9", 601);
  EXPECT_EQ(Drain(&decoder), (std::vector<Key>{{0x82, 0, 0}}));
}

TEST(KeyDecoder, CursorAndFunctionKeysAreExtendedWithModifiers) {
  EXPECT_EQ(Decode("\x1b[A\x1bOB\x1b[C\x1b[D\x1b[H\x1bOF"),
            (std::vector<Key>{{0, 0x48, kEnh},
                              {0, 0x50, kEnh},
                              {0, 0x4D, kEnh},
                              {0, 0x4B, kEnh},
                              {0, 0x47, kEnh},
                              {0, 0x4F, kEnh}}));
  EXPECT_EQ(Decode("\x1b[2~\x1b[3;2~\x1b[5~\x1b[6;3~\x1b[1~\x1b[4~"),
            (std::vector<Key>{{0, 0x52, kEnh},
                              {0, 0x53, kShift | kEnh},
                              {0, 0x49, kEnh},
                              {0, 0x51, kAlt | kEnh},
                              {0, 0x47, kEnh},
                              {0, 0x4F, kEnh}}));
  EXPECT_EQ(Decode("\x1bOP\x1b[1;2Q\x1b[15~\x1b[21~\x1b[24;5~\x1b[[A\x1bO5S"),
            (std::vector<Key>{{0, 0x3B, 0},
                              {0, 0x3C, kShift},
                              {0, 0x3F, 0},
                              {0, 0x44, 0},
                              {0, 0x58, kCtrl},
                              {0, 0x3B, 0},
                              {0, 0x3E, kCtrl}}));
  EXPECT_EQ(Decode("\x1b[Z"), (std::vector<Key>{{9, 0x0F, kShift}}));
}

TEST(KeyDecoder, UnknownSequencesAreConsumedWhole) {
  EXPECT_EQ(Decode("\x1b[200~x\x1b[201~"), (std::vector<Key>{{'x', 0x2D, 0}}));
  EXPECT_TRUE(Decode("\x1b[?1;2c\x1b[<0;10;5M\x1b[99~\x1bOz\x1b[I").empty());
  const std::string overlong = "\x1b[" + std::string(40, '1') + "Ab";
  EXPECT_EQ(Decode(overlong), (std::vector<Key>{{'b', 0x30, 0}}));
  // A control byte cuts a sequence short and counts by itself.
  EXPECT_EQ(Decode("\x1b[1;\r"), (std::vector<Key>{{13, 0x1C, 0}}));
}

TEST(KeyDecoder, EscFollowedByKeyIsAlt) {
  EXPECT_EQ(Decode("\x1bx\x1bX\x1b" "1\x1b\x7F"),
            (std::vector<Key>{{'x', 0x2D, kAlt},
                              {'X', 0x2D, kAlt | kShift},
                              {'1', 0x02, kAlt},
                              {8, 0x0E, kAlt}}));
  EXPECT_EQ(Decode("\x1b\x1b[A"), (std::vector<Key>{{0x1B, 0x01, 0}, {0, 0x48, kEnh}}));
  KeyDecoder decoder;
  decoder.Feed("\x1b[", 0);
  decoder.Expire(kEscapeTimeoutMs);  // Alt+[ that no final byte followed
  EXPECT_EQ(Drain(&decoder), (std::vector<Key>{{'[', 0x1A, kAlt}}));
}

TEST(KeyDecoder, Utf8BecomesCodePageByteOrNothing) {
  EXPECT_EQ(Decode("\xC3\xA9\xC3\x89\xE2\x96\x91\xC2\xA0"),  // é É ░ no-break space
            (std::vector<Key>{{0x82, 0, 0}, {0x90, 0, 0}, {0xB0, 0, 0}, {0xFF, 0, 0}}));
  // Euro, a CJK character, an emoji: no byte in the code page, so '?'.
  EXPECT_EQ(Decode("\xE2\x82\xAC\xE6\x97\xA5\xF0\x9F\x98\x80"),
            (std::vector<Key>{{'?', 0x35, kShift}, {'?', 0x35, kShift}, {'?', 0x35, kShift}}));
}

TEST(KeyDecoder, InvalidUtf8IsDropped) {
  EXPECT_EQ(Decode("\xFF" "a\x80" "b"), (std::vector<Key>{{'a', 0x1E, 0}, {'b', 0x30, 0}}));
  EXPECT_EQ(Decode("\xC3("), (std::vector<Key>{{'(', 0x0A, kShift}}));  // broken lead
  EXPECT_TRUE(Decode("\xC0\xAF\xE0\x80\xAF\xED\xA0\x80\xF4\x90\x80\x80").empty());
  KeyDecoder decoder;  // a lead byte left alone times out quietly
  decoder.Feed("\xE2\x96", 0);
  decoder.Expire(kEscapeTimeoutMs);
  decoder.Feed("a", 100);
  EXPECT_EQ(Drain(&decoder), (std::vector<Key>{{'a', 0x1E, 0}}));
}

TEST(KeyDecoder, FlushSettlesPendingEscWhenKeyboardCloses) {
  KeyDecoder decoder;
  decoder.Feed("q\x1b", 0);
  decoder.Flush();
  EXPECT_EQ(Drain(&decoder), (std::vector<Key>{{'q', 0x10, 0}, {0x1B, 0x01, 0}}));
  EXPECT_FALSE(decoder.Pending());
}

}  // namespace
}  // namespace console
