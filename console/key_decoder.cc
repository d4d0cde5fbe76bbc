#include "console/key_decoder.h"

#include <charconv>

#include "console/code_page_437.h"

namespace console {
namespace {

constexpr uint8_t kScanSpace = 0x39;
constexpr uint8_t kScanHome = 0x47;
constexpr uint8_t kScanPageUp = 0x49;
constexpr uint8_t kScanBegin = 0x4C;
constexpr uint8_t kScanEnd = 0x4F;
constexpr uint8_t kScanPageDown = 0x51;
constexpr uint8_t kScanInsert = 0x52;
constexpr uint8_t kScanF1 = 0x3B;  // F1-F10 run on: 0x3B-0x44
constexpr uint8_t kScanF11 = 0x57;
constexpr uint8_t kScanF12 = 0x58;

// A parameter string longer than this is no key any terminal sends.
constexpr size_t kMaxSequenceLength = 16;

// The scan code of a key named by the final byte of ESC [ x or ESC O x.
uint8_t ScanForFinalLetter(uint8_t final_byte) {
  switch (final_byte) {
    case 'A': return kScanUp;
    case 'B': return kScanDown;
    case 'C': return kScanRight;
    case 'D': return kScanLeft;
    case 'E': return kScanBegin;
    case 'H': return kScanHome;
    case 'F': return kScanEnd;
    case 'P': return kScanF1;
    case 'Q': return kScanF1 + 1;
    case 'R': return kScanF1 + 2;
    case 'S': return kScanF1 + 3;
    default: return 0;
  }
}

// The scan code of a key sent as ESC [ n ~.
uint8_t ScanForTildeNumber(int number) {
  switch (number) {
    case 1: case 7: return kScanHome;
    case 2: return kScanInsert;
    case 3: return kScanDelete;
    case 4: case 8: return kScanEnd;
    case 5: return kScanPageUp;
    case 6: return kScanPageDown;
    case 23: return kScanF11;
    case 24: return kScanF12;
    default: break;
  }
  if (number >= 11 && number <= 15) return static_cast<uint8_t>(kScanF1 + number - 11);
  if (number >= 17 && number <= 21) return static_cast<uint8_t>(kScanF1 + 5 + number - 17);
  return 0;
}

// The grey keys between the typing keys and the number pad carry the
// enhanced-key flag on the console; function keys and keypad 5 do not.
bool IsEnhanced(uint8_t scan) {
  return scan == kScanUp || scan == kScanDown || scan == kScanLeft || scan == kScanRight ||
         scan == kScanHome || scan == kScanEnd || scan == kScanPageUp ||
         scan == kScanPageDown || scan == kScanInsert || scan == kScanDelete;
}

// The control key state of a modifier parameter (1 + Shift 1 + Alt 2 +
// Ctrl 4 + Meta 8).
uint32_t ModifierState(int parameter) {
  if (parameter < 2 || parameter > 16) return 0;
  const int bits = parameter - 1;
  uint32_t state = 0;
  if (bits & 1) state |= kShiftPressed;
  if (bits & (2 | 8)) state |= kLeftAltPressed;
  if (bits & 4) state |= kLeftCtrlPressed;
  return state;
}

// Splits "n;m" into up to two numbers, an empty one -1 (none given); false
// for anything else (private markers such as '<' or '?', intermediates,
// more parameters).
bool ParseParameters(std::string_view text, int* first, int* second) {
  int values[2] = {-1, -1};
  const size_t semicolon = text.find(';');
  const std::string_view numbers[2] = {
      text.substr(0, semicolon),
      semicolon == std::string_view::npos ? std::string_view{} : text.substr(semicolon + 1)};
  for (int index = 0; index < 2; ++index) {
    const std::string_view number = numbers[index];
    if (number.empty()) continue;
    // Digits alone: an unsigned number takes no sign (nor a second ';').
    unsigned value = 0;
    const char* const end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc{} || stop != end || value > 999) return false;
    values[index] = static_cast<int>(value);
  }
  *first = values[0];
  *second = values[1];
  return true;
}

}  // namespace

void KeyDecoder::Feed(std::string_view bytes, int64_t now_ms) {
  for (char c : bytes) FeedByte(static_cast<uint8_t>(c));
  if (!bytes.empty()) last_byte_ms_ = now_ms;
}

