#include "tool/csv_field.h"

#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"

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


bool SplitCsvRow(std::string_view row, std::vector<std::string>* fields, std::string* problem) {
  fields->clear();
  size_t at = 0;
  while (true) {
    std::string field;
    if (at < row.size() && row[at] == '"') {
      size_t opened = at++;
      while (true) {
        size_t quote = row.find('"', at);
        if (quote == std::string_view::npos) {
          *problem = "field " + std::to_string(fields->size() + 1) + ": the double quote in column " +
                     std::to_string(opened + 1) + " is never closed";
          return false;
        }
        field.append(row.substr(at, quote - at));
        at = quote + 1;
        if (at < row.size() && row[at] == '"') {  // a doubled quote stands for one
          field += '"';
          ++at;
          continue;
        }
        break;
      }
      if (at < row.size() && row[at] != ',') {
        *problem = "field " + std::to_string(fields->size() + 1) + ": text after its closing double quote: " +
                   schedule::Quoted(row.substr(at, row.find(',', at) - at));
        return false;
      }
    } else {
      size_t end = row.find(',', at);
      field = row.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
      at = end == std::string_view::npos ? row.size() : end;
    }
    fields->push_back(std::move(field));
    if (at >= row.size()) return true;
    ++at;  // past the comma; a comma at the end leaves one empty field
  }
}

}  // namespace tool
