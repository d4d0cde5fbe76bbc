// The hook a waiting input asks whether to give up. A FIFO or pipe with no
// data yet holds the reader until its writer comes; the program decides
// what ends that wait (the interactive program: Ctrl+C read as a key).
#ifndef ZELTO_FILES_INPUT_WAIT_H_
#define ZELTO_FILES_INPUT_WAIT_H_

namespace files {

/// Asked about every 100 ms while an input waits; true ends the wait.
using InputWaitCancel = bool (*)();

/// Installs `cancel` (null: the wait ends only with its data or a signal).
void SetInputWaitHook(InputWaitCancel cancel);

/// True while a hook is installed.
bool InputWaitHookSet();

/// True when the installed hook says the wait is to end.
bool InputWaitCancelled();

}  // namespace files

#endif  // ZELTO_FILES_INPUT_WAIT_H_
