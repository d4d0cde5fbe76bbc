// What the fatal-signal cleanups ask of the platform: to catch the signals
// (or console events) that end the program, running the cleanups before
// the program goes down, and to give them back. Inside frame/ only.
#ifndef ZELTO_FRAME_FATAL_SIGNALS_PLATFORM_H_
#define ZELTO_FRAME_FATAL_SIGNALS_PLATFORM_H_

namespace frame {

/// Catches every way a signal ends the program; true when the handlers are in.
bool InstallFatalSignalHandlers();

/// Gives back what was there before the handlers, where a handler of ours
/// still stands.
void UninstallFatalSignalHandlers();

}  // namespace frame

#endif  // ZELTO_FRAME_FATAL_SIGNALS_PLATFORM_H_
