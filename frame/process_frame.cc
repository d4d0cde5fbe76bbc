#include "frame/process_frame.h"

#include <cfenv>

#include "console/console_state.h"
#include "frame/error_word.h"
#include "schedule/console_dialogue.h"

namespace frame {

int RunProcess(console::ConsoleDevice* device) {
  // The console first: nothing may be printed before its state is set up.
  console::SetUpConsole(device);
  // Record numbers are rounded to nearest, halves to even.
  std::fesetround(FE_TONEAREST);
  ResetErrorWord();
  return schedule::RunDialogue();
}

}  // namespace frame
