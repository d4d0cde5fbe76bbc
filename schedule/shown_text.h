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

/// The characters of `text` as a UTF-8 editor counts them: a byte that is
/// no valid UTF-8 counts as one.
size_t CharacterCount(std::string_view text);

/// The cells a terminal gives `text`: one a character, two for an East
/// Asian wide or full-width one, one for a byte that is no valid UTF-8.
size_t DisplayWidth(std::string_view text);

/// True when the last bytes of `text` begin a UTF-8 character that its end
/// cuts short: a field of fixed width cut a name inside a character.
bool EndsInsideCharacter(std::string_view text);

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
