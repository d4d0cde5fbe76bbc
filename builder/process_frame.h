// The process frame of the interactive program: what runs before and after
// the console dialogue.
#ifndef ZELTO_BUILDER_PROCESS_FRAME_H_
#define ZELTO_BUILDER_PROCESS_FRAME_H_

#include "console/console_device.h"

namespace builder {

/// Sets the console up on `device`, gives the services their initial state,
/// sets round-to-nearest, runs the dialogue once and returns its exit code:
/// 0, or 1 when the build failed. Command-line arguments play no part.
int RunProcess(console::ConsoleDevice* device);

}  // namespace builder

#endif  // ZELTO_BUILDER_PROCESS_FRAME_H_
