// The fatal-signal cleanups on Windows: the console's close, Ctrl+C and
// Ctrl+Break events end the process; the cleanups run first. The handler
// runs on a thread of its own that the system starts for the event.
#include "frame/fatal_signals.h"

#include <windows.h>

namespace frame {
namespace {

struct FatalSignalState {
  FatalSignalCleanup cleanups[kMaxFatalSignalCleanups] = {};
  volatile LONG count = 0;
  bool installed = false;
};

FatalSignalState g_state;

BOOL WINAPI OnConsoleEvent(DWORD) {
  RunFatalSignalCleanups();
  return FALSE;  // the default handler then ends the process
}

}  // namespace

bool AddFatalSignalCleanup(FatalSignalCleanup cleanup) {
  for (LONG i = 0; i < g_state.count; ++i) {
    if (g_state.cleanups[i] == cleanup) return true;
  }
  if (g_state.count >= kMaxFatalSignalCleanups) return false;
  g_state.cleanups[g_state.count] = cleanup;
  g_state.count = g_state.count + 1;
  if (!g_state.installed) g_state.installed = SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
  return true;
}

void RemoveFatalSignalCleanup(FatalSignalCleanup cleanup) {
  LONG kept = 0;
  for (LONG i = 0; i < g_state.count; ++i) {
    if (g_state.cleanups[i] != cleanup) g_state.cleanups[kept++] = g_state.cleanups[i];
  }
  g_state.count = kept;
  if (kept == 0 && g_state.installed) {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    g_state.installed = false;
  }
}

void RunFatalSignalCleanups() {
  for (LONG i = g_state.count - 1; i >= 0; --i) g_state.cleanups[i]();
}

}  // namespace frame
