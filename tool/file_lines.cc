#include "tool/file_lines.h"

namespace tool {

std::vector<std::string_view> LineWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsWordBlank(line[at])) ++at;
    size_t end = at;
    while (end < line.size() && !IsWordBlank(line[end])) ++end;
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

}  // namespace tool
