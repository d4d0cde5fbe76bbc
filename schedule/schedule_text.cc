#include "schedule/schedule_text.h"

namespace schedule {

std::string_view Columns(std::string_view line, size_t first, size_t width) {
  if (first > line.size()) return {};
  return line.substr(first - 1, width);
}

bool IsDateLine(std::string_view line) { return !line.empty() && line.front() == kDateLineMark; }

std::string DateOf(std::string_view line) {
  std::string date(Columns(line, kDateColumn, kDateWidth));
  date.resize(kDateWidth, ' ');
  return date;
}

GameFields TakeGameFields(std::string_view line) {
  return GameFields{Columns(line, kVisitorColumn, kNameWidth), Columns(line, kHomeColumn, kNameWidth),
                    Columns(line, kOptionsColumn, kOptionsWidth)};
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view TrimTrailingSpaces(std::string_view text) {
  size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace schedule
