#include "tool/csv_field.h"

#include "schedule/schedule_text.h"

namespace tool {

std::string CsvField(std::string_view stored) {
  std::string_view value = schedule::TrimTrailingSpaces(stored);
  bool quote = !value.empty() &&
               (value.front() == ' ' || value.find_first_of(",\"\r\n") != std::string_view::npos);
  if (!quote) return std::string(value);
  std::string field = "\"";
  for (char c : value) field += c == '"' ? std::string("\"\"") : std::string(1, c);
  return field + "\"";
}

}  // namespace tool
