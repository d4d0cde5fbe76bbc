#include "schedule/schedule_text.h"

#include "schedule/shown_text.h"

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

std::string TeamNameProblem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > static_cast<size_t>(kNameWidth)) {
    return "name " + Quoted(name) + " is " + std::to_string(name.size()) +
           " bytes long; a team name holds at most 8";
  }
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (c == ' ' || c == ',' || c == '"' || byte < 0x20 || byte == 0x7F) {
      std::string what = c == ' ' ? "a blank" : c == ',' ? "a comma" : c == '"' ? "a double quote"
                         : c == '\t' ? "a TAB" : "a control byte";
      return "name " + Quoted(name) + " holds " + what + ", which a game line cannot carry";
    }
  }
  if (name.front() == '[') return "name " + Quoted(name) + " starts with \"[\": its game line would read as a date line";
  return "";
}

}  // namespace schedule
