// Drives a program in a real terminal for end-to-end tests: a tmux server on
// a private socket, one window of a chosen size, keys sent with send-keys and
// the screen read with capture-pane. Every wait is bounded.
#ifndef ZELTO_TESTING_TMUX_SESSION_H_
#define ZELTO_TESTING_TMUX_SESSION_H_

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_support {

/// Runs a shell command and returns what it printed on standard output.
inline std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, n);
  pclose(pipe);
  return output;
}

/// Quotes `text` for the shell.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

/// One tmux server with one window running one shell command.
class TmuxSession {
 public:
  /// Starts `command` (run by sh) in a `width` x `height` window.
  TmuxSession(const std::string& command, int width, int height)
      : socket_("zelto-test-" + std::to_string(getpid()) + "-" + std::to_string(++Counter())) {
    Tmux("new-session -d -x " + std::to_string(width) + " -y " + std::to_string(height) +
         " " + ShellQuote(command));
  }
  ~TmuxSession() { Tmux("kill-server"); }
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  /// Sends tmux key names, e.g. "Enter", "BSpace", "Up", "C-a".
  void Keys(const std::string& keys) {
    Tmux("send-keys -t 0 " + keys);
    Pause();
  }

  /// Types `text` literally, byte for byte.
  void Type(const std::string& text) {
    Tmux("send-keys -t 0 -l " + ShellQuote(text));
    Pause();
  }

  /// Sends bytes given in hex, e.g. "0d 0a" for a pasted CR LF.
  void HexBytes(const std::string& hex) {
    Tmux("send-keys -t 0 -H " + hex);
    Pause();
  }

  /// Resizes the window to `width` x `height` cells.
  void Resize(int width, int height) {
    Tmux("resize-window -t 0 -x " + std::to_string(width) + " -y " + std::to_string(height));
  }

  /// The terminal's cursor as tmux sees it: column and row from 0.
  std::pair<int, int> Cursor() {
    const std::string text = Tmux("display -p -t 0 '#{cursor_x} #{cursor_y}'");
    const size_t space = text.find(' ');
    if (space == std::string::npos) return {-1, -1};
    return {std::atoi(text.c_str()), std::atoi(text.c_str() + space + 1)};
  }

  /// The pseudo-terminal the window's program reads and writes.
  std::string Tty() {
    std::string tty = Tmux("display -p -t 0 '#{pane_tty}'");
    while (!tty.empty() && tty.back() == '\n') tty.pop_back();
    return tty;
  }

  /// Waits up to `seconds` for the screen's rows to satisfy `test`; true
  /// when they did.
  bool WaitForScreen(const std::function<bool(const std::vector<std::string>&)>& test,
                     double seconds = 10) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
      if (test(Screen())) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  /// The screen's rows, trailing blanks cut.
  std::vector<std::string> Screen() {
    std::string text = Tmux("capture-pane -p -t 0");
    std::vector<std::string> rows;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      std::string row = text.substr(start, end - start);
      row.erase(row.find_last_not_of(' ') + 1);
      rows.push_back(row);
    }
    return rows;
  }

  /// The screen as one string, rows joined by newlines.
  std::string ScreenText() {
    std::string joined;
    for (const std::string& row : Screen()) joined += row + "\n";
    return joined;
  }

  /// Waits up to `seconds` for `text` to show; true when it did.
  bool WaitFor(const std::string& text, double seconds = 10) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
      if (ScreenText().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  /// Runs a tmux command on this session's server; returns its output.
  std::string Tmux(const std::string& arguments) {
    return CommandOutput("tmux -L " + socket_ + " -f /dev/null " + arguments + " 2>/dev/null");
  }

 private:
  static int& Counter() {
    static int counter = 0;
    return counter;
  }
  // Keys sent in separate calls must not merge into one read (Esc then a
  // letter would read as Alt with the letter).
  static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(120)); }

  std::string socket_;
};

}  // namespace testing_support

#endif  // ZELTO_TESTING_TMUX_SESSION_H_
