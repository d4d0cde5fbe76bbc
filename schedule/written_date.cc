#include "schedule/written_date.h"

#include "schedule/whole_number.h"

namespace schedule {
namespace {

// The two digits at `at`, or nullopt when they are not both digits.
std::optional<unsigned> TwoDigits(std::string_view date, size_t at) {
  uint64_t value = 0;
  if (!IsWholeNumber(date.substr(at, 2), 99, &value)) return std::nullopt;
  return static_cast<unsigned>(value);
}

}  // namespace

std::optional<WrittenDate> ParseWrittenDate(std::string_view date) {
  if (date.size() != 8 || date[2] != '/' || date[5] != '/') return std::nullopt;
  const std::optional<unsigned> month = TwoDigits(date, 0);
  const std::optional<unsigned> day = TwoDigits(date, 3);
  const std::optional<unsigned> year = TwoDigits(date, 6);
  if (!month || !day || !year) return std::nullopt;
  return WrittenDate{std::chrono::month{*month}, std::chrono::day{*day}, static_cast<int>(*year)};
}

}  // namespace schedule
