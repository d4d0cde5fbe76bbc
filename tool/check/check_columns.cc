#include "tool/check/check_columns.h"

#include <utility>
#include <vector>

#include "schedule/messages.h"
#include "schedule/shown_text.h"

namespace tool {

using schedule::GameFields;
using schedule::Quoted;
using schedule::TrimTrailingSpaces;
using schedule::kHomeColumn;
using schedule::kLastReadColumn;
using schedule::kNameWidth;
using schedule::kUnreadColumns;
using schedule::kVisitorColumn;

namespace {

constexpr size_t kVisitorEnd = kVisitorColumn + kNameWidth - 1;  // column 8
constexpr size_t kHomeEnd = kHomeColumn + kNameWidth - 1;        // column 17

// Column `column` (from 1) of a line, or a blank past its end.
char At(std::string_view text, size_t column) {
  return column <= text.size() ? text[column - 1] : ' ';
}

// The run of non-blank characters that covers column `column`, and the
// column where it starts.
std::string_view WordAt(std::string_view text, size_t column, size_t* start) {
  size_t before = text.rfind(' ', column - 1);
  size_t first = before == std::string_view::npos ? 0 : before + 1;
  size_t end = text.find(' ', column - 1);
  *start = first + 1;
  return text.substr(first, end == std::string_view::npos ? std::string_view::npos : end - first);
}

// Names running into the unread columns 9 and 18.
void NoteUnreadColumns(std::string_view text, std::vector<std::string>* notes) {
  size_t previous_start = 0;
  for (size_t column : kUnreadColumns) {
    if (At(text, column) == ' ') continue;
    size_t start;
    std::string_view word = WordAt(text, column, &start);
    if (start == previous_start) continue;  // one word over both columns is told once
    previous_start = start;
    if (start == kVisitorColumn || start == kHomeColumn) {
      notes->push_back(std::string(start == kVisitorColumn ? "visitor" : "home team") + " name " +
                       Quoted(word) + " is longer than 8 bytes");
    } else {
      notes->push_back(Quoted(word) + " runs into column " + std::to_string(column) +
                       ", which is not read");
    }
  }
}

// A blank inside columns 1-8 with more text after it: the build takes it
// all as one visitor name ("nyy bos" is the visitor "nyy bos").
bool VisitorHoldsBlank(std::string_view visitor) {
  std::string_view name = TrimTrailingSpaces(visitor);
  return name.find(' ') != std::string_view::npos;
}

// The column a UTF-8 editor shows byte column `byte` (from 1) of `text` in:
// the characters before it, plus one.
size_t EditorColumn(std::string_view text, size_t byte) {
  return schedule::CharacterCount(text.substr(0, std::min(byte - 1, text.size()))) + 1;
}

// "column 10 (byte 11)" where the two differ, else "column 11".
std::string ColumnText(std::string_view text, size_t byte) {
  const size_t column = EditorColumn(text, byte);
  return "column " + std::to_string(column) +
         (column == byte ? std::string() : " (byte " + std::to_string(byte) + ")");
}

std::string StoredAs(const GameFields& game) {
  return "visitor " + Quoted(TrimTrailingSpaces(game.visitor)) + ", home " +
         Quoted(TrimTrailingSpaces(game.home)) + ", options " +
         Quoted(TrimTrailingSpaces(game.options));
}

}  // namespace

std::string GameLineFinding(std::string_view text, const GameFields& game) {
  std::vector<std::string> notes;
  NoteUnreadColumns(text, &notes);
  for (const auto& [field, role] : {std::pair{game.visitor, "visitor"}, std::pair{game.home, "home team"}}) {
    if (schedule::NameCutInsideCharacter(field)) notes.push_back(schedule::CutNameText(role, field));
  }
  if (VisitorHoldsBlank(game.visitor)) {
    notes.push_back("a blank inside columns 1-8 makes one visitor name of " +
                    Quoted(TrimTrailingSpaces(game.visitor)));
  }
  bool home_blank = TrimTrailingSpaces(game.home).empty();
  if (home_blank) {
    notes.push_back("no home team name in columns 10-17");
  } else if (At(text, kVisitorEnd + 1) == ' ' && At(text, kHomeColumn) == ' ') {
    size_t first = text.find_first_not_of(' ', kHomeColumn - 1) + 1;
    if (first <= kHomeEnd) {
      notes.push_back("the home team name starts in " + ColumnText(text, first) + ", not " +
                      (EditorColumn(text, first) == first ? "10" : "byte 10"));
    }
  }
  if (notes.empty()) return "";
  return JoinNotes(notes) + ": stored as " + StoredAs(game);
}

std::string JoinNotes(const std::vector<std::string>& notes) {
  std::string joined;
  for (const std::string& note : notes) joined += (joined.empty() ? "" : "; ") + note;
  return joined;
}

std::string TextBeyondLastColumn(std::string_view text) {
  if (text.size() <= kLastReadColumn) return "";
  return std::string(TrimTrailingSpaces(text.substr(kLastReadColumn)));
}

}  // namespace tool