void KeyDecoder::Expire(int64_t now_ms) {
  if (state_ != State::kGround && now_ms - last_byte_ms_ >= kEscapeTimeoutMs) Settle();
}

void KeyDecoder::Flush() {
  if (state_ != State::kGround) Settle();
}

void KeyDecoder::Pop() {
  if (!queue_.empty()) queue_.pop_front();
}

void KeyDecoder::FeedByte(uint8_t byte) {
  switch (state_) {
    case State::kGround: GroundByte(byte); break;
    case State::kEscape: EscapeByte(byte); break;
    case State::kCsi:
    case State::kSs3:
    case State::kLinuxF: SequenceByte(byte); break;
    case State::kUtf8: Utf8Byte(byte); break;
  }
}

void KeyDecoder::GroundByte(uint8_t byte) {
  if (byte == 0x1B) {
    state_ = State::kEscape;
    return;
  }
  if (byte < 0x80) {
    PushAsciiKey(byte, 0);
    return;
  }
  // The lead byte of a UTF-8 character fixes how many bytes follow and the
  // range of the next one; anything else is no character and is dropped.
  utf8_low_ = 0x80;
  utf8_high_ = 0xBF;
  if (byte >= 0xC2 && byte <= 0xDF) {
    utf8_remaining_ = 1;
    utf8_value_ = byte & 0x1F;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    utf8_remaining_ = 2;
    utf8_value_ = byte & 0x0F;
    if (byte == 0xE0) utf8_low_ = 0xA0;   // overlong below U+0800
    if (byte == 0xED) utf8_high_ = 0x9F;  // surrogates
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    utf8_remaining_ = 3;
    utf8_value_ = byte & 0x07;
    if (byte == 0xF0) utf8_low_ = 0x90;   // overlong below U+10000
    if (byte == 0xF4) utf8_high_ = 0x8F;  // beyond U+10FFFF
  } else {
    return;
  }
  state_ = State::kUtf8;
}

void KeyDecoder::EscapeByte(uint8_t byte) {
  if (byte == '[') {
    state_ = State::kCsi;
  } else if (byte == 'O') {
    state_ = State::kSs3;
  } else if (byte == 0x1B) {
    PushKey(0x1B, kScanEsc, 0);  // the first Esc; the second may start a sequence
    return;
  } else if (byte < 0x80) {
    state_ = State::kGround;
    PushAsciiKey(byte, kLeftAltPressed);  // terminals send Alt+key as ESC key
    return;
  } else {
    state_ = State::kGround;
    PushKey(0x1B, kScanEsc, 0);
    GroundByte(byte);
    return;
  }
  sequence_.clear();
  sequence_overlong_ = false;
}

void KeyDecoder::SequenceByte(uint8_t byte) {
  if (state_ == State::kLinuxF) {
    state_ = State::kGround;
    if (byte >= 'A' && byte <= 'E') {
      PushExtendedKey(static_cast<uint8_t>(kScanF1 + byte - 'A'), 0);
    } else if (byte < 0x20 || byte >= 0x80) {
      GroundByte(byte);
    }
    return;
  }
  if (state_ == State::kCsi && sequence_.empty() && !sequence_overlong_ && byte == '[') {
    state_ = State::kLinuxF;
    return;
  }
  if (byte >= 0x20 && byte <= 0x3F) {
    if (sequence_.size() < kMaxSequenceLength) {
      sequence_.push_back(static_cast<char>(byte));
    } else {
      sequence_overlong_ = true;
    }
  } else if (byte >= 0x40 && byte <= 0x7E) {
    FinishSequence(byte);
    state_ = State::kGround;
  } else {
    // A control byte or a non-ASCII byte cuts the sequence short: the
    // sequence is dropped and the byte counts by itself (an ESC starts anew).
    state_ = State::kGround;
    GroundByte(byte);
  }
}

