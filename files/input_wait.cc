#include "files/input_wait.h"

namespace files {
namespace {

// Part of the open-file state: how a waiting input learns to give up.
InputWaitCancel wait_cancel = nullptr;

}  // namespace

void SetInputWaitHook(InputWaitCancel cancel) { wait_cancel = cancel; }

bool InputWaitHookSet() { return wait_cancel != nullptr; }

bool InputWaitCancelled() { return wait_cancel != nullptr && wait_cancel(); }

}  // namespace files
