// foreground-job PROGRAM [ARGUMENT...]: runs PROGRAM as the foreground job
// of the terminal on standard input, in a process group of its own, as a
// job-control shell starts a command, so that a stop signal really stops it
// (the kernel drops SIGTSTP for a process group with no parent in its
// session, which is what a program run by tmux's own shell is in). Unlike a
// shell it never takes the terminal back while the job is stopped, so a test
// may stop and continue the job with kill and see it carry on in the
// foreground. Exits with the job's exit status, or 128 + the signal that
// ended it.
#include <cerrno>
#include <csignal>
#include <cstdio>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Puts `group` in the foreground of the terminal on standard input; a
// process not yet in the foreground must not be stopped for asking.
void MakeForeground(pid_t group) {
  struct sigaction ignore = {};
  struct sigaction old = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGTTOU, &ignore, &old);
  tcsetpgrp(STDIN_FILENO, group);
  sigaction(SIGTTOU, &old, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: foreground-job PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  const pid_t child = fork();
  if (child < 0) return 127;
  if (child == 0) {
    // Both sides set the group and the foreground, so that the program never
    // runs a moment in the background whichever of the two goes first.
    setpgid(0, 0);
    MakeForeground(getpid());
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  setpgid(child, child);
  MakeForeground(child);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return 127;
  }
  MakeForeground(getpgrp());
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}
