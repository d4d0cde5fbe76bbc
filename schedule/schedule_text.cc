#include "schedule/schedule_text.h"

namespace schedule {

std::string DateOf(std::string_view line) {
  std::string date(Columns(line, kDateColumn, kDateWidth));
  date.resize(kDateWidth, ' ');
  return date;
}

std::string_view TrimTrailingSpaces(std::string_view text) {
  size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace schedule
