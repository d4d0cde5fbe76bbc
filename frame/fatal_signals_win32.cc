// The fatal-signal handlers on Windows: the console's close, Ctrl+C and
// Ctrl+Break events end the process; the cleanups run first. The handler
// runs on a thread of its own that the system starts for the event; while
// a hold lasts, it waits there for the hold to end.
#include <windows.h>

#include <atomic>

#include "frame/fatal_signals.h"
#include "frame/fatal_signals_platform.h"

namespace frame {
namespace {

std::atomic<bool> g_held{false};

BOOL WINAPI OnConsoleEvent(DWORD) {
  while (g_held.load()) Sleep(10);
  RunFatalSignalCleanups();
  return FALSE;  // the default handler then ends the process
}

}  // namespace

bool InstallFatalSignalHandlers() { return SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0; }

void UninstallFatalSignalHandlers() { SetConsoleCtrlHandler(OnConsoleEvent, FALSE); }

void HoldFatalSignals() { g_held.store(true); }

void ReleaseFatalSignals() { g_held.store(false); }

}  // namespace frame
