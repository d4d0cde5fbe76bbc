// What the checker says of a game line's columns: names that run into the
// unread columns, a home name out of its columns or missing, a blank inside
// the visitor's name, and text past column 30.
#ifndef ZELTO_TOOL_CHECK_CHECK_COLUMNS_H_
#define ZELTO_TOOL_CHECK_CHECK_COLUMNS_H_

#include <string>
#include <string_view>
#include <vector>

#include "schedule/schedule_text.h"

namespace tool {

/// The finding for the columns of the game line `text` whose fields the
/// build stores as `game`, ending in what is stored; empty when the columns
/// hold what a person sees.
std::string GameLineFinding(std::string_view text, const schedule::GameFields& game);

/// Several things said of one line as one finding: "a; b; c".
std::string JoinNotes(const std::vector<std::string>& notes);

/// The text past column 30 without its trailing blanks; empty when there is
/// none.
std::string TextBeyondLastColumn(std::string_view text);

}  // namespace tool

#endif  // ZELTO_TOOL_CHECK_CHECK_COLUMNS_H_
