// schedule-builder in a real terminal: tmux runs it, keys are typed with
// send-keys and the screen is read with capture-pane. The screen a terminal
// shows must be the one the in-memory console computes for the same keys,
// and for the screens kept in frame/screens/ also the one stored there, so
// that a fault in console output cannot pass by being on both sides.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

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

constexpr char kSeason[] = "[04/10/45]\r\n45nnewyo 45nstlou\r\n[04/11/45]\r\n45npitts 45nchica\r\n";

// A screen kept in frame/screens/NAME.txt: one line per row, trailing blanks
// cut, as Screen() gives it.
std::vector<std::string> StoredScreen(const std::string& name) {
  const std::string text = ReadFileBytes(std::string(ZELTO_SCREENS_DIR) + "/" + name + ".txt");
  std::vector<std::string> rows;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    rows.push_back(text.substr(start, end - start));
  }
  return rows;
}

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

TEST_F(TerminalTest, WholeDialogueWithEchoAndBackspace) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:")) << tmux.ScreenText();
  tmux.Type("in.tq");
  tmux.Keys("BSpace");
  tmux.Type("xt");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("(include .SCH extension):"));
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit")) << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), ExpectedScreen(80, 30, "in.txt\rout.SCH\r"));
  tmux.Type("x");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0) << tmux.ScreenText();
  EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")).size(), 3u * 430);
  EXPECT_EQ(ReadFileBytes(dir_.File("modes.after")), ReadFileBytes(dir_.File("modes.before")));
}

TEST_F(TerminalTest, MissingInputIsShownAndExitsWithOne) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("nothere.txt");
  tmux.Keys("Enter");
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit"));
  EXPECT_NE(tmux.ScreenText().find("Cannot open input file \"nothere.txt\": File not found\n----\n"),
            std::string::npos)
      << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), StoredScreen("failure-closing-80x30"));
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.SCH")));
}

TEST_F(TerminalTest, SmallWindowWrapsAndScrolls) {
  TmuxSession tmux(Command(), 30, 8);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("in.txt");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("extension):"));
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit"));
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  // The final Enter scrolls the small window once more, on both consoles.
  EXPECT_EQ(tmux.Screen(), ExpectedScreen(30, 8, "in.txt\rout.SCH\r\r"));
  EXPECT_EQ(tmux.Screen(), StoredScreen("wrap-scroll-30x8"));
}

TEST_F(TerminalTest, UsageScreenIsTheStoredOne) {
  TmuxSession tmux(Command(), 80, 25);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  EXPECT_EQ(tmux.Screen(), StoredScreen("usage-80x25"));
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
    return screen == StoredScreen("backspace-across-wrap-30x8");
  })) << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), ExpectedWhileTyping(30, 8, typed).rows);
  EXPECT_EQ(tmux.Cursor(), std::make_pair(28, 6));  // back across the wrap and the scroll
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_TRUE(ModesGivenBack());
}

TEST_F(TerminalTest, ControlKeysArrowsAndAltLettersAddNothing) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("in");
  for (const char* key : {"Left", "Up", "F1", "F12", "Home", "End", "DC", "IC", "PPage", "Tab",
                          "C-a", "C-c", "C-z", "C-j", "Escape", "M-x", "C-Left"}) {
    tmux.Keys(key);
  }
  tmux.Type(".txt");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("extension):"));
  EXPECT_NE(tmux.ScreenText().find("\nInput File: in.txt\n"), std::string::npos)
      << tmux.ScreenText();
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit"));
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(TerminalTest, RedirectedStandardOutputGetsNothing) {
  TmuxSession tmux(Command("> stdout.txt"), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:")) << tmux.ScreenText();
  tmux.Type("in.txt");
  tmux.Keys("Enter");
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit"));
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("stdout.txt")), "");
}

TEST_F(TerminalTest, AccentedNameOpensTheFileOfThatName) {
  WriteFileBytes(dir_.File("caf\xc3\xa9.txt"), kSeason);
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("caf\xc3\xa9.txt");
  tmux.Keys("Enter");
  tmux.Type("s\xc3\xa9" "ason.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit"));
  EXPECT_NE(tmux.ScreenText().find("Input File: caf\xc3\xa9.txt\n"), std::string::npos)
      << tmux.ScreenText();
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("s\xc3\xa9" "ason.SCH")).size(), 3u * 430);
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
  std::vector<std::string> usage_with_name = StoredScreen("usage-80x25");
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

TEST(StreamMode, WorksWithNoTerminalAtAll) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("in.txt"), kSeason);
  std::string command = "cd " + ShellQuote(dir.path().string()) +
                        " && printf 'in.txt\\nout.SCH\\n\\n' | setsid -w " +
                        ShellQuote(ZELTO_SCHEDULE_BUILDER) + " > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "0\n");
  std::string transcript = ReadFileBytes(dir.File("transcript.txt"));
  EXPECT_NE(transcript.find("Zelto Schedule Builder\n"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Input File: in.txt\n"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Done\n----\nHit any key to exit"), std::string::npos) << transcript;
  EXPECT_EQ(ReadFileBytes(dir.File("out.SCH")).size(), 3u * 430);

  // Every line whole, however long: none is broken at a window's width.
  command = "cd " + ShellQuote(dir.path().string()) +
            " && printf 'in.txt\\n/dev/full\\n\\n' | setsid -w " +
            ShellQuote(ZELTO_SCHEDULE_BUILDER) + " > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "1\n");
  transcript = ReadFileBytes(dir.File("transcript.txt"));
  EXPECT_NE(transcript.find("\nOutput Schedule File (include .SCH extension): /dev/full\n"
                            "Cannot write schedule file \"/dev/full\": Not a disk file, or the "
                            "wrong kind of file\n----\nHit any key to exit"),
            std::string::npos)
      << transcript;

  // Standard input running out ends every read, so the program never hangs.
  command = "cd " + ShellQuote(dir.path().string()) + " && setsid -w " +
            ShellQuote(ZELTO_SCHEDULE_BUILDER) + " < /dev/null > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "1\n");
  EXPECT_NE(ReadFileBytes(dir.File("transcript.txt")).find("Cannot open input file \"\": Bad file name"),
            std::string::npos);
}

}  // namespace
