#include "schedule/written_date.h"

#include <charconv>

namespace schedule {
namespace {

// The two digits at `at`, or nullopt when they are not both digits.
std::optional<unsigned> TwoDigits(std::string_view date, size_t at) {
  const char* const first = date.data() + at;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(first, first + 2, value);
  if (error != std::errc{} || end != first + 2) return std::nullopt;
  return value;
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
