// The terminal contract: every byte sequence the terminal device sends, named
// once. The cell grid's renderer (terminal_grid.cc) and the terminal session
// (terminal_session_posix.cc) send these and no other control bytes; the keys
// the terminal sends back are listed in key_decoder.h.
//
// ESC is 0x1B, CAN is 0x18; n and m are decimal numbers.
//   Sequence: ESC [ ? 7 l           (DECAWM off)
//   Effect:   autowrap off, from the start of the session and again after a
//             stop: a cell written into the last column never moves the
//             cursor to a new row, so the terminal never wraps or scrolls by
//             itself.
//   Sequence: ESC [ ? 7 h           (DECAWM on)
//   Effect:   autowrap on again: at the end, before a stop, from a fatal
//             signal.
//   Sequence: ESC [ n ; m H         (CUP)
//   Effect:   cursor to row n, column m (from 1) of the window: before each
//             run of cells, for the cursor's final place, and for the fresh
//             line a fatal signal or a stop leaves.
//   Sequence: LF (0x0A)
//   Effect:   sent on the bottom row while the window shows the whole
//             screen buffer: scrolls the picture up one row (the console's
//             scroll), handing the top row to the terminal's scrollback.
//   Sequence: CR LF
//   Effect:   a fresh line below the dialogue before a fatal signal's
//             default action or a stop, so that what the shell prints next
//             ("Terminated", "Stopped") starts on a line of its own.
//   Sequence: ESC [ 0 m             (SGR 0)
//   Effect:   attribute 0x07, the terminal's plain colours; also given back
//             at the end.
//   Sequence: ESC [ 0 ; 4 ; 7 ; f ; b m   (SGR colours, ;4 and ;7 optional)
//   Effect:   any other attribute: f 30-37 or 90-97, b 40-47 or 100-107; ;4
//             (underscore) and ;7 (reverse video) for the console's extra bits.
//   Sequence: ESC [ ? 25 l / ESC [ ? 25 h   (DECTCEM off / on)
//   Effect:   hide / show the cursor; shown again at the end.
//   Sequence: CAN (0x18)
//   Effect:   only from a signal handler, first: ends any sequence that the
//             interrupted write had begun, so the bytes after it are read as
//             meant.
// Cell bytes never go out as they are: each is the UTF-8 form of its code
// page 437 glyph (code_page_437.h), so no byte from a cell is a control byte.
#ifndef ZELTO_CONSOLE_TERMINAL_SEQUENCES_H_
#define ZELTO_CONSOLE_TERMINAL_SEQUENCES_H_

#include <array>
#include <cstddef>
#include <string_view>

namespace console {

/// The control sequence introducer, ESC [, that CUP and SGR start with.
inline constexpr char kCsi[] = "\x1b[";
/// Final byte of CUP (cursor position).
inline constexpr char kCursorPositionFinal = 'H';
/// Separator of two parameters.
inline constexpr char kParameterSeparator = ';';
/// Final byte of SGR (select graphic rendition).
inline constexpr char kSgrFinal = 'm';
/// SGR's start for a coloured attribute: reset, then the parameters follow.
inline constexpr char kSgrColourStart[] = "\x1b[0";
/// SGR parameter for the underscore bit.
inline constexpr char kSgrUnderscore[] = ";4";
/// SGR parameter for the reverse-video bit.
inline constexpr char kSgrReverse[] = ";7";
/// SGR 0: plain colours, attribute 0x07.
inline constexpr char kSgrReset[] = "\x1b[0m";
/// DECAWM off: autowrap off.
inline constexpr char kAutowrapOff[] = "\x1b[?7l";
/// DECAWM on: autowrap on.
inline constexpr char kAutowrapOn[] = "\x1b[?7h";
/// DECTCEM off: hide the cursor.
inline constexpr char kCursorHide[] = "\x1b[?25l";
/// DECTCEM on: show the cursor.
inline constexpr char kCursorShow[] = "\x1b[?25h";
/// LF: on the bottom row, scrolls the picture up one row.
inline constexpr char kLineFeed = '\n';
/// CR LF: a fresh line below where the cursor stands.
inline constexpr char kFreshLine[] = "\r\n";
/// CAN: ends an escape sequence that an interrupted write had begun.
inline constexpr char kCancel[] = "\x18";

/// The sequences in `parts`, joined at compile time into one array with its
/// terminating zero, so that the end of a session gives the terminal back
/// with one write.
template <size_t... N>
constexpr std::array<char, (N + ...) - sizeof...(N) + 1> JoinSequences(const char (&... parts)[N]) {
  std::array<char, (N + ...) - sizeof...(N) + 1> joined = {};
  size_t at = 0;
  auto append = [&](const char* part, size_t size) {
    for (size_t i = 0; i + 1 < size; ++i) joined[at++] = part[i];
  };
  (append(parts, N), ...);
  return joined;
}

/// What gives the terminal back: plain colours, cursor shown, autowrap on. A
/// signal handler gives it back with CAN first and the cursor on a fresh
/// line, and builds those bytes itself (terminal_session_posix.cc).
inline constexpr auto kGiveBack = JoinSequences(kSgrReset, kCursorShow, kAutowrapOn);

/// The bytes of a joined sequence, without its terminating zero.
template <size_t N>
constexpr std::string_view SequenceBytes(const std::array<char, N>& joined) {
  return std::string_view(joined.data(), N - 1);
}

}  // namespace console

#endif  // ZELTO_CONSOLE_TERMINAL_SEQUENCES_H_
