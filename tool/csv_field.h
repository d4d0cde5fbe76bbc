// One field of the CSV that schedule-tool writes (dump, report): a stored
// value without its trailing padding, quoted where a spreadsheet would
// otherwise split or trim it.
#ifndef ZELTO_TOOL_CSV_FIELD_H_
#define ZELTO_TOOL_CSV_FIELD_H_

#include <string>
#include <string_view>

namespace tool {

/// `stored` without its trailing blanks, in double quotes (a quote doubled)
/// when it starts with a blank or holds a comma, double quote, CR or LF.
std::string CsvField(std::string_view stored);

}  // namespace tool

#endif  // ZELTO_TOOL_CSV_FIELD_H_
