// The fatal-signal handlers on POSIX.
#include "frame/fatal_signals.h"

#include <cerrno>
#include <csignal>

namespace frame {
namespace {

// The signals after which the program puts things back before it goes down
// as the signal's default action says: every one whose default ends the
// process and that a user or the system sends from outside. SIGPIPE is left
// to the console, which ignores it in stream mode; SIGXFSZ is ignored by
// file access, so a write past the size limit fails as a full disk.
constexpr int kFatalSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,   SIGALRM,
                                 SIGUSR1, SIGUSR2, SIGXCPU, SIGVTALRM, SIGPROF};
constexpr int kFatalSignalCount = sizeof(kFatalSignals) / sizeof(kFatalSignals[0]);

// Read by the handler, so kept in static storage; the program has one thread
// and changes the table only outside the handler.
struct FatalSignalState {
  FatalSignalCleanup cleanups[kMaxFatalSignalCleanups] = {};
  volatile sig_atomic_t count = 0;
  bool installed = false;
  struct sigaction old_actions[kFatalSignalCount] = {};  // given back at the end
};

FatalSignalState g_state;

// Async-signal-safe: the cleanups promise as much; then sigaction and raise.
void OnFatalSignal(int signal_number) {
  const int saved_errno = errno;
  RunFatalSignalCleanups();
  // Let the signal do what it would have done: the default action, taken
  // as soon as this handler returns and the signal is unblocked.
  struct sigaction default_action = {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  raise(signal_number);
  errno = saved_errno;
}

void Install() {
  struct sigaction action = {};
  sigemptyset(&action.sa_mask);
  // While one cleanup runs, no other fatal signal may start the cleanups
  // again from the middle.
  for (int signal_number : kFatalSignals) sigaddset(&action.sa_mask, signal_number);
  action.sa_handler = OnFatalSignal;
  for (int i = 0; i < kFatalSignalCount; ++i) {
    sigaction(kFatalSignals[i], nullptr, &g_state.old_actions[i]);
    if (g_state.old_actions[i].sa_handler == SIG_IGN) continue;
    sigaction(kFatalSignals[i], &action, nullptr);
  }
  g_state.installed = true;
}

void Uninstall() {
  for (int i = 0; i < kFatalSignalCount; ++i) {
    sigaction(kFatalSignals[i], &g_state.old_actions[i], nullptr);
  }
  g_state.installed = false;
}

}  // namespace

bool AddFatalSignalCleanup(FatalSignalCleanup cleanup) {
  for (int i = 0; i < g_state.count; ++i) {
    if (g_state.cleanups[i] == cleanup) return true;
  }
  if (g_state.count >= kMaxFatalSignalCleanups) return false;
  // The slot is filled before the count grows, so a handler never sees an
  // empty slot.
  g_state.cleanups[g_state.count] = cleanup;
  g_state.count = g_state.count + 1;
  if (!g_state.installed) Install();
  return true;
}

void RemoveFatalSignalCleanup(FatalSignalCleanup cleanup) {
  int kept = 0;
  for (int i = 0; i < g_state.count; ++i) {
    if (g_state.cleanups[i] != cleanup) g_state.cleanups[kept++] = g_state.cleanups[i];
  }
  g_state.count = kept;
  if (kept == 0 && g_state.installed) Uninstall();
}

void RunFatalSignalCleanups() {
  for (int i = g_state.count - 1; i >= 0; --i) g_state.cleanups[i]();
}

}  // namespace frame
