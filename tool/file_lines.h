// The lines and words of a small file read whole: a teams file, a table of
// distances, a team map. Every such file is walked by NextLine, so each of
// them takes what a spreadsheet saves: a UTF-8 byte-order mark before the
// first line ("CSV UTF-8") and CR LF line ends.
#ifndef ZELTO_TOOL_FILE_LINES_H_
#define ZELTO_TOOL_FILE_LINES_H_

#include <cstddef>
#include <string_view>
#include <vector>

namespace tool {

/// The UTF-8 byte-order mark, which is no part of the first line.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

/// Takes the line of `text` that starts at `*at` into `*line`, without its
/// line end (LF or CR LF), and moves `*at` to the next: false past the end.
/// At 0, a byte-order mark is skipped first.
inline bool NextLine(std::string_view text, size_t* at, std::string_view* line) {
  if (*at == 0 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    *at = kByteOrderMark.size();
  }
  if (*at >= text.size()) return false;
  const size_t end = text.find('\n', *at);
  *line = text.substr(*at, end == std::string_view::npos ? std::string_view::npos : end - *at);
  *at = end == std::string_view::npos ? text.size() : end + 1;
  if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
  return true;
}

/// True for the blanks that part words: a space or a TAB.
inline bool IsWordBlank(char c) { return c == ' ' || c == '\t'; }

/// `text` without the blanks at either end.
inline std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsWordBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWordBlank(text.back())) text.remove_suffix(1);
  return text;
}

/// The words of `line`, in order, none empty.
std::vector<std::string_view> LineWords(std::string_view line);

}  // namespace tool

#endif  // ZELTO_TOOL_FILE_LINES_H_
