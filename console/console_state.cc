#include "console/console_state.h"

namespace console {

namespace {

// The only mutable process-wide data of the console.
ConsoleState g_console_state;

}  // namespace

ConsoleState& GetConsoleState() { return g_console_state; }

void SetUpConsole(ConsoleDevice* device) {
  g_console_state = ConsoleState{};
  g_console_state.device = device;

  // Keep the console's own cursor shape when it can be read; a record that
  // cannot be read, or reads as size 0, would later hide the cursor for good
  // once applied, so a plain visible cursor takes its place.
  CursorInfo cursor;
  const bool read = device != nullptr && device->GetCursorInfo(&cursor);
  if (read && cursor.size != 0) {
    g_console_state.cursor = cursor;
  } else {
    g_console_state.cursor = CursorInfo{kFallbackCursorSize, 1};
    if (device != nullptr) device->SetCursorInfo(g_console_state.cursor);
  }

  g_console_state.foreground = 7;
  g_console_state.background = 0;
  g_console_state.pending_wrap = 0;
}

void ResetConsoleStateForTesting() { g_console_state = ConsoleState{}; }

uint16_t ConsoleAttribute() {
  const ConsoleState& state = g_console_state;
  return static_cast<uint16_t>(((state.background & 0x0F) << 4) |
                               (state.foreground & 0x0F));
}

}  // namespace console
