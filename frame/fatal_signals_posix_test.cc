#include "frame/fatal_signals.h"

#include <csignal>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace frame {
namespace {

// The pipe a child's cleanup reports through.
int g_report_fd = -1;

void ReportCleanup() {
  const char byte = 'c';
  [[maybe_unused]] const ssize_t n = write(g_report_fd, &byte, 1);
}

// Runs `body` in a child process; its wait status, and in `report` what
// its cleanups wrote.
template <typename Body>
int InChild(Body body, std::string* report) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    g_report_fd = fds[1];
    _exit(body());
  }
  close(fds[1]);
  char buffer[16];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) report->append(buffer, n);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(FatalSignals, EverySignalThatEndsTheProgramRunsTheCleanupsAndStillEndsIt) {
  for (int signal_number :
       {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGPIPE,
        SIGXCPU, SIGXFSZ, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGSEGV, SIGSYS, SIGTRAP, SIGIO, SIGPWR,
        SIGRTMIN, SIGRTMAX}) {
    SCOPED_TRACE(signal_number);
    std::string report;
    const int status = InChild(
        [&] {
          // No core file from the signals that leave one.
          struct rlimit none = {0, 0};
          setrlimit(RLIMIT_CORE, &none);
          // As a program finds it at start (an earlier test's file access
          // may have set SIGXFSZ to be ignored in this process).
          signal(signal_number, SIG_DFL);
          AddFatalSignalCleanup(ReportCleanup);
          raise(signal_number);
          return 0;
        },
        &report);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_EQ(report, "c");
  }
}

// A signal sent while the program holds them off (its new bytes half
// copied over a file) waits for the hold's end, then ends it as ever; the
// hold is over once released, and a second signal is not held.
TEST(FatalSignals, AHeldSignalComesWhenTheHoldEnds) {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGRTMIN}) {
    SCOPED_TRACE(signal_number);
    std::string report;
    const int status = InChild(
        [&] {
          signal(signal_number, SIG_DFL);
          AddFatalSignalCleanup(ReportCleanup);
          HoldFatalSignals();
          raise(signal_number);
          const char held = 'h';
          [[maybe_unused]] const ssize_t n = write(g_report_fd, &held, 1);
          ReleaseFatalSignals();
          return 0;
        },
        &report);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_EQ(report, "hc");
  }
}

TEST(FatalSignals, IgnoredSignalsStayIgnoredAndOthersAreGivenBack) {
  std::string report;
  const int status = InChild(
      [] {
        signal(SIGHUP, SIG_IGN);  // as nohup leaves it
        AddFatalSignalCleanup(ReportCleanup);
        if (signal(SIGHUP, SIG_IGN) != SIG_IGN) return 1;
        // Ignored after the handlers went in, as file access does with
        // SIGXFSZ: taking the handlers away must not undo it.
        signal(SIGXFSZ, SIG_IGN);
        RemoveFatalSignalCleanup(ReportCleanup);
        if (signal(SIGXFSZ, SIG_IGN) != SIG_IGN) return 2;
        if (signal(SIGTERM, SIG_DFL) != SIG_DFL) return 3;  // ours is gone
        // Registered again: the ignored signal is still left alone.
        AddFatalSignalCleanup(ReportCleanup);
        raise(SIGXFSZ);
        raise(SIGHUP);
        return 0;
      },
      &report);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(report, "");
}

}  // namespace
}  // namespace frame

namespace frame {
namespace {

volatile sig_atomic_t g_alarms = 0;
void CountAlarm(int) { g_alarms = g_alarms + 1; }

// A signal that already has a handler when the cleanups go in (a fuzzer's
// timer, a sanitizer's fault report) keeps it: its default action is not
// what happens, so there is nothing to put back before it.
TEST(FatalSignals, ASignalWithAHandlerKeepsIt) {
  std::string report;
  const int status = InChild(
      [] {
        signal(SIGALRM, CountAlarm);
        AddFatalSignalCleanup(ReportCleanup);
        raise(SIGALRM);
        RemoveFatalSignalCleanup(ReportCleanup);
        if (signal(SIGALRM, SIG_DFL) != CountAlarm) return 1;
        return g_alarms == 1 ? 0 : 2;
      },
      &report);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(report, "");
}

}  // namespace
}  // namespace frame
