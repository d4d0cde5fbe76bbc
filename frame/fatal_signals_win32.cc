// The fatal-signal handlers on Windows: the console's close, Ctrl+C and
// Ctrl+Break events end the process; the cleanups run first. The handler
// runs on a thread of its own that the system starts for the event.
#include <windows.h>

#include "frame/fatal_signals.h"
#include "frame/fatal_signals_platform.h"

namespace frame {
namespace {

BOOL WINAPI OnConsoleEvent(DWORD) {
  RunFatalSignalCleanups();
  return FALSE;  // the default handler then ends the process
}

}  // namespace

bool InstallFatalSignalHandlers() { return SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0; }

void UninstallFatalSignalHandlers() { SetConsoleCtrlHandler(OnConsoleEvent, FALSE); }

}  // namespace frame
