// The end-to-end tests' harness around a TmuxSession: the shell command that
// runs a program in a test folder and notes how it ended, the bounded wait
// for that note, a signal to the program the window's shell started, and
// the screen the in-memory console shows for the same keys, which the
// terminal's screen must equal.
#ifndef ZELTO_TESTING_PROGRAM_IN_TMUX_H_
#define ZELTO_TESTING_PROGRAM_IN_TMUX_H_

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "console/console_state.h"
#include "console/memory_console_device.h"
#include "frame/process_frame.h"
#include "testing/temp_dir.h"
#include "testing/tmux_session.h"

namespace testing_support {

/// The shell command for a tmux window that runs `program` (shell words,
/// then `redirect`) in `folder`. The terminal's modes go to modes.before and
/// modes.after, and then the exit status to exit.status: a test that has
/// seen the status may read both modes. The window stays open so that the
/// last screen can be read.
inline std::string ProgramInFolderCommand(const std::filesystem::path& folder,
                                          const std::string& program,
                                          const std::string& redirect = "") {
  return "cd " + ShellQuote(folder.string()) + " && stty -g > modes.before; " + program + " " +
         redirect + "; status=$?; stty -g > modes.after; echo $status > exit.status; sleep 600";
}

/// Waits up to `seconds` for the exit status noted in `folder`; the status,
/// or -1 when the program did not end in time.
inline int WaitForExitStatus(const std::filesystem::path& folder, double seconds) {
  const std::string file = (folder / "exit.status").string();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    // The line is whole only once its newline is there.
    std::string status = ReadFileBytes(file);
    if (!status.empty() && status.back() == '\n') return std::stoi(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

/// Removes what the last run in `folder` noted of its end, so that the next
/// run's status and modes are not read before that run has written them.
inline void ForgetTheLastRun(const std::filesystem::path& folder) {
  std::filesystem::remove(folder / "exit.status");
  std::filesystem::remove(folder / "modes.after");
}

/// Sends `signal_number` to the program whose command line holds `name` and
/// that the window's shell started (so not that shell); false when there is
/// no such program or the signal could not be sent.
inline bool SignalProgram(TmuxSession& tmux, const std::string& name, int signal_number) {
  std::string shell = tmux.Tmux("list-panes -F '#{pane_pid}'");
  std::string pid = CommandOutput("pgrep -P " + std::to_string(std::stoi(shell)) + " -f " +
                                  ShellQuote(name));
  return !pid.empty() && kill(std::stoi(pid), signal_number) == 0;
}

/// The rows the in-memory console shows, `width` x `height`, after `typed`
/// is typed into the dialogue, run in a fresh folder whose in.txt holds
/// `input_text`, as the real program's test folder does.
inline std::vector<std::string> ExpectedScreen(int width, int height, const std::string& typed,
                                               const std::string& input_text) {
  ScopedTempDir twin;
  WriteFileBytes(twin.File("in.txt"), input_text);
  std::string here = std::filesystem::current_path().string();
  std::filesystem::current_path(twin.path());
  console::MemoryConsoleDevice device(width, height);
  device.TypeText(typed);
  device.CloseKeyboard();
  frame::RunProcess(&device);
  console::ResetConsoleStateForTesting();
  std::filesystem::current_path(here);
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) rows.push_back(device.TrimmedRow(y));
  return rows;
}

}  // namespace testing_support

#endif  // ZELTO_TESTING_PROGRAM_IN_TMUX_H_
