// Console output: the text screen, written cell by cell at the device's
// cursor. No byte is ever treated as a control character, and positions and
// sizes are asked of the device at the moment of each operation, so a buffer
// resized between two operations is used by the next one.
//
// When the device cannot tell its geometry, or reports a buffer with no
// columns or no rows, an operation that needs the geometry does nothing.
#ifndef ZELTO_CONSOLE_CONSOLE_OUTPUT_H_
#define ZELTO_CONSOLE_CONSOLE_OUTPUT_H_

#include <cstdint>
#include <string_view>

namespace console {

/// Cells of the staging area that print text fills one row piece at a time.
inline constexpr int kStagingCells = 256;

/// The most cells that one row piece writes.
inline constexpr int kMaxPieceCells = 255;

/// The cursor position, columns and rows from 0.
struct CursorPosition {
  uint16_t x = 0;  ///< column
  uint16_t y = 0;  ///< row
};

/// The screen buffer's size in cells.
struct BufferSize {
  uint16_t width = 0;   ///< columns
  uint16_t height = 0;  ///< rows
};

/// Blanks the whole screen buffer with spaces in the console attribute and
/// puts the cursor at the top-left cell.
void ClearScreen();

/// Writes `text` byte for byte at the cursor, one cell per byte, wrapping at
/// the right edge and scrolling at the bottom; leaves the cursor after it.
void PrintText(std::string_view text);

/// Writes one byte at the cursor as print text does.
void PrintCharacter(uint8_t ch);

/// Moves the cursor to column 0 of the next row, scrolling on the bottom row.
void PrintNewline();

/// Scrolls the whole buffer up one row; the bottom row becomes blank.
void ScrollUp();

/// Moves the cursor to `column`, `row` counted from 1; a coordinate out of
/// range keeps the current one. Clears pending wrap.
void SetCursor(int32_t column, int32_t row);

/// The cursor position; (0, 0) when the device cannot tell it.
CursorPosition GetCursor();

/// The screen buffer's size; 0 by 0 when the device cannot tell it.
BufferSize GetBufferSize();

/// Hides a visible cursor until restore cursor.
void HideCursorForAWhile();

/// Shows a hidden cursor until restore cursor.
void ShowCursorForAWhile();

/// Applies the cursor record again after a hide or show for a while.
void RestoreCursor();

}  // namespace console

#endif  // ZELTO_CONSOLE_CONSOLE_OUTPUT_H_
