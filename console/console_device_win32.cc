#include "console/console_device_win32.h"

#include <algorithm>
#include <array>

namespace console {

namespace {

// One WriteConsoleOutputA call takes at most this many cells, as console
// output's staging area holds (a longer call is split, never sent whole).
constexpr int kMaxCellsPerWrite = 255;

// Console coordinates are SHORTs: nothing beyond this column or row exists.
constexpr int kMaxCoordinate = 0x7FFF;

COORD Coord(int x, int y) {
  return COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)};
}

CHAR_INFO CharInfo(Cell cell) {
  CHAR_INFO info = {};
  info.Char.AsciiChar = static_cast<CHAR>(cell.ch);
  info.Attributes = cell.attribute;
  return info;
}

EventType EventTypeOf(WORD event_type) {
  switch (event_type) {
    case KEY_EVENT:
      return EventType::kKey;
    case MOUSE_EVENT:
      return EventType::kMouse;
    case WINDOW_BUFFER_SIZE_EVENT:
      return EventType::kWindowSize;
    case FOCUS_EVENT:
      return EventType::kFocus;
    default:
      // MENU_EVENT, and any kind a later console may add: skipped like
      // every record that is not a key event.
      return EventType::kMenu;
  }
}

bool ReadCursorInfo(HANDLE handle, CursorInfo* info) {
  CONSOLE_CURSOR_INFO console_info = {};
  if (!GetConsoleCursorInfo(handle, &console_info) || console_info.dwSize == 0) {
    return false;
  }
  info->size = console_info.dwSize;
  info->visible = console_info.bVisible ? 1 : 0;
  return true;
}

}  // namespace

InputRecord InputRecordFromConsole(const INPUT_RECORD& record) {
  InputRecord result;
  result.type = EventTypeOf(record.EventType);
  if (result.type != EventType::kKey) {
    result.key_down = false;
    result.repeat_count = 0;
    return result;
  }
  const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  result.key_down = key.bKeyDown != FALSE;
  result.repeat_count = key.wRepeatCount;
  // Only the low byte of the scan code tells the keys apart for line input.
  result.scan_code = static_cast<uint8_t>(key.wVirtualScanCode & 0xFF);
  result.ch = static_cast<uint8_t>(key.uChar.AsciiChar);
  result.control_state = key.dwControlKeyState;
  return result;
}

Win32ConsoleDevice::Win32ConsoleDevice(const Win32ConsoleHandles& handles)
    : handles_(handles) {}

bool Win32ConsoleDevice::GetScreenBufferInfo(ScreenInfo* info) {
  CONSOLE_SCREEN_BUFFER_INFO console_info = {};
  if (!GetConsoleScreenBufferInfo(handles_.output, &console_info)) return false;
  // dwSize is the whole buffer; the window (srWindow) plays no part.
  // A console never reports negative values; should one, it counts as an
  // empty buffer, on which console output writes nothing.
  info->width = static_cast<uint16_t>(std::max<SHORT>(console_info.dwSize.X, 0));
  info->height = static_cast<uint16_t>(std::max<SHORT>(console_info.dwSize.Y, 0));
  info->cursor_x = static_cast<uint16_t>(std::max<SHORT>(console_info.dwCursorPosition.X, 0));
  info->cursor_y = static_cast<uint16_t>(std::max<SHORT>(console_info.dwCursorPosition.Y, 0));
  return true;
}

void Win32ConsoleDevice::WriteCells(int x, int y, const Cell* cells, int count) {
  if (cells == nullptr || count <= 0 || y < 0 || y > kMaxCoordinate) return;
  // Cells left of column 0 do not exist; the console clips the right end
  // of the target rectangle to the buffer by itself.
  if (x < 0) {
    if (count <= -x) return;
    cells += -x;
    count += x;
    x = 0;
  }
  std::array<CHAR_INFO, kMaxCellsPerWrite> staging;
  while (count > 0 && x <= kMaxCoordinate) {
    const int piece = std::min({count, kMaxCellsPerWrite, kMaxCoordinate - x + 1});
    for (int i = 0; i < piece; ++i) staging[i] = CharInfo(cells[i]);
    // Source: `piece` columns by one row, read from its cell (0, 0).
    // Target: row y, columns x to x + piece - 1.
    SMALL_RECT target = {static_cast<SHORT>(x), static_cast<SHORT>(y),
                         static_cast<SHORT>(x + piece - 1), static_cast<SHORT>(y)};
    WriteConsoleOutputA(handles_.output, staging.data(), Coord(piece, 1), Coord(0, 0), &target);
    cells += piece;
    count -= piece;
    x += piece;
  }
}

