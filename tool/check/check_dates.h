// What the checker says of date lines: a date not written MM/DD/YY, its
// "]" out of column 10, a day that does not exist, and dates out of order
// or used twice.
#ifndef ZELTO_TOOL_CHECK_CHECK_DATES_H_
#define ZELTO_TOOL_CHECK_CHECK_DATES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace tool {

/// Follows the dates of a text in the order their records are written.
class DateChecks {
 public:
  /// Takes the date line `text` (whose stored date is `date`) that begins a
  /// record on `line`; the finding for it, or an empty string.
  std::string Take(std::string_view text, const std::string& date, int64_t line);

  /// The date of the record being filled.
  const std::string& current_date() const { return current_; }

 private:
  std::string current_;
  int64_t last_key_ = -1;  // the last real date, as a number in calendar order
  std::string last_date_;
  int64_t last_line_ = 0;
  int last_year_ = -1;     // its two-digit year
  int64_t century_ = 0;    // centuries passed: a 99 year followed by a 00 year is the next one
};

}  // namespace tool

#endif  // ZELTO_TOOL_CHECK_CHECK_DATES_H_
