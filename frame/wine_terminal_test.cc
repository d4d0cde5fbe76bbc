// schedule-builder.exe on a Windows console: Wine runs it inside tmux, whose
// terminal Wine turns into a console, keys are typed with send-keys and the
// screen is read with capture-pane. The screen must be the one the in-memory
// console computes for the same keys (as it is for the Linux program), and
// the schedule file must be byte for byte the Linux program's.
//
// Built on Linux when ZELTO_WINDOWS_SCHEDULE_BUILDER names the .exe; the
// program run is $ZELTO_WINDOWS_SCHEDULE_BUILDER (else that one), so one
// test binary serves the 64-bit and the 32-bit build. The Wine loader is
// $ZELTO_WINE (else /usr/lib/wine/wine64, which hands an i686 program to the
// 32-bit loader) and the prefix $WINEPREFIX, set up beforehand
// (scripts/test-windows.sh does both).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/program_in_tmux.h"
#include "testing/temp_dir.h"
#include "testing/tmux_session.h"

namespace {

using testing_support::CommandOutput;
using testing_support::ProgramInFolderCommand;
using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::ShellQuote;
using testing_support::TmuxSession;
using testing_support::WaitForExitStatus;
using testing_support::WriteFileBytes;

// Wine's first start in a session takes a second or two; on a machine busy
// with other builds a screen update under Wine has been seen to take over
// 10 s, so every wait for the program allows this long.
constexpr double kStartSeconds = 30;
constexpr double kScreenSeconds = 30;

std::string Environment(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

// The shell words that start the Windows program under Wine, quiet.
std::string WineCommand() {
  return "env WINEDEBUG=-all WINEPREFIX=" +
         ShellQuote(Environment("WINEPREFIX", "/tmp/zelto-wine-console")) + " " +
         ShellQuote(Environment("ZELTO_WINE", "/usr/lib/wine/wine64")) + " " +
         ShellQuote(Environment("ZELTO_WINDOWS_SCHEDULE_BUILDER", ZELTO_WINDOWS_SCHEDULE_BUILDER));
}

class WineTerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    season_ = ReadFileBytes(ZELTO_USAGE_EXAMPLE);
    ASSERT_FALSE(season_.empty());
    WriteFileBytes(dir_.File("in.txt"), season_);
  }

  // The program under Wine in the test folder, its end noted
  // (testing/program_in_tmux.h).
  std::string Command(const std::string& redirect = "") {
    return ProgramInFolderCommand(dir_.path(), WineCommand(), redirect);
  }

  // Waits for the program to end; its exit status, or -1 when it did not.
  int ExitStatus() { return WaitForExitStatus(dir_.path(), kScreenSeconds); }

  // The screen the in-memory console shows after the same dialogue.
  std::vector<std::string> ExpectedScreen(int width, int height, const std::string& typed) {
    return testing_support::ExpectedScreen(width, height, typed, season_);
  }

  // The schedule file the Linux program writes for the same input.
  std::string LinuxSchedule() {
    ScopedTempDir twin;
    WriteFileBytes(twin.File("in.txt"), season_);
    CommandOutput("cd " + ShellQuote(twin.path().string()) +
                  " && printf 'in.txt\\nout.SCH\\n\\n' | setsid -w " +
                  ShellQuote(ZELTO_SCHEDULE_BUILDER) + " > /dev/null 2>&1");
    return ReadFileBytes(twin.File("out.SCH"));
  }

  // Types the two names and waits for the closing lines.
  void Answer(TmuxSession& tmux, const std::string& input, const std::string& output) {
    ASSERT_TRUE(tmux.WaitFor("Input File:", kStartSeconds)) << tmux.ScreenText();
    tmux.Type(input);
    tmux.Keys("Enter");
    // The prompt's end: in a narrow window the prompt wraps before it.
    ASSERT_TRUE(tmux.WaitFor("extension):", kScreenSeconds)) << tmux.ScreenText();
    tmux.Type(output);
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.WaitFor("Hit any key to exit", kScreenSeconds)) << tmux.ScreenText();
  }

  ScopedTempDir dir_;
  std::string season_;
};

TEST_F(WineTerminalTest, UsageExampleGivesTheLinuxScreenAndTheLinuxScheduleFile) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:", kStartSeconds)) << tmux.ScreenText();
  tmux.Type("in.tq");
  tmux.Keys("BSpace");
  tmux.Type("xt");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("(include .SCH extension):", kScreenSeconds)) << tmux.ScreenText();
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit", kScreenSeconds)) << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), ExpectedScreen(80, 30, "in.txt\rout.SCH\r"));
  // One key does not end the program; Enter does.
  tmux.Type("x");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0) << tmux.ScreenText();
  const std::string schedule = ReadFileBytes(dir_.File("out.SCH"));
  EXPECT_EQ(schedule.size(), 3u * 430);
  EXPECT_EQ(schedule, LinuxSchedule());
}

