// CSV as schedule-tool writes it (dump, report: a stored value without its
// trailing padding, quoted where a spreadsheet would otherwise split or trim
// it) and reads it (a season file's rows, a teams file): fields split at
// commas, a field in double quotes holding commas and doubled quotes.
#ifndef ZELTO_TOOL_CSV_FIELD_H_
#define ZELTO_TOOL_CSV_FIELD_H_

#include <string>
#include <string_view>
#include <vector>

namespace tool {

/// `stored` without its trailing blanks, in double quotes (a quote doubled)
/// when it starts with a blank or holds a comma, double quote, CR or LF.
std::string CsvField(std::string_view stored);

/// Splits `row` into `fields`: comma-separated, a field in double quotes may
/// hold commas and doubled double quotes. False, with the reason in
/// `problem`, for a double quote left open or text after a closing one.
bool SplitCsvRow(std::string_view row, std::vector<std::string>* fields, std::string* problem);

}  // namespace tool

#endif  // ZELTO_TOOL_CSV_FIELD_H_
