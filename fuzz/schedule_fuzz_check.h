// The checks the schedule fuzzer makes on one input, kept apart from the
// fuzzer's entry point so that every input of its corpus is replayed by an
// ordinary test as well.
#ifndef ZELTO_FUZZ_SCHEDULE_FUZZ_CHECK_H_
#define ZELTO_FUZZ_SCHEDULE_FUZZ_CHECK_H_

#include <string>
#include <string_view>

namespace fuzz {

/// Writes `input` as a schedule text file in `folder`, builds it with the
/// dialogue's buffers, with the batch command's buffers over an older longer
/// file, and again over the first schedule, and checks the three schedule
/// files and the input file afterwards; checks that every warning of the
/// build is a finding of check on the same line and that the dumped text of
/// the schedule builds the same bytes again. An input refused as a whole
/// (no date line, UTF-16, a schedule file) must leave an older schedule as
/// it was. Empty when every check holds, else what did not.
std::string CheckScheduleBuild(std::string_view input, const std::string& folder);

/// What is wrong with `bytes` as the schedule file built from `input` with
/// `records` records written; empty when nothing is.
std::string CheckScheduleBytes(std::string_view bytes, int records, std::string_view input);

}  // namespace fuzz

#endif  // ZELTO_FUZZ_SCHEDULE_FUZZ_CHECK_H_
