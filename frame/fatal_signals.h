// What is put back when a signal ends the program. Each subsystem that
// changes something outside the process for the time of a run (the terminal
// session its modes, file access a new schedule file not yet in place)
// registers a cleanup; when a signal whose default action ends the process
// arrives (on POSIX every one whose default action ends the process: see
// fatal_signals_posix.cc), every cleanup runs, newest first, and the signal
// then takes its default action, so the exit status still tells which
// signal it was.
#ifndef ZELTO_FRAME_FATAL_SIGNALS_H_
#define ZELTO_FRAME_FATAL_SIGNALS_H_

namespace frame {

/// A cleanup run from a signal handler: it may make async-signal-safe calls
/// only (write, unlink, tcsetattr and the like) and must not allocate.
using FatalSignalCleanup = void (*)();

/// The most cleanups that can be registered at once.
inline constexpr int kMaxFatalSignalCleanups = 8;

/// Registers `cleanup`; the first registration installs the handlers. A
/// signal that the parent set to be ignored (nohup) stays ignored, and one
/// that already has a handler (a sanitizer's, a fuzzer's timer) keeps it.
/// False when all slots are taken. Registering the same cleanup twice keeps
/// one.
bool AddFatalSignalCleanup(FatalSignalCleanup cleanup);

/// Unregisters `cleanup`; when none is left, the handlers found before are
/// put back, except on a signal that was set otherwise since (SIGXFSZ set to
/// be ignored by file access stays ignored).
void RemoveFatalSignalCleanup(FatalSignalCleanup cleanup);

/// Runs every registered cleanup now, newest first (for a way out that is
/// no signal, such as the console's close event on Windows).
void RunFatalSignalCleanups();

/// Holds off, until ReleaseFatalSignals, the signals a user or the system
/// sends to end the program (Ctrl+C, a hang-up, kill; on Windows the
/// console's events), for work that must not stop half done: a file's new
/// bytes copied over its old ones. One that comes meanwhile ends the program
/// at the release, cleanups and all. A fault's signal is never held.
void HoldFatalSignals();

/// Ends the hold of HoldFatalSignals.
void ReleaseFatalSignals();

}  // namespace frame

#endif  // ZELTO_FRAME_FATAL_SIGNALS_H_
