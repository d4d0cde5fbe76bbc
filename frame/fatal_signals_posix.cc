// The fatal-signal handlers on POSIX.
//
// Every signal whose default action ends the process is caught: the ones a
// user or the system sends (HUP, INT, QUIT, TERM, USR1, USR2, ALRM, VTALRM,
// PROF, PIPE, XCPU, XFSZ, and where the system has them POLL/IO, PWR,
// STKFLT and the real-time signals) and the ones a fault raises (ABRT, BUS,
// FPE, ILL, SEGV, SYS, TRAP). For a fault the cleanups only write and
// restore modes from static storage, and the signal then ends the process
// as it would have. A signal that is ignored when the handlers are
// installed stays ignored (nohup, SIGPIPE in stream mode), and one that is
// set to be ignored later (SIGXFSZ by file access, so that a write past the
// file-size limit fails with EFBIG) is left so when the handlers go. A hold
// blocks the signals others send, which then come at its end.
#include "frame/fatal_signals.h"
#include "frame/fatal_signals_platform.h"

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace frame {
namespace {

// The signals with a fixed number after which the program puts things back
// before it goes down as the signal's default action says.
constexpr int kFatalSignals[] = {
    SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM,
    SIGVTALRM, SIGPROF, SIGPIPE, SIGXCPU, SIGXFSZ, SIGABRT, SIGBUS,
    SIGFPE,  SIGILL,  SIGSEGV, SIGSYS,  SIGTRAP,
#ifdef SIGPOLL
    SIGPOLL,
#elif defined(SIGIO)
    SIGIO,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};
constexpr int kFixedSignalCount = sizeof(kFatalSignals) / sizeof(kFatalSignals[0]);

// Room for the real-time signals, whose numbers are known only at run time.
constexpr int kMaxRealTimeSignals = 64;
constexpr int kMaxHandledSignals = kFixedSignalCount + kMaxRealTimeSignals;

// The signals handled and what they did before; read by the handler, so kept
// in static storage.
struct SignalState {
  int signals[kMaxHandledSignals] = {};                  // every signal handled
  int signal_count = 0;
  struct sigaction old_actions[kMaxHandledSignals] = {};  // given back at the end
};

SignalState g_state;

// Async-signal-safe: the cleanups promise as much; then sigaction and raise.
void OnFatalSignal(int signal_number) {
  const int saved_errno = errno;
  RunFatalSignalCleanups();
  // Let the signal do what it would have done: the default action, taken
  // as soon as this handler returns and the signal is unblocked (for a
  // fault, when the faulting instruction runs again).
  struct sigaction default_action = {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  raise(signal_number);
  errno = saved_errno;
}

// The fixed list, then the real-time signals the system has.
void ListSignals() {
  g_state.signal_count = 0;
  for (int signal_number : kFatalSignals) g_state.signals[g_state.signal_count++] = signal_number;
#if defined(SIGRTMIN) && defined(SIGRTMAX)
  for (int n = SIGRTMIN; n <= SIGRTMAX && g_state.signal_count < kMaxHandledSignals; ++n) {
    g_state.signals[g_state.signal_count++] = n;
  }
#endif
}

// The signals others send, which can wait: not the faults a running
// program raises itself (SEGV and the like cannot wait), nor SIGPIPE and
// SIGXFSZ, which a write raises and which file access turns into errors.
void SentSignals(sigset_t* sent) {
  sigemptyset(sent);
  for (int signal_number : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM,
                            SIGVTALRM, SIGPROF, SIGXCPU}) {
    sigaddset(sent, signal_number);
  }
#ifdef SIGPWR
  sigaddset(sent, SIGPWR);
#endif
#ifdef SIGRTMIN
  for (int n = SIGRTMIN; n <= SIGRTMAX; ++n) sigaddset(sent, n);
#endif
}

// The signal mask before the hold, put back at its end.
sigset_t g_mask_before_hold;

}  // namespace

bool InstallFatalSignalHandlers() {
  ListSignals();
  struct sigaction action = {};
  sigemptyset(&action.sa_mask);
  // While one cleanup runs, no other fatal signal may start the cleanups
  // again from the middle.
  for (int i = 0; i < g_state.signal_count; ++i) sigaddset(&action.sa_mask, g_state.signals[i]);
  action.sa_handler = OnFatalSignal;
  for (int i = 0; i < g_state.signal_count; ++i) {
    sigaction(g_state.signals[i], nullptr, &g_state.old_actions[i]);
    // Only a signal whose default action ends the program is taken over: one
    // set to be ignored (nohup) stays ignored, and one that already has a
    // handler (a sanitizer's, a fuzzer's timer) keeps it, since the program
    // does not end there.
    if (g_state.old_actions[i].sa_handler != SIG_DFL) continue;
    sigaction(g_state.signals[i], &action, nullptr);
  }
  return true;
}

void UninstallFatalSignalHandlers() {
  for (int i = 0; i < g_state.signal_count; ++i) {
    // Only a handler of ours is taken away: a signal that someone set to be
    // ignored (or handled) since then stays as they set it.
    struct sigaction now = {};
    if (sigaction(g_state.signals[i], nullptr, &now) != 0) continue;
    if (now.sa_handler != OnFatalSignal) continue;
    sigaction(g_state.signals[i], &g_state.old_actions[i], nullptr);
  }
}

void HoldFatalSignals() {
  sigset_t sent;
  SentSignals(&sent);
  sigprocmask(SIG_BLOCK, &sent, &g_mask_before_hold);
}

void ReleaseFatalSignals() { sigprocmask(SIG_SETMASK, &g_mask_before_hold, nullptr); }

}  // namespace frame