TEST_F(WineTerminalTest, SmallWindowWrapsAndScrollsAsOnLinux) {
  TmuxSession tmux(Command(), 30, 8);
  Answer(tmux, "in.txt", "out.SCH");
  ASSERT_FALSE(HasFatalFailure());
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(tmux.Screen(), ExpectedScreen(30, 8, "in.txt\rout.SCH\r\r"));
}

TEST_F(WineTerminalTest, MissingInputIsShownAndExitsWithOne) {
  TmuxSession tmux(Command(), 80, 30);
  Answer(tmux, "nothere.txt", "out.SCH");
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_NE(tmux.ScreenText().find("Cannot open input file \"nothere.txt\": File not found\n----\n"),
            std::string::npos)
      << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.SCH")));
}

// Standard input redirected cannot be shown here: Wine's console reads the
// terminal only while standard input is that terminal, so no typed key would
// reach the console. console_device_win32_test.cc puts keys into the
// console's input buffer itself to show that the keyboard is "CONIN$".
TEST_F(WineTerminalTest, RedirectedStandardOutputGetsNothing) {
  TmuxSession tmux(Command("> stdout.txt"), 80, 30);
  Answer(tmux, "in.txt", "out.SCH");
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")).size(), 3u * 430);
  EXPECT_EQ(ReadFileBytes(dir_.File("stdout.txt")), "");
}

TEST_F(WineTerminalTest, ControlKeysArrowsAndAltLettersAddNothing) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:", kStartSeconds));
  tmux.Type("in");
  // No C-c: under Wine it ends the program whatever the input mode. No
  // Escape and no Alt+letter either: a lone ESC byte runs into whatever the
  // terminal sends next, and Wine then reads Escape and Ctrl+Left as Alt+ESC
  // and the text "[1;5D", or Alt+x as Escape and "x", as the bytes happen
  // to be read together or apart. The console device's own test gives Alt
  // key records; the line input's test gives Escape.
  for (const char* key : {"Left", "Up", "F1", "F12", "Home", "End", "DC", "IC", "PPage", "Tab",
                          "C-a", "C-z", "C-Left"}) {
    tmux.Keys(key);
  }
  tmux.Type(".txt");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("extension):", kScreenSeconds));
  EXPECT_NE(tmux.ScreenText().find("\nInput File: in.txt\n"), std::string::npos)
      << tmux.ScreenText();
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor("Hit any key to exit", kScreenSeconds));
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(WineTerminalTest, AccentedNameOpensTheFileOfThatName) {
  // The console gives e-acute as the OEM byte 0x82; the file system must
  // see the ANSI e-acute, which Wine stores as UTF-8.
  WriteFileBytes(dir_.File("caf\xc3\xa9.txt"), season_);
  TmuxSession tmux(Command(), 80, 30);
  Answer(tmux, "caf\xc3\xa9.txt", "s\xc3\xa9" "ason.SCH");
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_NE(tmux.ScreenText().find("Input File: caf\xc3\xa9.txt\n"), std::string::npos)
      << tmux.ScreenText();
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("s\xc3\xa9" "ason.SCH")).size(), 3u * 430);
}

TEST_F(WineTerminalTest, PastedPathInDoubleQuotesOpensThatFile) {
  // Explorer's "Copy as path" wraps the whole path in double quotes; Wine
  // shows this machine's / as drive Z:.
  std::string folder = "Z:" + dir_.path().string();
  for (char& c : folder) c = c == '/' ? '\\' : c;
  TmuxSession tmux(Command(), 120, 30);
  Answer(tmux, "\"" + folder + "\\in.txt\"", "\"" + folder + "\\out.SCH\"");
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), LinuxSchedule());
}

TEST(WineStreamMode, WorksWithNoConsoleAtAll) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("in.txt"), ReadFileBytes(ZELTO_USAGE_EXAMPLE));
  std::string command = "cd " + ShellQuote(dir.path().string()) +
                        " && printf 'in.txt\\r\\nout.SCH\\r\\n\\r\\n' | setsid -w " +
                        WineCommand() + " > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "0\n");
  std::string transcript = ReadFileBytes(dir.File("transcript.txt"));
  EXPECT_NE(transcript.find("Zelto Schedule Builder\r\n"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Input File: in.txt\r\n"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Done\r\n----\r\nHit any key to exit"), std::string::npos)
      << transcript;
  EXPECT_EQ(ReadFileBytes(dir.File("out.SCH")).size(), 3u * 430);

  // Standard input running out ends every read: the program never hangs.
  command = "cd " + ShellQuote(dir.path().string()) + " && setsid -w " + WineCommand() +
            " < /dev/null > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "1\n");
}

}  // namespace
