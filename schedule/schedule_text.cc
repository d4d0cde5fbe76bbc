#include "schedule/schedule_text.h"

#include "schedule/schedule_record.h"

namespace schedule {
namespace {

// Characters `first` to `first + width - 1` (from 1) of the line, as many as
// exist. The field rules pad the rest with spaces when it is stored.
std::string_view Columns(std::string_view line, size_t first, size_t width) {
  if (first > line.size()) return {};
  return line.substr(first - 1, width);
}

}  // namespace

bool IsDateLine(std::string_view line) { return !line.empty() && line.front() == '['; }

std::string DateOf(std::string_view line) {
  std::string date(Columns(line, 2, kDateWidth));
  date.resize(kDateWidth, ' ');
  return date;
}

GameFields TakeGameFields(std::string_view line) {
  return GameFields{Columns(line, 1, kNameWidth), Columns(line, 10, kNameWidth),
                    Columns(line, 19, kOptionsWidth)};
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view TrimTrailingSpaces(std::string_view text) {
  size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace schedule
