// What the fuzzers' checks ask of a build's outcome alike.
#ifndef ZELTO_FUZZ_BUILD_REFUSAL_H_
#define ZELTO_FUZZ_BUILD_REFUSAL_H_

#include "frame/run_time_errors.h"
#include "schedule/schedule_builder.h"

namespace fuzz {

/// True for an input the build refuses as a whole, building nothing: no
/// date line, UTF-16 text, a schedule file given as its own text.
inline bool RefusedAsAWhole(const schedule::BuildOutcome& outcome) {
  if (outcome.failures.size() != 1) return false;
  const int code = outcome.failures[0].code;
  return code == frame::kNoDateLine || code == frame::kEmptyInput || code == frame::kUtf16Text ||
         code == frame::kScheduleFileAsInput;
}

}  // namespace fuzz

#endif  // ZELTO_FUZZ_BUILD_REFUSAL_H_
