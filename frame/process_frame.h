// The process frame: what runs before and after the console dialogue.
#ifndef ZELTO_FRAME_PROCESS_FRAME_H_
#define ZELTO_FRAME_PROCESS_FRAME_H_

#include "console/console_device.h"

namespace frame {

/// Sets the console up on `device`, gives the services their initial state,
/// sets round-to-nearest, runs the dialogue once and returns its exit code:
/// 0, or 1 when the build failed. Command-line arguments play no part.
int RunProcess(console::ConsoleDevice* device);

}  // namespace frame

#endif  // ZELTO_FRAME_PROCESS_FRAME_H_
