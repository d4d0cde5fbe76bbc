#include "testing/process_state.h"

#include "console/console_state.h"
#include "files/file_access.h"
#include "files/platform_file.h"
#include "frame/error_word.h"

namespace testing_support {

void ResetProcessState() {
  files::CloseAllFiles();
  files::ClearPlatformFaults();
  files::SetInputWaitCancel(nullptr);
  console::ResetConsoleStateForTesting();
  frame::ResetErrorWord();
}

}  // namespace testing_support
