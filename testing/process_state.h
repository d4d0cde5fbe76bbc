// The one reset of everything the program keeps process-wide, for tests
// that run many builds and dialogues in one process: the open-file table,
// the faults injected into the platform file layer, the wait hook of file
// access, the error word and the console state.
#ifndef ZELTO_TESTING_PROCESS_STATE_H_
#define ZELTO_TESTING_PROCESS_STATE_H_

#include <cstdint>

namespace testing_support {

/// True while a file is open under `number` in the open-file table.
bool FileOpen(int16_t number);

/// Closes every file (new files not put in place are removed), clears the
/// injected faults and the input wait hook, resets the error word and the
/// console state, as a fresh process has them.
void ResetProcessState();

}  // namespace testing_support

#endif  // ZELTO_TESTING_PROCESS_STATE_H_
