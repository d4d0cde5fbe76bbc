// schedule-builder in a real terminal: tmux runs it, keys are typed with
// send-keys and the screen is read with capture-pane. The screen a terminal
// shows must be the one the in-memory console computes for the same keys.
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
}

TEST_F(TerminalTest, ControlKeysArrowsAndAltLettersAddNothing) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Type("in");
  for (const char* key : {"Left", "Up", "F1", "F12", "Home", "End", "DC", "IC", "PPage", "Tab",
                          "C-a", "C-c", "C-z", "Escape", "M-x", "C-Left"}) {
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

  // Standard input running out ends every read, so the program never hangs.
  command = "cd " + ShellQuote(dir.path().string()) + " && setsid -w " +
            ShellQuote(ZELTO_SCHEDULE_BUILDER) + " < /dev/null > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "1\n");
  EXPECT_NE(ReadFileBytes(dir.File("transcript.txt")).find("Cannot open input file \"\": Bad file name"),
            std::string::npos);
}

}  // namespace
