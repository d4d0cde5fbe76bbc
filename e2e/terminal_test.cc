// schedule-builder in a real terminal: tmux runs it, keys are typed with
// send-keys and the screen is read with capture-pane. The screen a terminal
// shows must be the one the in-memory console computes for the same keys,
// and for the screens kept in e2e/screens/ also the one stored there, so
// that a fault in console output cannot pass by being on both sides.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/stored_screens.h"
#include "testing/program_in_tmux.h"
#include "testing/temp_dir.h"
#include "testing/tmux_session.h"

namespace {

using testing_support::CommandOutput;
using testing_support::ConsoleView;
using testing_support::ProgramPid;
using testing_support::TtyModes;
using testing_support::WaitForStopState;
using testing_support::ForgetTheLastRun;
using testing_support::ProgramInFolderCommand;
using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::ShellQuote;
using testing_support::SignalProgram;
using testing_support::TmuxSession;
using testing_support::WaitForExitStatus;
using testing_support::WriteFileBytes;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr char kSeason[] = "[04/10/45]\r\n45nnewyo 45nstlou\r\n[04/11/45]\r\n45npitts 45nchica\r\n";

// Row `y` of `rows` from column `x`, `width` cells of it, trailing blanks cut.
std::string Slice(const std::vector<std::string>& rows, int x, int y, int width) {
  std::string row = rows[y].size() > static_cast<size_t>(x) ? rows[y].substr(x, width) : "";
  row.erase(row.find_last_not_of(' ') + 1);
  return row;
}

// Whether `window` (its cursor at `cursor`) shows a true piece of the
// console `whole`: some rectangle of it, cell for cell, with the cursor on
// the same cell.
bool IsAViewOnto(const std::vector<std::string>& window, std::pair<int, int> cursor,
                 int width, const ConsoleView& whole) {
  const int height = static_cast<int>(window.size());
  const int whole_height = static_cast<int>(whole.rows.size());
  for (int top = 0; top + height <= whole_height; ++top) {
    for (int left = 0; left <= 80; ++left) {
      if (left + cursor.first != whole.cursor_x || top + cursor.second != whole.cursor_y) continue;
      bool same = true;
      for (int y = 0; y < height && same; ++y) same = Slice(whole.rows, left, top + y, width) == window[y];
      if (same) return true;
    }
  }
  return false;
}

class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFileBytes(dir_.File("in.txt"), kSeason); }

  // The program in the test folder, its end noted (testing/program_in_tmux.h).
  std::string Command(const std::string& redirect = "") {
    return ProgramInFolderCommand(dir_.path(), ShellQuote(ZELTO_SCHEDULE_BUILDER), redirect);
  }

  // Waits for the program to end; its exit status, or -1 when it did not.
  int ExitStatus() { return WaitForExitStatus(dir_.path(), 10); }

  // The screen the in-memory console shows after the same dialogue.
  std::vector<std::string> ExpectedScreen(int width, int height, const std::string& typed) {
    return testing_support::ExpectedScreen(width, height, typed,
                                           ReadFileBytes(dir_.File("in.txt")));
  }

  // The program started as a job-control shell starts it, so that a stop
  // stops it (testing/foreground_job_main.cc).
  std::string JobCommand() {
    return ProgramInFolderCommand(
        dir_.path(), ShellQuote(ZELTO_FOREGROUND_JOB) + " " + ShellQuote(ZELTO_SCHEDULE_BUILDER));
  }

  // The in-memory console while the name `typed` is half typed.
  ConsoleView ExpectedWhileTyping(int width, int height, const std::string& typed) {
    return testing_support::ExpectedWhileTyping(width, height, typed,
                                                ReadFileBytes(dir_.File("in.txt")));
  }

  // Whether the terminal's modes are the ones found before the program.
  bool ModesGivenBack() {
    return ReadFileBytes(dir_.File("modes.after")) == ReadFileBytes(dir_.File("modes.before"));
  }

  ScopedTempDir dir_;
};

