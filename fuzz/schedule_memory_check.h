// The checks the in-memory schedule fuzzer makes on one input: the same
// reader, grouper and record writer as a build from files, fed from memory
// and writing into memory, so that millions of inputs can be tried where
// the file-backed fuzzer (schedule_fuzz_check.h) tries thousands.
#ifndef ZELTO_FUZZ_SCHEDULE_MEMORY_CHECK_H_
#define ZELTO_FUZZ_SCHEDULE_MEMORY_CHECK_H_

#include <string>
#include <string_view>

namespace fuzz {

/// Builds `input` in memory with the dialogue's buffers and with a read
/// buffer of a few bytes and records gathered in odd amounts; checks that
/// both give the same records and warnings, that the records are sound
/// (CheckScheduleBytes), that an input refused as a whole is refused by
/// both alike, and that the schedule text written back from the records
/// (as dump --format text writes it) builds the very same records again,
/// read through large buffers. Empty when every check holds, else what did
/// not.
std::string CheckScheduleInMemory(std::string_view input);

}  // namespace fuzz

#endif  // ZELTO_FUZZ_SCHEDULE_MEMORY_CHECK_H_
