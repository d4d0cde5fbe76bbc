// The cleanups the fatal signals run: one table for every platform. The
// handlers read it, so it lives in static storage; the program has one
// thread and changes it only outside a handler, and a slot is filled before
// the count grows, so a handler never sees an empty one.
#include "frame/fatal_signals.h"

#include <csignal>

#include "frame/fatal_signals_platform.h"

namespace frame {
namespace {

struct CleanupTable {
  FatalSignalCleanup cleanups[kMaxFatalSignalCleanups] = {};
  volatile std::sig_atomic_t count = 0;
  bool installed = false;  // the platform's handlers are in
};

CleanupTable g_table;

}  // namespace

bool AddFatalSignalCleanup(FatalSignalCleanup cleanup) {
  for (int i = 0; i < g_table.count; ++i) {
    if (g_table.cleanups[i] == cleanup) return true;
  }
  if (g_table.count >= kMaxFatalSignalCleanups) return false;
  g_table.cleanups[g_table.count] = cleanup;
  g_table.count = g_table.count + 1;
  if (!g_table.installed) g_table.installed = InstallFatalSignalHandlers();
  return true;
}

void RemoveFatalSignalCleanup(FatalSignalCleanup cleanup) {
  int kept = 0;
  for (int i = 0; i < g_table.count; ++i) {
    if (g_table.cleanups[i] != cleanup) g_table.cleanups[kept++] = g_table.cleanups[i];
  }
  g_table.count = kept;
  if (kept == 0 && g_table.installed) {
    UninstallFatalSignalHandlers();
    g_table.installed = false;
  }
}

void RunFatalSignalCleanups() {
  for (int i = g_table.count - 1; i >= 0; --i) g_table.cleanups[i]();
}

}  // namespace frame
