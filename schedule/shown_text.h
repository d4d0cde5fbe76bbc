// Input quoted in a message. A schedule text can hold any byte, and a
// message goes to a terminal: a control byte there would move the cursor or
// set the window's title, a NUL would end the message early and a line of
// a hundred megabytes would bury every other. So every piece of input a
// message shows goes through here.
#ifndef ZELTO_SCHEDULE_SHOWN_TEXT_H_
#define ZELTO_SCHEDULE_SHOWN_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace schedule {

/// How many characters of a piece of input a message shows before it cuts.
inline constexpr size_t kShownCharacters = 60;

/// The length of the UTF-8 character at `at` of `text`, or 0 when the bytes
/// there are no valid UTF-8 (overlong forms, surrogates and what lies past
/// U+10FFFF included). The one reading of UTF-8: what a message shows and
/// what a display name may hold.
size_t CharacterLength(std::string_view text, size_t at);

/// `text` in double quotes, safe for a terminal: control bytes, NUL, DEL,
/// the C1 controls and bytes that are no valid UTF-8 shown as \xNN, a double
/// quote and a backslash with a backslash before them. A piece of more than
/// kShownCharacters characters is cut after that many with "..." and its
/// full length in bytes: "abc..." (250 bytes).
std::string Quoted(std::string_view text);

/// `text` as it stands, safe for a terminal and never cut: control bytes,
/// NUL, DEL, the C1 controls and bytes that are no valid UTF-8 shown as
/// \xNN, a backslash as two. For the listing of a schedule file's names.
std::string Escaped(std::string_view text);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SHOWN_TEXT_H_
