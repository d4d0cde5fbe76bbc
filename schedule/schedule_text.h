// The lines of a schedule text file. A date line starts with "[" and holds
// its date in columns 2-9; any other line is a game line with the visitor's
// file name in columns 1-8, the home team's in 10-17 and the options in
// 19-30. Columns count from 1, from the line's first non-blank character.
// The column layout lives here alone: the builder, the checker and the
// text that dump and import write all take it from these constants.
#ifndef ZELTO_SCHEDULE_SCHEDULE_TEXT_H_
#define ZELTO_SCHEDULE_SCHEDULE_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "schedule/schedule_record.h"

namespace schedule {

inline constexpr char kDateLineMark = '[';  ///< the first character of a date line
inline constexpr char kDateLineEnd = ']';   ///< what closes the date, in column 10
inline constexpr size_t kDateColumn = 2;    ///< the date's first column
inline constexpr size_t kDateEndColumn = kDateColumn + kDateWidth;  ///< column 10, the "]"
inline constexpr size_t kVisitorColumn = 1;  ///< the visitor's first column
inline constexpr size_t kHomeColumn = 10;    ///< the home team's first column
inline constexpr size_t kOptionsColumn = 19;  ///< the options' first column
inline constexpr size_t kLastReadColumn = kOptionsColumn + kOptionsWidth - 1;  ///< column 30
/// The blank columns between the fields, which are never read: 9 and 18.
inline constexpr size_t kUnreadColumns[] = {kVisitorColumn + kNameWidth, kHomeColumn + kNameWidth};

/// The three fields of a game line, each as many of its columns as exist.
struct GameFields {
  std::string_view visitor;  ///< columns 1-8
  std::string_view home;     ///< columns 10-17
  std::string_view options;  ///< columns 19-30
};

/// True for a date line: one whose first character is "[".
inline bool IsDateLine(std::string_view line) {
  return !line.empty() && line.front() == kDateLineMark;
}

/// The date of a date line: columns 2-9, padded with spaces to 8 characters,
/// whatever they hold (the closing bracket of a short date included).
std::string DateOf(std::string_view line);

/// Characters `first` to `first + width - 1` (from 1) of the line, as many
/// as exist.
inline std::string_view Columns(std::string_view line, size_t first, size_t width) {
  if (first > line.size()) return {};
  return line.substr(first - 1, width);
}

/// The fields of a game line; columns past the line's end read as blanks.
inline GameFields TakeGameFields(std::string_view line) {
  return GameFields{Columns(line, kVisitorColumn, kNameWidth),
                    Columns(line, kHomeColumn, kNameWidth),
                    Columns(line, kOptionsColumn, kOptionsWidth)};
}

/// True for a line that is empty or all spaces.
inline bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(' ') == std::string_view::npos;
}

/// Why `name` cannot stand as a team file name in a game line, or an empty
/// string when it can: it must be 1 to 8 bytes with no blank, comma, double
/// quote, TAB or other control byte (each would split or shift the line),
/// and must not start with "[" (the line would read as a date line).
std::string TeamNameProblem(std::string_view name);

/// `text` without the spaces at its end: a stored field without its padding.
std::string_view TrimTrailingSpaces(std::string_view text);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_TEXT_H_
