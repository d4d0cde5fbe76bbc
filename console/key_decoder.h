// The key decoder: turns the bytes that a terminal sends for typed keys into
// the key records that line input reads, as the console's input queue would
// hold them. It is a pure part (bytes in, records out, the time passed in), so
// that split reads and the Esc timeout can be tested without a terminal.
//
// Key sequences recognised (ESC is the byte 0x1B; "m" is an optional modifier
// parameter 2-16: 1 + Shift 1 + Alt 2 + Ctrl 4 + Meta 8, Meta taken as Alt):
//   Sequence                 Key                          Scan code
//   ESC [ A / ESC O A        Up (ESC [ 1 ; m A)           0x48
//   ESC [ B / ESC O B        Down                         0x50
//   ESC [ C / ESC O C        Right                        0x4D
//   ESC [ D / ESC O D        Left                         0x4B
//   ESC [ E / ESC O E        keypad 5 (Begin)             0x4C
//   ESC [ H / ESC O H        Home                         0x47
//   ESC [ F / ESC O F        End                          0x4F
//   ESC [ P..S / ESC O P..S  F1..F4 (ESC [ 1 ; m P)       0x3B..0x3E
//   ESC [ Z                  Shift+Tab                    0x0F (ch 9)
//   ESC [ 1 ~ / ESC [ 7 ~    Home                         0x47
//   ESC [ 2 ~                Insert (ESC [ 2 ; m ~)       0x52
//   ESC [ 3 ~                Delete                       0x53
//   ESC [ 4 ~ / ESC [ 8 ~    End                          0x4F
//   ESC [ 5 ~                Page Up                      0x49
//   ESC [ 6 ~                Page Down                    0x51
//   ESC [ 11..15 ~           F1..F5                       0x3B..0x3F
//   ESC [ 17..21 ~           F6..F10                      0x40..0x44
//   ESC [ 23 ~ / 24 ~        F11 / F12                    0x57 / 0x58
//   ESC [ [ A..E             F1..F5 (Linux console)       0x3B..0x3F
// Any other sequence ESC [ <bytes 0x20-0x3F> <final 0x40-0x7E>, or ESC O with
// the same shape, is consumed to its final byte and dropped, so that no piece
// of it ever arrives as typed text.
//   ESC alone (nothing within kEscapeTimeoutMs)   Esc, ch 0x1B, scan 0x01
//   ESC ESC                                       Esc, then a new ESC
//   ESC <byte 0x00-0x7F, not [ or O>              that key with Left Alt
//   ESC [ or ESC O alone (timed out)              Alt+[ or Alt+Shift+O
// Single bytes:
//   CR (0x0D)                  Enter (and Ctrl+M), ch 13, scan 0x1C
//   LF (0x0A)                  Ctrl+J, ch 10: no Enter, so a pasted CR LF is
//                              one Enter and line input adds nothing for it
//   DEL (0x7F), BS (0x08)      Backspace, ch 8, scan 0x0E
//   HT (0x09)                  Tab, ch 9, scan 0x0F
//   0x01-0x1A, 0x1C-0x1F, 0x00 Ctrl with a letter (or \ ] 6 - Space), Left Ctrl
//   0x20-0x7E                  the US-layout key, Shift for shifted characters
//   UTF-8 sequences            the code page 437 byte (scan 0) if there is
//                              one, else '?' (scan 0x35, Shift); invalid
//                              UTF-8 is dropped
#ifndef ZELTO_CONSOLE_KEY_DECODER_H_
#define ZELTO_CONSOLE_KEY_DECODER_H_

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "console/console_device.h"
#include "console/us_keyboard.h"

namespace console {

/// How long an Esc waits for the rest of a key sequence before it counts as
/// the Esc key; terminals send a whole sequence in one write, far faster.
inline constexpr int64_t kEscapeTimeoutMs = 30;

/// Set-1 scan codes of the keys that the decoder produces by name.
inline constexpr uint8_t kScanEsc = 0x01;
inline constexpr uint8_t kScanBackspace = 0x0E;
inline constexpr uint8_t kScanTab = 0x0F;
inline constexpr uint8_t kScanEnter = 0x1C;
inline constexpr uint8_t kScanUp = 0x48;
inline constexpr uint8_t kScanDown = 0x50;
inline constexpr uint8_t kScanLeft = 0x4B;
inline constexpr uint8_t kScanRight = 0x4D;
inline constexpr uint8_t kScanDelete = 0x53;

/// Decodes terminal key bytes into key-down records (no key-up records are
/// made; line input skips them anyway).
class KeyDecoder {
 public:
  /// Decodes `bytes`, read from the terminal at `now_ms` (any monotonic
  /// millisecond clock). A sequence may stop anywhere and go on in the next
  /// call.
  void Feed(std::string_view bytes, int64_t now_ms);

  /// Settles a sequence that has waited kEscapeTimeoutMs since its last byte:
  /// a lone ESC becomes the Esc key, an unfinished sequence is dropped. Call
  /// it only after a read found no more bytes waiting, so that a sequence
  /// still in the terminal's queue is never cut.
  void Expire(int64_t now_ms);

  /// Settles any unfinished sequence at once: the keyboard has gone.
  void Flush();

  /// Whether a record is waiting.
  bool HasRecord() const { return !queue_.empty(); }

  /// The oldest waiting record; only when HasRecord().
  const InputRecord& Front() const { return queue_.front(); }

  /// Removes the oldest waiting record, if any.
  void Pop();

  /// Whether part of a sequence has been read and waits for the rest.
  bool Pending() const { return state_ != State::kGround; }

 private:
  /// Where in a key sequence the bytes read so far have left off.
  enum class State : uint8_t { kGround, kEscape, kCsi, kSs3, kLinuxF, kUtf8 };

  /// Takes one byte in the present state.
  void FeedByte(uint8_t byte);
  /// A byte outside any sequence.
  void GroundByte(uint8_t byte);
  /// The byte after an ESC.
  void EscapeByte(uint8_t byte);
  /// A byte of an ESC [ or ESC O sequence.
  void SequenceByte(uint8_t byte);
  /// A continuation byte of a UTF-8 character.
  void Utf8Byte(uint8_t byte);
  /// Ends the pending sequence as what it can still mean.
  void Settle();
  /// Turns a complete ESC [ or ESC O sequence into its key, if any.
  void FinishSequence(uint8_t final_byte);
  /// Queues one key-down record.
  void PushKey(uint8_t ch, uint8_t scan, uint32_t control_state);
  /// Queues the key that sends a single byte below 0x80.
  void PushAsciiKey(uint8_t byte, uint32_t extra_state);
  /// Queues a key without a character (arrows, function keys).
  void PushExtendedKey(uint8_t scan, uint32_t control_state);

  State state_ = State::kGround;
  std::string sequence_;         // parameter bytes of an ESC [ or ESC O sequence
  bool sequence_overlong_ = false;  // too long to mean a key: drop at the end
  char32_t utf8_value_ = 0;      // code point gathered so far
  int utf8_remaining_ = 0;       // continuation bytes still to come
  uint8_t utf8_low_ = 0x80;      // bounds of the next continuation byte, which
  uint8_t utf8_high_ = 0xBF;     // also shut out overlong forms and surrogates
  int64_t last_byte_ms_ = 0;     // when the pending sequence last grew
  std::deque<InputRecord> queue_;
};

}  // namespace console

#endif  // ZELTO_CONSOLE_KEY_DECODER_H_