// A FIFO with no writer is waited for, as cat waits; Ctrl+C at the keyboard
// ends the wait, and the schedule file is left as it was.
TEST_F(TerminalTest, CtrlCEndsTheWaitForAFifoWriter) {
  ASSERT_EQ(mkfifo(dir_.File("late.fifo").c_str(), 0600), 0);
  WriteFileBytes(dir_.File("keep.SCH"), "old schedule");
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("late.fifo");
  tmux.Keys("Enter");
  tmux.Type("keep.SCH");
  tmux.Keys("Enter");
  // Still waiting: no closing lines until the key.
  ASSERT_TRUE(tmux.WaitFor("keep.SCH"));
  EXPECT_EQ(tmux.ScreenText().find("Hit any key to exit"), std::string::npos);
  tmux.Keys("C-c");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit")) << tmux.ScreenText();
  EXPECT_NE(tmux.ScreenText().find("Cannot read input file \"late.fifo\""), std::string::npos)
      << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_EQ(ReadFileBytes(dir_.File("keep.SCH")), "old schedule");
  EXPECT_TRUE(ModesGivenBack());
}

TEST_F(TerminalTest, UsageScreenIsTheStoredOne) {
  TmuxSession tmux(Command(), 80, 25);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  EXPECT_EQ(tmux.Screen(), e2e::StoredScreen("usage-80x25"));
  EXPECT_EQ(tmux.Cursor(), std::make_pair(12, 20));
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_TRUE(ModesGivenBack());
}

TEST_F(TerminalTest, BackspaceAcrossTheWrapRetracesTheEcho) {
  TmuxSession tmux(Command(), 30, 8);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  // 12 cells of prompt and 25 typed: the name wraps after 18 characters.
  tmux.Type("abcdefghijklmnopqrstuvwxy");
  for (int i = 0; i < 10; ++i) tmux.Keys("BSpace");
  tmux.Type("Z");
  const std::string typed = "abcdefghijklmnopqrstuvwxy" + std::string(10, '\b') + "Z";
  ASSERT_TRUE(tmux.WaitForScreen([&](const std::vector<std::string>& screen) {
    return screen == e2e::StoredScreen("backspace-across-wrap-30x8");
  })) << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), ExpectedWhileTyping(30, 8, typed).rows);
  EXPECT_EQ(tmux.Cursor(), std::make_pair(28, 6));  // back across the wrap and the scroll
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_TRUE(ModesGivenBack());
}

TEST_F(TerminalTest, TerminalIsGivenBackAfterSigtermAndSighup) {
  for (int signal_number : {SIGTERM, SIGHUP}) {
    ForgetTheLastRun(dir_.path());
    TmuxSession tmux(Command(), 80, 30);
    ASSERT_TRUE(tmux.WaitFor("Input File:"));
    tmux.Type("half a na");
    ASSERT_TRUE(SignalProgram(tmux, "schedule-builder", signal_number));
    EXPECT_EQ(ExitStatus(), 128 + signal_number);
    EXPECT_EQ(ReadFileBytes(dir_.File("modes.after")), ReadFileBytes(dir_.File("modes.before")));
  }
}

TEST_F(TerminalTest, PastedCrLfIsOneEnterPerLine) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("in.txt");
  tmux.HexBytes("0d 0a");
  tmux.Type("cl.SCH");
  tmux.HexBytes("0d 0a");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit")) << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), ExpectedScreen(80, 30, "in.txt\rcl.SCH\r"));
  EXPECT_NE(tmux.ScreenText().find("Input File: in.txt\n"
                                   "Output Schedule File (include .SCH extension): cl.SCH\n"
                                   "Done\n----\nHit any key to exit\n\n"),
            std::string::npos)
      << tmux.ScreenText();
  tmux.Keys("C-m");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("cl.SCH")).size(), 3u * 430);
  EXPECT_TRUE(ModesGivenBack());
}

