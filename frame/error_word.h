// The error word: where a failing operation leaves its run-time error code.
// One word for the whole process: the program has one procedure and one
// thread, so a word per call context could not be told apart from it.
#ifndef ZELTO_FRAME_ERROR_WORD_H_
#define ZELTO_FRAME_ERROR_WORD_H_

#include <cstdint>

namespace frame {

/// Bit 15 of the error word: set once any failure has been recorded.
inline constexpr uint32_t kErrorRecorded = 0x8000;

/// Records a failure: the error word becomes 0x8000 + code, code 0 counting
/// as 51. A later failure replaces the code of an earlier one.
void RecordError(int code);

/// The error word as it stands: 0 while nothing has failed.
uint32_t ErrorWord();

/// The code of the most recent failure, 0 while nothing has failed.
int LastErrorCode();

/// Clears the error word, as a fresh call context starts it.
void ResetErrorWord();

}  // namespace frame

#endif  // ZELTO_FRAME_ERROR_WORD_H_