void Win32ConsoleDevice::ScrollUp(Cell fill) {
  CONSOLE_SCREEN_BUFFER_INFO console_info = {};
  if (!GetConsoleScreenBufferInfo(handles_.output, &console_info)) return;
  const SHORT width = console_info.dwSize.X;
  const SHORT height = console_info.dwSize.Y;
  if (width <= 0 || height <= 0) return;
  // Rows 1..H-1 move to 0..H-2; the rows the move leaves behind (the bottom
  // one) take the fill cell. A buffer of one row has nothing to move: the
  // call then blanks nothing, so the one row is blanked by a write.
  if (height == 1) {
    DWORD written = 0;
    FillConsoleOutputCharacterA(handles_.output, static_cast<CHAR>(fill.ch),
                                static_cast<DWORD>(width), Coord(0, 0), &written);
    FillConsoleOutputAttribute(handles_.output, fill.attribute,
                               static_cast<DWORD>(width), Coord(0, 0), &written);
    return;
  }
  const SMALL_RECT scroll = {0, 1, static_cast<SHORT>(width - 1), static_cast<SHORT>(height - 1)};
  const CHAR_INFO fill_cell = CharInfo(fill);
  ScrollConsoleScreenBufferA(handles_.output, &scroll, nullptr, Coord(0, 0), &fill_cell);
}

void Win32ConsoleDevice::SetCursorPosition(int x, int y) {
  if (x < 0 || y < 0 || x > kMaxCoordinate || y > kMaxCoordinate) return;
  // The console itself refuses a position outside the buffer, and moves
  // its window so that the cursor shows.
  SetConsoleCursorPosition(handles_.output, Coord(x, y));
}

void Win32ConsoleDevice::FillCharacters(uint8_t ch, int count) {
  if (count <= 0) return;
  DWORD written = 0;
  FillConsoleOutputCharacterA(handles_.output, static_cast<CHAR>(ch),
                              static_cast<DWORD>(count), Coord(0, 0), &written);
}

void Win32ConsoleDevice::FillAttributes(uint16_t attribute, int count) {
  if (count <= 0) return;
  DWORD written = 0;
  FillConsoleOutputAttribute(handles_.output, attribute, static_cast<DWORD>(count),
                             Coord(0, 0), &written);
}

bool Win32ConsoleDevice::GetCursorInfo(CursorInfo* info) {
  // The output handle first; standard output's record when that fails or
  // gives size 0 (a record of size 0 would hide the cursor once applied).
  if (ReadCursorInfo(handles_.output, info)) return true;
  return ReadCursorInfo(handles_.standard_output, info);
}

void Win32ConsoleDevice::SetCursorInfo(const CursorInfo& info) {
  CONSOLE_CURSOR_INFO console_info = {};
  console_info.dwSize = info.size;
  console_info.bVisible = info.visible != 0 ? TRUE : FALSE;
  SetConsoleCursorInfo(handles_.output, &console_info);
}

PeekResult Win32ConsoleDevice::PeekInput(InputRecord* record) {
  // With no console input buffer every look would fail for ever and a read
  // would never end: the keyboard counts as gone.
  if (!IsUsable(handles_.keyboard)) return PeekResult::kClosed;
  INPUT_RECORD console_record = {};
  DWORD read = 0;
  // A failed look counts as an empty queue: the wait goes on.
  if (!PeekConsoleInputA(handles_.keyboard, &console_record, 1, &read) || read == 0) {
    return PeekResult::kEmpty;
  }
  *record = InputRecordFromConsole(console_record);
  return PeekResult::kRecord;
}

void Win32ConsoleDevice::TakeInput() {
  if (!IsUsable(handles_.keyboard)) return;
  // ReadConsoleInputA waits for a record when the queue is empty; taking is
  // only ever meant for a record already looked at, so it must not wait.
  DWORD waiting = 0;
  if (!GetNumberOfConsoleInputEvents(handles_.keyboard, &waiting) || waiting == 0) return;
  INPUT_RECORD console_record = {};
  DWORD read = 0;
  ReadConsoleInputA(handles_.keyboard, &console_record, 1, &read);
}

void Win32ConsoleDevice::Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

}  // namespace console
