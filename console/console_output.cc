#include "console/console_output.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>

#include "console/console_device.h"
#include "console/console_state.h"

namespace console {

namespace {

// The buffer's size and the cursor, read in one call to the device.
struct Geometry {
  int width = 0;
  int height = 0;
  int x = 0;
  int y = 0;
};

// Reads the geometry. False when the device cannot tell it or the buffer has
// no cells: there is then nowhere to write. A cursor reported outside the
// buffer is brought onto its nearest cell, so that every later computation
// stays inside the buffer.
bool ReadGeometry(ConsoleDevice& device, Geometry* geometry) {
  ScreenInfo info;
  if (!device.GetScreenBufferInfo(&info)) return false;
  if (info.width == 0 || info.height == 0) return false;
  geometry->width = info.width;
  geometry->height = info.height;
  geometry->x = std::min<int>(info.cursor_x, info.width - 1);
  geometry->y = std::min<int>(info.cursor_y, info.height - 1);
  return true;
}

// Applies the cursor record to the device, if there is one.
void ApplyCursorRecord(ConsoleState& state) {
  if (state.device != nullptr) state.device->SetCursorInfo(state.cursor);
}

}  // namespace

void ClearScreen() {
  ConsoleState& state = GetConsoleState();
  // The cursor would otherwise be seen jumping while the buffer is blanked.
  HideCursorForAWhile();
  Geometry geometry;
  if (state.device != nullptr && ReadGeometry(*state.device, &geometry)) {
    // The whole buffer, rows outside the window included. A buffer of more
    // cells than one fill can name is blanked as far as the count reaches.
    const long long cells =
        static_cast<long long>(geometry.width) * geometry.height;
    const int count = static_cast<int>(std::min<long long>(cells, INT_MAX));
    state.device->FillCharacters(' ', count);
    state.device->FillAttributes(ConsoleAttribute(), count);
    SetCursor(1, 1);
  }
  RestoreCursor();
}

void PrintText(std::string_view text) {
  // An empty text must not even move the cursor or touch pending wrap.
  if (text.empty()) return;
  ConsoleState& state = GetConsoleState();
  if (state.device == nullptr) return;
  ConsoleDevice& device = *state.device;

  const uint16_t attribute = ConsoleAttribute();
  Geometry geometry;
  if (!ReadGeometry(device, &geometry)) return;
  const int width = geometry.width;
  const int height = geometry.height;
  int x = geometry.x;
  int y = geometry.y;

  std::array<Cell, kStagingCells> staging;
  size_t next = 0;
  while (next < text.size()) {
    // The row after the bottom-right cell only comes into being now that
    // there is a character to put into it.
    if (state.pending_wrap != 0) {
      state.pending_wrap = 0;
      ScrollUp();
    }
    const size_t piece = std::min<size_t>(
        {text.size() - next, static_cast<size_t>(width - x),
         static_cast<size_t>(kMaxPieceCells)});
    for (size_t i = 0; i < piece; ++i) {
      staging[i].ch = static_cast<uint8_t>(text[next + i]);
      staging[i].attribute = attribute;
    }
    device.WriteCells(x, y, staging.data(), static_cast<int>(piece));
    next += piece;
    x += static_cast<int>(piece);
    if (x == width) {
      x = 0;
      if (y + 1 == height) {
        state.pending_wrap = kPendingWrapSet;
      } else {
        ++y;
      }
    }
  }

  // One cursor move for the whole text; the move clears pending wrap, which
  // must survive it when the text ended in the bottom-right cell.
  const uint8_t pending_wrap = state.pending_wrap;
  SetCursor(x + 1, y + 1);
  state.pending_wrap = pending_wrap;
}

void PrintCharacter(uint8_t ch) {
  const char byte = static_cast<char>(ch);
  PrintText(std::string_view(&byte, 1));
}

void PrintNewline() {
  ConsoleState& state = GetConsoleState();
  if (state.device == nullptr) return;
  Geometry geometry;
  if (!ReadGeometry(*state.device, &geometry)) return;

  if (geometry.y + 1 != geometry.height) {
    SetCursor(1, geometry.y + 2);
    return;
  }
  // On the bottom row. When the last text filled the bottom-right cell the
  // cursor still stands over that text's row, so one scroll only makes the
  // row the text owes; the second gives the new line its own row.
  const bool was_pending = state.pending_wrap != 0;
  state.pending_wrap = 0;
  if (was_pending) ScrollUp();
  ScrollUp();
  SetCursor(1, geometry.height);
}

void ScrollUp() {
  ConsoleState& state = GetConsoleState();
  if (state.device == nullptr) return;
  state.device->ScrollUp(Cell{' ', ConsoleAttribute()});
}

void SetCursor(int32_t column, int32_t row) {
  ConsoleState& state = GetConsoleState();
  if (state.device == nullptr) return;
  Geometry geometry;
  if (!ReadGeometry(*state.device, &geometry)) return;

  if (column < 1 || column > geometry.width) column = geometry.x + 1;
  if (row < 1 || row > geometry.height) row = geometry.y + 1;
  state.device->SetCursorPosition(column - 1, row - 1);
  state.pending_wrap = 0;
  // Moving up gives the console a moment to bring the window along.
  if (geometry.y + 1 > row) {
    state.device->Sleep(1);
    state.device->Sleep(1);
  }
}

CursorPosition GetCursor() {
  ConsoleState& state = GetConsoleState();
  Geometry geometry;
  if (state.device == nullptr || !ReadGeometry(*state.device, &geometry)) {
    return CursorPosition{};
  }
  return CursorPosition{static_cast<uint16_t>(geometry.x),
                        static_cast<uint16_t>(geometry.y)};
}

BufferSize GetBufferSize() {
  ConsoleState& state = GetConsoleState();
  Geometry geometry;
  if (state.device == nullptr || !ReadGeometry(*state.device, &geometry)) {
    return BufferSize{};
  }
  return BufferSize{static_cast<uint16_t>(geometry.width),
                    static_cast<uint16_t>(geometry.height)};
}

void HideCursorForAWhile() {
  ConsoleState& state = GetConsoleState();
  if (state.cursor.visible == 0) return;
  // The record keeps saying visible, so that restore cursor shows it again.
  state.cursor.visible = 0;
  ApplyCursorRecord(state);
  state.cursor.visible = 1;
  state.cursor_restore_pending = 1;
}

void ShowCursorForAWhile() {
  ConsoleState& state = GetConsoleState();
  if (state.cursor.visible != 0) return;
  // The record keeps saying hidden, so that restore cursor hides it again.
  state.cursor.visible = 1;
  ApplyCursorRecord(state);
  state.cursor.visible = 0;
  state.cursor_restore_pending = 1;
}

void RestoreCursor() {
  ConsoleState& state = GetConsoleState();
  if (state.cursor_restore_pending == 0) return;
  ApplyCursorRecord(state);
  state.cursor_restore_pending = 0;
}

}  // namespace console
