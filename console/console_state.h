// The console state: the one process-wide record that console output owns
// and console line input shares. It holds the device that every console call
// goes to, the pending-wrap flag, the two colours, and the cursor record with
// its restore flag. No position is kept here: the device's cursor is the one
// record of where the next character goes.
#ifndef ZELTO_CONSOLE_CONSOLE_STATE_H_
#define ZELTO_CONSOLE_CONSOLE_STATE_H_

#include <cstdint>

#include "console/console_device.h"

namespace console {

/// Value of pending wrap while it is set; 0 means clear.
inline constexpr uint8_t kPendingWrapSet = 0xFF;

/// Cursor size used when the console's own cursor record cannot be read.
inline constexpr uint32_t kFallbackCursorSize = 10;

/// The process-wide console state record.
struct ConsoleState {
  ConsoleDevice* device = nullptr;  ///< where all console calls go; none before set-up
  uint8_t pending_wrap = 0;         ///< 0 clear, kPendingWrapSet set
  uint32_t foreground = 7;          ///< colour of the characters, 0 to 15
  uint32_t background = 0;          ///< colour behind the characters, 0 to 15
  CursorInfo cursor;                ///< the cursor record as last read or applied
  uint32_t cursor_restore_pending = 0;  ///< restore cursor must apply the record again
};

/// The process's console state record.
ConsoleState& GetConsoleState();

/// Start-up set-up of the console: takes `device` for all console calls,
/// reads the cursor record (falling back to size 10, visible, applied to the
/// device) and gives the state its initial values.
void SetUpConsole(ConsoleDevice* device);

/// Puts the console state back as it is before set-up (no device); for tests.
void ResetConsoleStateForTesting();

/// The attribute of every cell that console output writes, fills or scrolls
/// in: background * 16 + foreground.
uint16_t ConsoleAttribute();

}  // namespace console

#endif  // ZELTO_CONSOLE_CONSOLE_STATE_H_
