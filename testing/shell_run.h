// A command line run through a POSIX shell, as a script runs a program: its
// exit status and what it writes to standard output. The shell does any
// redirection the line asks for ("2>&1", "< in.txt", "| other").
#ifndef ZELTO_TESTING_SHELL_RUN_H_
#define ZELTO_TESTING_SHELL_RUN_H_

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testing_support {

/// What a command line did.
struct ShellRun {
  int status = -1;     ///< its exit status; -1 when it did not exit
  std::string output;  ///< what it wrote to standard output
};

/// Runs `command` through /bin/sh and waits for it.
inline ShellRun RunShell(const std::string& command) {
  ShellRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace testing_support

#endif  // ZELTO_TESTING_SHELL_RUN_H_
