#include "testing/process_state.h"

#include "console/console_state.h"
#include "files/file_access.h"
#include "files/input_wait.h"
#include "files/open_file_table.h"
#include "files/platform_file.h"
#include "frame/error_word.h"

namespace testing_support {

void ResetProcessState() {
  files::CloseAllFiles();
  files::ClearPlatformFaults();
  files::SetInputWaitHook(nullptr);
  console::ResetConsoleStateForTesting();
  frame::ResetErrorWord();
}

bool FileOpen(int16_t number) { return files::FindEntry(number) != nullptr; }

}  // namespace testing_support
