// Console line input: reads one line typed at the keyboard with a small line
// editor of its own. Printable bytes are kept and echoed at the cursor,
// Backspace removes the last one, and Enter ends the line with a newline.
// There is no movement within the line and no recall of earlier lines.
#ifndef ZELTO_CONSOLE_LINE_INPUT_H_
#define ZELTO_CONSOLE_LINE_INPUT_H_

#include <cstddef>
#include <string>

namespace console {

/// The most bytes one line holds; further bytes are dropped unseen.
inline constexpr size_t kLineLimit = 10000;

/// Reads one line: the accepted bytes in typing order, without the Enter.
/// When the keyboard is gone the read ends as if Enter had been pressed.
std::string ReadLine();

}  // namespace console

#endif  // ZELTO_CONSOLE_LINE_INPUT_H_
