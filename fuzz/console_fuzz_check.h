// The checks the console fuzzer makes on one input, kept apart from the
// fuzzer's entry point so that every input of its corpus is replayed by an
// ordinary test as well.
#ifndef ZELTO_FUZZ_CONSOLE_FUZZ_CHECK_H_
#define ZELTO_FUZZ_CONSOLE_FUZZ_CHECK_H_

#include <string>
#include <string_view>

namespace fuzz {

/// Plays `input` as a script against console output and the line editor on
/// an in-memory console: key records queued, screens from 1 x 1 to 300 x 100
/// (resized between calls and while a line is read), text printed, cursor
/// moves, clears and line reads. Empty when every device call stayed inside
/// the buffer and every line read kept to its rules, else the first breach.
std::string CheckConsoleSession(std::string_view input);

}  // namespace fuzz

#endif  // ZELTO_FUZZ_CONSOLE_FUZZ_CHECK_H_