TEST_F(TerminalTest, CharacterTheCodePageLacksArrivesAsQuestionMark) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("in.txt");
  tmux.Keys("Enter");
  tmux.Type("\xc3\xbc\xe6\x97\xa5.SCH");  // ü, then a character code page 437 lacks
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit")) << tmux.ScreenText();
  EXPECT_NE(tmux.ScreenText().find("extension): \xc3\xbc?.SCH\n"
                                   "Cannot open schedule file \"\xc3\xbc?.SCH\": Bad file name\n"),
            std::string::npos)
      << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_TRUE(ModesGivenBack());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("\xc3\xbc.SCH")));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("\xc3\xbc?.SCH")));
}

TEST_F(TerminalTest, StopGivesTheTerminalBackAndContinueRepaintsIt) {
  TmuxSession tmux(JobCommand(), 80, 25);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("abc");
  ASSERT_TRUE(tmux.WaitFor("Input File: abc"));
  const std::vector<std::string> before = tmux.Screen();
  const std::string modes_before = ReadFileBytes(dir_.File("modes.before"));
  const int pid = ProgramPid(tmux, ZELTO_SCHEDULE_BUILDER);
  ASSERT_GT(pid, 0);
  ASSERT_NE(TtyModes(tmux.Tty()), modes_before);  // raw while it runs

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(kill(pid, SIGTSTP), 0);
    ASSERT_TRUE(WaitForStopState(pid, true));
    EXPECT_EQ(TtyModes(tmux.Tty()), modes_before);
    EXPECT_EQ(tmux.Cursor(), std::make_pair(0, 21));  // a fresh line below "abc"
    // Whatever else writes to the terminal meanwhile is painted over.
    WriteFileBytes(tmux.Tty(), "\x1b[2J\x1b[Hsomething else\r\n");
    ASSERT_EQ(kill(pid, SIGCONT), 0);
    ASSERT_TRUE(WaitForStopState(pid, false));
    ASSERT_TRUE(tmux.WaitForScreen([&](const auto& screen) { return screen == before; }))
        << tmux.ScreenText();
    EXPECT_EQ(tmux.Cursor(), std::make_pair(15, 20));
    EXPECT_NE(TtyModes(tmux.Tty()), modes_before);
  }
  tmux.Keys("C-z");  // a key at the prompt, nothing more
  tmux.Type("def");
  ASSERT_TRUE(tmux.WaitFor("Input File: abcdef\n")) << tmux.ScreenText();
  EXPECT_TRUE(WaitForStopState(pid, false, 0));
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_TRUE(ModesGivenBack());
}

TEST_F(TerminalTest, EveryFatalSignalGivesTheTerminalBackOnAFreshLine) {
  // No core files in the test folder from the signals that dump one.
  const std::string program = "ulimit -c 0; " + ShellQuote(ZELTO_SCHEDULE_BUILDER);
  for (int signal_number : {SIGINT, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,
                            SIGPIPE, SIGXCPU, SIGSYS, SIGTRAP, SIGABRT, SIGSEGV, SIGBUS,
                            SIGRTMIN + 2}) {
    SCOPED_TRACE(signal_number);
    // Built with AddressSanitizer, the program finds SEGV and BUS handled
    // already: the sanitizer's report of a fault is kept, and the terminal
    // cleanups leave those two alone.
    if (kAddressSanitizer && (signal_number == SIGSEGV || signal_number == SIGBUS)) continue;
    ForgetTheLastRun(dir_.path());
    TmuxSession tmux(ProgramInFolderCommand(dir_.path(), program), 80, 25);
    ASSERT_TRUE(tmux.WaitFor("Input File:"));
    tmux.Type("abc");
    ASSERT_TRUE(tmux.WaitFor("Input File: abc"));
    ASSERT_TRUE(SignalProgram(tmux, ZELTO_SCHEDULE_BUILDER, signal_number));
    EXPECT_EQ(ExitStatus(), 128 + signal_number);
    EXPECT_TRUE(ModesGivenBack());
    // Whatever the shell says of the signal starts on a line of its own.
    EXPECT_EQ(tmux.Screen()[20], "Input File: abc") << tmux.ScreenText();
  }
}

