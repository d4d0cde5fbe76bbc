#include "schedule/whole_number.h"

#include <charconv>

namespace schedule {

NumberRead ReadWholeNumber(std::string_view text, uint64_t most, uint64_t* value) {
  if (text.empty()) return NumberRead::kNotDigits;
  uint64_t number = 0;
  const char* const end = text.data() + text.size();
  // An unsigned number takes no sign: digits alone.
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (error == std::errc::result_out_of_range) {
    // Past 64 bits, but digits alone only if nothing else follows them.
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (char c : text) {
      if (!digit(c)) return NumberRead::kNotDigits;
    }
    return NumberRead::kTooLarge;
  }
  if (error != std::errc{} || stop != end) return NumberRead::kNotDigits;
  if (number > most) return NumberRead::kTooLarge;
  *value = number;
  return NumberRead::kRead;
}

}  // namespace schedule
