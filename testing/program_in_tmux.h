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
#include "testing/memory_console_device.h"
#include "builder/process_frame.h"
#include "testing/process_state.h"
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

/// The process id of the program whose command line holds `name` and that
/// the window's shell started (so not that shell), or that such a program
/// started in turn (foreground-job starts it); -1 when there is none.
inline int ProgramPid(TmuxSession& tmux, const std::string& name) {
  const std::string shell = tmux.Tmux("list-panes -F '#{pane_pid}'");
  if (shell.empty()) return -1;
  int pid = -1;
  for (std::string parent = std::to_string(std::stoi(shell));;) {
    const std::string child =
        CommandOutput("pgrep -n -P " + parent + " -f " + ShellQuote(name));
    if (child.empty()) return pid;
    pid = std::stoi(child);
    parent = std::to_string(pid);
  }
}

/// Sends `signal_number` to the program found as ProgramPid finds it; false
/// when there is no such program or the signal could not be sent.
inline bool SignalProgram(TmuxSession& tmux, const std::string& name, int signal_number) {
  const int pid = ProgramPid(tmux, name);
  return pid > 0 && kill(pid, signal_number) == 0;
}

/// Waits up to `seconds` for process `pid` to be stopped (`stopped` true) or
/// running again (false); true when it was.
inline bool WaitForStopState(int pid, bool stopped, double seconds = 10) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    // The state is the field after the command's name in parentheses.
    const std::string stat = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    if (close != std::string::npos && close + 2 < stat.size() &&
        (stat[close + 2] == 'T') == stopped) {
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

/// The terminal modes of `tty` as `stty -g` prints them.
inline std::string TtyModes(const std::string& tty) {
  return CommandOutput("stty -g < " + ShellQuote(tty));
}

/// Runs the whole program on `device` in a fresh folder whose in.txt holds
/// `input_text`, as the real program's test folder does, and resets the
/// process state afterwards.
inline void RunInTwinFolder(console::MemoryConsoleDevice* device, const std::string& input_text) {
  ScopedTempDir twin;
  WriteFileBytes(twin.File("in.txt"), input_text);
  std::string here = std::filesystem::current_path().string();
  std::filesystem::current_path(twin.path());
  builder::RunProcess(device);
  ResetProcessState();
  std::filesystem::current_path(here);
}

/// The rows the in-memory console shows, `width` x `height`, after `typed`
/// is typed into the dialogue, run in a fresh folder whose in.txt holds
/// `input_text`, as the real program's test folder does.
inline std::vector<std::string> ExpectedScreen(int width, int height, const std::string& typed,
                                               const std::string& input_text) {
  console::MemoryConsoleDevice device(width, height);
  device.TypeText(typed);
  device.CloseKeyboard();
  RunInTwinFolder(&device, input_text);
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) rows.push_back(device.TrimmedRow(y));
  return rows;
}

/// What the in-memory console shows while a line is being read.
struct ConsoleView {
  std::vector<std::string> rows;  ///< every row, trailing blanks cut
  int cursor_x = 0;               ///< the cursor's column
  int cursor_y = 0;               ///< the cursor's row
};

/// The in-memory console, `width` x `height`, once every key of `typed` has
/// been read and the dialogue waits for the next (a name half typed), run
/// in a fresh folder whose in.txt holds `input_text`.
inline ConsoleView ExpectedWhileTyping(int width, int height, const std::string& typed,
                                       const std::string& input_text) {
  console::MemoryConsoleDevice device(width, height);
  device.TypeText(typed);
  ConsoleView view;
  bool seen = false;
  // The line editor sleeps before each look at the keyboard: the first
  // sleep with nothing left to read is the wait for the next key.
  device.set_sleep_hook([&](console::MemoryConsoleDevice& d) {
    if (seen || d.queued_records() != 0) return;
    seen = true;
    for (int y = 0; y < d.height(); ++y) view.rows.push_back(d.TrimmedRow(y));
    view.cursor_x = d.cursor_x();
    view.cursor_y = d.cursor_y();
    d.CloseKeyboard();
  });
  RunInTwinFolder(&device, input_text);
  return view;
}

}  // namespace testing_support

#endif  // ZELTO_TESTING_PROGRAM_IN_TMUX_H_