void KeyDecoder::FinishSequence(uint8_t final_byte) {
  int first = -1;
  int second = -1;
  if (sequence_overlong_ || !ParseParameters(sequence_, &first, &second)) return;
  if (state_ == State::kSs3) {
    // Some terminals put the modifier alone in an SS3 sequence: ESC O 5 A.
    const int modifier = second >= 0 ? second : first;
    if (const uint8_t scan = ScanForFinalLetter(final_byte)) {
      PushExtendedKey(scan, ModifierState(modifier));
    }
    return;
  }
  const uint32_t modifiers = ModifierState(second);
  if (final_byte == '~') {
    if (const uint8_t scan = ScanForTildeNumber(first)) PushExtendedKey(scan, modifiers);
  } else if (final_byte == 'Z') {
    PushKey('\t', kScanTab, kShiftPressed | modifiers);
  } else if (const uint8_t scan = ScanForFinalLetter(final_byte)) {
    PushExtendedKey(scan, modifiers);
  }
}

void KeyDecoder::Utf8Byte(uint8_t byte) {
  if (byte < utf8_low_ || byte > utf8_high_) {
    state_ = State::kGround;  // the character is broken: drop what came of it
    GroundByte(byte);
    return;
  }
  utf8_value_ = (utf8_value_ << 6) | (byte & 0x3F);
  utf8_low_ = 0x80;
  utf8_high_ = 0xBF;
  if (--utf8_remaining_ > 0) return;
  state_ = State::kGround;
  const int cp437 = Cp437ByteForTypedCharacter(utf8_value_);
  if (cp437 >= 0) {
    PushKey(static_cast<uint8_t>(cp437), 0, 0);
  } else {
    // A character the code page lacks arrives as '?', as the console gives
    // it: a name typed with it is then refused, never taken as another name.
    PushAsciiKey('?', 0);
  }
}

void KeyDecoder::Settle() {
  const State state = state_;
  state_ = State::kGround;
  if (state == State::kEscape) {
    PushKey(0x1B, kScanEsc, 0);
  } else if (state == State::kCsi && sequence_.empty() && !sequence_overlong_) {
    PushAsciiKey('[', kLeftAltPressed);
  } else if (state == State::kSs3 && sequence_.empty() && !sequence_overlong_) {
    PushAsciiKey('O', kLeftAltPressed);
  }
  // A sequence cut off in its parameters, or a broken UTF-8 character, is
  // dropped.
}

void KeyDecoder::PushKey(uint8_t ch, uint8_t scan, uint32_t control_state) {
  InputRecord record;
  record.type = EventType::kKey;
  record.key_down = true;
  record.repeat_count = 1;
  record.scan_code = scan;
  record.ch = ch;
  record.control_state = control_state;
  queue_.push_back(record);
}

void KeyDecoder::PushAsciiKey(uint8_t byte, uint32_t extra_state) {
  switch (byte) {
    case '\r':  // Enter and Ctrl+M; a line feed (Ctrl+J, or the LF of a
                // pasted CR LF) is Ctrl+J below and adds nothing
      PushKey('\r', kScanEnter, extra_state);
      return;
    case 0x08:  // Ctrl+H, and Backspace on some terminals
    case 0x7F:  // Backspace on most terminals
      PushKey(0x08, kScanBackspace, extra_state);
      return;
    case '\t':
      PushKey('\t', kScanTab, extra_state);
      return;
    case 0x00:  // Ctrl+Space (Ctrl+@)
      PushKey(0, kScanSpace, extra_state | kLeftCtrlPressed);
      return;
    default:
      break;
  }
  bool shifted = false;
  if (byte < 0x20) {
    // Ctrl+letter gives 0x01-0x1A; 0x1C-0x1F are Ctrl with \ ] ^ _, the last
    // two typed as Ctrl+6 and Ctrl+- on a US keyboard.
    static constexpr std::string_view kCtrlKeys = "\\]6-";
    const uint8_t key = byte <= 0x1A ? static_cast<uint8_t>('a' + byte - 1)
                                     : static_cast<uint8_t>(kCtrlKeys[byte - 0x1C]);
    PushKey(byte, ScanCodeForCharacter(key, &shifted), extra_state | kLeftCtrlPressed);
    return;
  }
  const uint8_t scan = ScanCodeForCharacter(byte, &shifted);
  PushKey(byte, scan, extra_state | (shifted ? kShiftPressed : 0));
}

void KeyDecoder::PushExtendedKey(uint8_t scan, uint32_t control_state) {
  PushKey(0, scan, control_state | (IsEnhanced(scan) ? kEnhancedKey : 0));
}

}  // namespace console
