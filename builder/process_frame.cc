#include "builder/process_frame.h"

#include <cfenv>

#include "builder/console_dialogue.h"
#include "console/console_state.h"
#include "frame/error_word.h"

namespace builder {

int RunProcess(console::ConsoleDevice* device) {
  // The console first: nothing may be printed before its state is set up.
  console::SetUpConsole(device);
  // Record numbers are rounded to nearest, halves to even.
  std::fesetround(FE_TONEAREST);
  frame::ResetErrorWord();
  return RunDialogue();
}

}  // namespace builder
