#include "tool/check/check_dates.h"

#include <chrono>

#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"

namespace tool {

using schedule::Quoted;
using schedule::TrimTrailingSpaces;
using schedule::kDateEndColumn;
using schedule::kDateLineEnd;

namespace {

struct DayOfYear {
  int month = 0, day = 0, year = 0;
  bool written = false;  // the date is MM/DD/YY
  bool real = false;     // and such a day exists
};

// The date as MM/DD/YY. A two-digit year divisible by four is taken as a
// leap year: the years 2000 to 2099 say so, 2000 among them.
DayOfYear ParseDate(std::string_view date) {
  DayOfYear parsed;
  if (date.size() != 8 || date[2] != '/' || date[5] != '/') return parsed;
  int parts[3];
  for (int part = 0; part < 3; ++part) {
    char tens = date[part * 3];
    char ones = date[part * 3 + 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return parsed;
    parts[part] = (tens - '0') * 10 + (ones - '0');
  }
  parsed = {parts[0], parts[1], parts[2], true, false};
  const std::chrono::year_month_day day{std::chrono::year{2000 + parsed.year},
                                        std::chrono::month{static_cast<unsigned>(parsed.month)},
                                        std::chrono::day{static_cast<unsigned>(parsed.day)}};
  parsed.real = day.ok();
  return parsed;
}

}  // namespace

std::string DateChecks::Take(std::string_view text, const std::string& date, int64_t line) {
  current_ = date;
  DayOfYear day = ParseDate(date);
  // A date of other than eight characters moves the "]": a four-digit year
  // or a one-digit month, and the date stored is not the one written.
  std::string finding;
  if (text.size() < kDateEndColumn || text[kDateEndColumn - 1] != kDateLineEnd) {
    finding = "the \"]\" of date line " + Quoted(text) +
              " is not in column 10: the date stored is the 8 characters after the \"[\", " +
              Quoted(TrimTrailingSpaces(date));
    if (!day.real) return finding;
  } else if (!day.written) {
    return "date " + Quoted(TrimTrailingSpaces(date)) +
           " is not written MM/DD/YY; it is stored as it stands";
  } else if (!day.real) {
    return "date " + date + " is not a real calendar date";
  }

  // From 12/31/99 to 01/01/00 the season crosses into the next century.
  if (last_year_ == 99 && day.year == 0) century_ += 1;
  int64_t key = ((century_ * 100 + day.year) * 100 + day.month) * 100 + day.day;
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
  last_year_ = day.year;
  return finding;
}

}  // namespace tool
