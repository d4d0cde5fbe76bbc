// The lines of a schedule text file. A date line starts with "[" and holds
// its date in columns 2-9; any other line is a game line with the visitor's
// file name in columns 1-8, the home team's in 10-17 and the options in
// 19-30. Columns count from 1, from the line's first non-blank character.
#ifndef ZELTO_SCHEDULE_SCHEDULE_TEXT_H_
#define ZELTO_SCHEDULE_SCHEDULE_TEXT_H_

#include <string>
#include <string_view>

namespace schedule {

/// The three fields of a game line, each as many of its columns as exist.
struct GameFields {
  std::string_view visitor;  ///< columns 1-8
  std::string_view home;     ///< columns 10-17
  std::string_view options;  ///< columns 19-30
};

/// True for a date line: one whose first character is "[".
bool IsDateLine(std::string_view line);

/// The date of a date line: columns 2-9, padded with spaces to 8 characters,
/// whatever they hold (the closing bracket of a short date included).
std::string DateOf(std::string_view line);

/// The fields of a game line; columns past the line's end read as blanks.
GameFields TakeGameFields(std::string_view line);

/// True for a line that is empty or all spaces.
bool IsBlankLine(std::string_view line);

/// `text` without the spaces at its end: a stored field without its padding.
std::string_view TrimTrailingSpaces(std::string_view text);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_TEXT_H_