TEST_F(TerminalTest, ShorterWindowKeepsThePromptAndTheNameInView) {
  TmuxSession tmux(Command(), 80, 25);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("abc");
  ASSERT_TRUE(tmux.WaitFor("Input File: abc"));
  tmux.Resize(80, 15);
  ASSERT_TRUE(tmux.WaitFor("Input File: abc"));
  tmux.Type("def");
  const ConsoleView whole = ExpectedWhileTyping(80, 25, "abcdef");
  ASSERT_TRUE(tmux.WaitForScreen([&](const auto& screen) {
    return screen.size() == 15 && screen[14] == "Input File: abcdef";
  })) << tmux.ScreenText();
  EXPECT_TRUE(IsAViewOnto(tmux.Screen(), tmux.Cursor(), 80, whole)) << tmux.ScreenText();
  tmux.Resize(80, 25);  // every row comes back
  ASSERT_TRUE(tmux.WaitForScreen([&](const auto& screen) { return screen == whole.rows; }))
      << tmux.ScreenText();
  std::vector<std::string> usage_with_name = e2e::StoredScreen("usage-80x25");
  ASSERT_EQ(usage_with_name.size(), 25u);
  usage_with_name[20] += " abcdef";  // the stored row ends at the prompt's colon
  EXPECT_EQ(tmux.Screen(), usage_with_name);
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_TRUE(ModesGivenBack());
}

TEST_F(TerminalTest, NarrowerWindowShowsTheLineAsItIsThroughBackspaces) {
  TmuxSession tmux(Command(), 80, 25);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  std::string name;
  for (int i = 0; i < 90; ++i) name += static_cast<char>('a' + i % 26);
  tmux.Type(name);
  ASSERT_TRUE(tmux.WaitFor(name.substr(68) + "\n"));
  tmux.Resize(50, 15);
  const ConsoleView typed = ExpectedWhileTyping(80, 25, name);
  ASSERT_TRUE(tmux.WaitForScreen([&](const auto& screen) {
    return screen.size() == 15 && IsAViewOnto(screen, tmux.Cursor(), 50, typed);
  })) << tmux.ScreenText();
  // The prompt and the start of the name are in view with the cursor.
  EXPECT_EQ(tmux.Screen()[13], "Input File: " + name.substr(0, 38)) << tmux.ScreenText();

  for (int i = 0; i < 30; ++i) tmux.Keys("BSpace");
  const ConsoleView erased = ExpectedWhileTyping(80, 25, name + std::string(30, '\b'));
  ASSERT_TRUE(tmux.WaitForScreen([&](const auto& screen) {
    return IsAViewOnto(screen, tmux.Cursor(), 50, erased);
  })) << tmux.ScreenText();
  tmux.Type("Z");
  const ConsoleView retyped = ExpectedWhileTyping(80, 25, name + std::string(30, '\b') + "Z");
  ASSERT_TRUE(tmux.WaitForScreen([&](const auto& screen) {
    return IsAViewOnto(screen, tmux.Cursor(), 50, retyped);
  })) << tmux.ScreenText();

  tmux.Resize(80, 25);  // the whole buffer again, as the in-memory console has it
  ASSERT_TRUE(tmux.WaitForScreen([&](const auto& screen) { return screen == retyped.rows; }))
      << tmux.ScreenText();
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_TRUE(ModesGivenBack());
}

// With no terminal, every line is written whole, however long: none is
// broken at a window's width, so a transcript can be searched.
TEST(StreamMode, EveryLineIsWrittenWhole) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("in.txt"), kSeason);
  std::string command = "cd " + ShellQuote(dir.path().string()) +
                        " && printf 'in.txt\\n/dev/full\\n\\n' | setsid -w " +
                        ShellQuote(ZELTO_SCHEDULE_BUILDER) + " > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "1\n");
  std::string transcript = ReadFileBytes(dir.File("transcript.txt"));
  EXPECT_NE(transcript.find("\nOutput Schedule File (include .SCH extension): /dev/full\n"
                            "Cannot write schedule file \"/dev/full\": Not a disk file, or the "
                            "wrong kind of file\n----\nHit any key to exit"),
            std::string::npos)
      << transcript;
}

}  // namespace
