#include "console/line_input.h"

#include <array>
#include <cstdint>
#include <optional>

#include "console/console_output.h"
#include "console/console_state.h"
#include "console/key_records.h"

namespace console {

namespace {

constexpr uint8_t kBackspace = 8;
constexpr uint8_t kEnter = 13;
constexpr uint8_t kFirstPrintable = 0x20;

// Moves the cursor back one cell: to the last cell of the row above from
// column 0, and to the bottom-right cell while pending wrap is set. Clears
// pending wrap and never scrolls.
void BackOneCell() {
  ConsoleState& state = GetConsoleState();
  const bool was_pending = state.pending_wrap != 0;
  state.pending_wrap = 0;
  if (was_pending) {
    // The last echo filled the bottom-right cell; the cursor stands at
    // column 0 of the bottom row, over that echo's own row.
    const BufferSize size = GetBufferSize();
    SetCursor(size.width, size.height);
    return;
  }
  const CursorPosition cursor = GetCursor();
  if (cursor.x == 0) {
    // The last cell of the row above; on the top row there is none above,
    // so the row (given as 0) stays and the cursor goes to its last cell.
    SetCursor(GetBufferSize().width, cursor.y);
  } else {
    SetCursor(cursor.x, cursor.y + 1);
  }
}

}  // namespace

std::string ReadLine() {
  // A cursor hidden since start-up shows while the user types.
  ShowCursorForAWhile();

  // Typing allocates nothing: the line lives here until Enter.
  std::array<char, kLineLimit> line;
  size_t count = 0;

  for (;;) {
    // A keyboard that is gone ends the line as Enter would, so that a read
    // never waits for keys that cannot come.
    const std::optional<uint8_t> next = WaitForCharacter();
    const uint8_t c = next.value_or(kEnter);

    if (c == kBackspace) {
      if (count == 0) continue;  // the prompt before the line stays
      BackOneCell();
      PrintCharacter(' ');
      BackOneCell();
      --count;
      continue;
    }
    if (c == kEnter) {
      PrintNewline();
      std::string result(line.data(), count);
      RestoreCursor();
      return result;
    }
    if (c < kFirstPrintable) continue;
    if (count == kLineLimit) continue;
    line[count] = static_cast<char>(c);
    PrintCharacter(c);
    ++count;
  }
}

}  // namespace console
