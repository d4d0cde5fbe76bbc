// A whole number written in decimal digits, as every number the programs
// read is written: a date's fields, a --year, a count of an option, a
// distance, SOURCE_DATE_EPOCH. One reader, so that a sign, a blank or a
// digit too many is refused the same way everywhere.
#ifndef ZELTO_SCHEDULE_WHOLE_NUMBER_H_
#define ZELTO_SCHEDULE_WHOLE_NUMBER_H_

#include <cstdint>
#include <string_view>

namespace schedule {

/// What reading a whole number found.
enum class NumberRead {
  kRead,       ///< digits alone, at most the limit
  kNotDigits,  ///< empty, or something other than a digit (a sign, a blank, a point)
  kTooLarge,   ///< digits alone, past the limit
};

/// Reads `text` as decimal digits alone, at most `most`, into `*value`
/// (set only when kRead).
NumberRead ReadWholeNumber(std::string_view text, uint64_t most, uint64_t* value);

/// True when `text` is digits alone of at most `most`, its value in `*value`.
inline bool IsWholeNumber(std::string_view text, uint64_t most, uint64_t* value) {
  return ReadWholeNumber(text, most, value) == NumberRead::kRead;
}

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_WHOLE_NUMBER_H_
