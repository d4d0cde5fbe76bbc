// How the import's messages quote a piece of the user's input: on one line,
// every byte visible, long pieces cut short.
#ifndef ZELTO_TOOL_IMPORT_SHOWN_TEXT_H_
#define ZELTO_TOOL_IMPORT_SHOWN_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tool {

/// Characters of a piece shown before it is cut with "...".
inline constexpr size_t kShownCharacters = 60;

/// `text` in double quotes for a message. Control bytes, NUL, DEL, the C1
/// controls and bytes that are no valid UTF-8 are shown as \xNN, a double
/// quote and a backslash with a backslash before them. A piece of more than
/// 60 characters is cut after 60 with "..." and its full length in bytes:
/// "abc..." (250 bytes).
std::string ShownText(std::string_view text);

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_SHOWN_TEXT_H_
