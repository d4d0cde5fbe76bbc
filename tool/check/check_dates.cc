#include "tool/check/check_dates.h"

#include <chrono>
#include <optional>

#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "schedule/written_date.h"
#include "tool/season/day_formats.h"

namespace tool {

using schedule::Quoted;
using schedule::TrimTrailingSpaces;
using schedule::WrittenDate;
using schedule::kDateEndColumn;
using schedule::kDateLineEnd;

std::string DateChecks::Take(std::string_view text, const std::string& date, int64_t line) {
  current_ = date;
  const std::optional<WrittenDate> written = schedule::ParseWrittenDate(date);
  // A two-digit year divisible by four is taken as a leap year: the years
  // 2000 to 2099 say so, 2000 among them.
  const bool real =
      written && schedule::DayIn(*written, std::chrono::year{2000 + written->two_digit_year}).ok();
  // A date of other than eight characters moves the "]": a four-digit year
  // or a one-digit month, and the date stored is not the one written.
  std::string finding;
  if (text.size() < kDateEndColumn || text[kDateEndColumn - 1] != kDateLineEnd) {
    finding = "the \"]\" of date line " + Quoted(text) +
              " is not in column 10: the date stored is the 8 characters after the \"[\", " +
              Quoted(TrimTrailingSpaces(date));
    if (!real) return finding;
  } else if (!written) {
    return "date " + Quoted(TrimTrailingSpaces(date)) +
           " is not written MM/DD/YY; it is stored as it stands";
  } else if (!real) {
    return "date " + date + " is not a real calendar date";
  }

  // From 12/31/99 to 01/01/00 the season crosses into the next century.
  const int two_digit_year = written->two_digit_year;
  if (CrossesCentury(last_year_, two_digit_year)) century_ += 1;
  const int64_t key = ((century_ * 100 + two_digit_year) * 100 +
                       static_cast<unsigned>(written->month)) * 100 +
                      static_cast<unsigned>(written->day);
  if (!finding.empty() && key <= last_key_) finding += "; ";
  if (key < last_key_) {
    finding += "date " + date + " comes before " + last_date_ + " (line " +
              std::to_string(last_line_) +
              "), yet its record comes after it: records keep the order of the file";
  } else if (key == last_key_) {
    finding += "date " + date + " was already used on line " + std::to_string(last_line_) +
              ": it makes a second record for that date";
  }
  last_key_ = key;
  last_date_ = date;
  last_line_ = line;
  last_year_ = two_digit_year;
  return finding;
}

}  // namespace tool
