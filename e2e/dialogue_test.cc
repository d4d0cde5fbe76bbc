// The dialogue as a person meets it, each scenario written once and run on
// every program that shows it: this build's schedule-builder in tmux, and,
// when the Windows stage names one in ZELTO_WINDOWS_SCHEDULE_BUILDER,
// schedule-builder.exe under Wine in tmux (Wine turns the terminal into a
// console). The screen must be the one the in-memory console computes for
// the same keys, and where a screen is kept in e2e/screens/ that one too;
// the schedule file must be byte for byte this build's.
//
// The Wine loader is $ZELTO_WINE (else /usr/lib/wine/wine64, which hands an
// i686 program to the 32-bit loader) and the prefix $WINEPREFIX, set up
// beforehand (the Windows builds' wine_prefix_start test fixture does both).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/stored_screens.h"
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

// One program the scenarios run.
struct Program {
  std::string name;       // for the test's name: "linux" or "wine"
  std::string command;    // the shell words that start it
  bool wine = false;      // it is the Windows program under Wine
  double start_seconds;   // the first screen may take this long
  double screen_seconds;  // and every later one
};

std::string Environment(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

// This build's program always; the Windows one when the stage names it.
// Wine's first start takes a few seconds, and on a machine busy with other
// builds a screen update under Wine has been seen to take over 10 s.
std::vector<Program> Programs() {
  std::vector<Program> programs{{"linux", ShellQuote(ZELTO_SCHEDULE_BUILDER), false, 10, 10}};
  std::string exe = Environment("ZELTO_WINDOWS_SCHEDULE_BUILDER", "");
  if (!exe.empty()) {
    programs.push_back({"wine",
                        "env WINEDEBUG=-all WINEPREFIX=" +
                            ShellQuote(Environment("WINEPREFIX", "/tmp/zelto-wine-console")) + " " +
                            ShellQuote(Environment("ZELTO_WINE", "/usr/lib/wine/wine64")) + " " +
                            ShellQuote(exe),
                        true, 30, 30});
  }
  return programs;
}

class DialogueTest : public ::testing::TestWithParam<Program> {
 protected:
  void SetUp() override {
    season_ = ReadFileBytes(ZELTO_USAGE_EXAMPLE);
    ASSERT_FALSE(season_.empty());
    WriteFileBytes(dir_.File("in.txt"), season_);
  }

  // The program in the test folder, its end noted (testing/program_in_tmux.h).
  std::string Command(const std::string& redirect = "") {
    return ProgramInFolderCommand(dir_.path(), GetParam().command, redirect);
  }

  // Waits for the program to end; its exit status, or -1 when it did not.
  int ExitStatus() { return WaitForExitStatus(dir_.path(), GetParam().screen_seconds); }

  // The screen the in-memory console shows after the same dialogue.
  std::vector<std::string> ExpectedScreen(int width, int height, const std::string& typed) {
    return testing_support::ExpectedScreen(width, height, typed, season_);
  }

  // The schedule file this build's program writes for the same input.
  std::string LinuxSchedule() {
    ScopedTempDir twin;
    WriteFileBytes(twin.File("in.txt"), season_);
    CommandOutput("cd " + ShellQuote(twin.path().string()) +
                  " && printf 'in.txt\\nout.SCH\\n\\n' | setsid -w " +
                  ShellQuote(ZELTO_SCHEDULE_BUILDER) + " > /dev/null 2>&1");
    return ReadFileBytes(twin.File("out.SCH"));
  }

  bool WaitForFirstScreen(TmuxSession& tmux) {
    return tmux.WaitFor("Input File:", GetParam().start_seconds);
  }
  bool WaitFor(TmuxSession& tmux, const std::string& text) {
    return tmux.WaitFor(text, GetParam().screen_seconds);
  }

  // Types the two names and waits for the closing lines.
  void Answer(TmuxSession& tmux, const std::string& input, const std::string& output) {
    ASSERT_TRUE(WaitForFirstScreen(tmux)) << tmux.ScreenText();
    tmux.Type(input);
    tmux.Keys("Enter");
    // The prompt's end: in a narrow window the prompt wraps before it.
    ASSERT_TRUE(WaitFor(tmux, "extension):")) << tmux.ScreenText();
    tmux.Type(output);
    tmux.Keys("Enter");
    ASSERT_TRUE(WaitFor(tmux, "Hit any key to exit")) << tmux.ScreenText();
  }

  // Whether the terminal's modes are the ones found before the program.
  bool ModesGivenBack() {
    return ReadFileBytes(dir_.File("modes.after")) == ReadFileBytes(dir_.File("modes.before"));
  }

  ScopedTempDir dir_;
  std::string season_;
};

TEST_P(DialogueTest, UsageExampleGivesTheScreenAndTheScheduleOfThisBuild) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(WaitForFirstScreen(tmux)) << tmux.ScreenText();
  tmux.Type("in.tq");
  tmux.Keys("BSpace");
  tmux.Type("xt");
  tmux.Keys("Enter");
  ASSERT_TRUE(WaitFor(tmux, "(include .SCH extension):")) << tmux.ScreenText();
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(WaitFor(tmux, "Hit any key to exit")) << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), ExpectedScreen(80, 30, "in.txt\rout.SCH\r"));
  // One key does not end the program; Enter does.
  tmux.Type("x");
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0) << tmux.ScreenText();
  const std::string schedule = ReadFileBytes(dir_.File("out.SCH"));
  EXPECT_EQ(schedule.size(), 3u * 430);
  EXPECT_EQ(schedule, LinuxSchedule());
  if (!GetParam().wine) {
    EXPECT_TRUE(ModesGivenBack());
  }
}

TEST_P(DialogueTest, SmallWindowWrapsAndScrolls) {
  TmuxSession tmux(Command(), 30, 8);
  Answer(tmux, "in.txt", "out.SCH");
  ASSERT_FALSE(HasFatalFailure());
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  // The final Enter scrolls the small window once more, on every console.
  EXPECT_EQ(tmux.Screen(), ExpectedScreen(30, 8, "in.txt\rout.SCH\r\r"));
  EXPECT_EQ(tmux.Screen(), e2e::StoredScreen("wrap-scroll-30x8"));
}

TEST_P(DialogueTest, MissingInputIsShownAndExitsWithOne) {
  TmuxSession tmux(Command(), 80, 30);
  Answer(tmux, "nothere.txt", "out.SCH");
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_NE(tmux.ScreenText().find("Cannot open input file \"nothere.txt\": File not found\n----\n"),
            std::string::npos)
      << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen(), e2e::StoredScreen("failure-closing-80x30"));
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.SCH")));
}

// Standard input redirected cannot be shown for Wine: its console reads the
// terminal only while standard input is that terminal, so no typed key
// would reach it (console_device_win32_test.cc puts keys into the console's
// input buffer itself to show that the keyboard is "CONIN$").
TEST_P(DialogueTest, RedirectedStandardOutputGetsNothing) {
  TmuxSession tmux(Command("> stdout.txt"), 80, 30);
  Answer(tmux, "in.txt", "out.SCH");
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")).size(), 3u * 430);
  EXPECT_EQ(ReadFileBytes(dir_.File("stdout.txt")), "");
}

TEST_P(DialogueTest, ControlKeysArrowsAndAltLettersAddNothing) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(WaitForFirstScreen(tmux));
  tmux.Type("in");
  std::vector<const char*> keys{"Left", "Up",    "F1", "F12", "Home", "End",   "DC",
                                "IC",   "PPage", "Tab", "C-a", "C-z",  "C-Left"};
  // Not under Wine: C-c ends a program there whatever the input mode, and a
  // lone ESC byte (Escape, Alt+x) runs into whatever the terminal sends next,
  // so Wine reads Escape and Ctrl+Left as Alt+ESC and the text "[1;5D" as
  // the bytes happen to be read together or apart. The console device's
  // own test gives Alt key records; the line input's test gives Escape.
  if (!GetParam().wine) keys.insert(keys.end(), {"C-c", "C-j", "Escape", "M-x"});
  for (const char* key : keys) tmux.Keys(key);
  tmux.Type(".txt");
  tmux.Keys("Enter");
  ASSERT_TRUE(WaitFor(tmux, "extension):"));
  EXPECT_NE(tmux.ScreenText().find("\nInput File: in.txt\n"), std::string::npos)
      << tmux.ScreenText();
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(WaitFor(tmux, "Hit any key to exit"));
  EXPECT_NE(tmux.ScreenText().find("\nDone\n"), std::string::npos) << tmux.ScreenText();
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0);
}

// On a terminal the typed e-acute is code page 437's 0x82 and the file
// system has the UTF-8 name; under Wine the console's 0x82 must become the
// ANSI e-acute, which Wine stores as UTF-8 too.
TEST_P(DialogueTest, AccentedNameOpensTheFileOfThatName) {
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

// Explorer's "Copy as path" wraps the whole path in double quotes; no
// Windows name holds one, so the Windows program takes the path without
// them. (A POSIX name may hold a double quote, and is taken as typed.)
TEST_P(DialogueTest, PastedPathInDoubleQuotesOpensThatFileOnWindows) {
  if (!GetParam().wine) GTEST_SKIP() << "a Windows name holds no double quote; POSIX names may";
  // Wine shows this machine's / as drive Z:.
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

// With no terminal at all the names come from standard input as lines and
// the text goes out as lines (CR LF from the Windows program); standard
// input running out ends every read, so the program never hangs.
TEST_P(DialogueTest, WorksWithNoTerminalAtAll) {
  const std::string end = GetParam().wine ? "\r\n" : "\n";
  std::string command = "cd " + ShellQuote(dir_.path().string()) +
                        " && printf 'in.txt\\r\\nout.SCH\\r\\n\\r\\n' | setsid -w " +
                        GetParam().command + " > transcript.txt 2>&1; echo $?";
  if (!GetParam().wine) {
    command = "cd " + ShellQuote(dir_.path().string()) + " && printf 'in.txt\\nout.SCH\\n\\n' | " +
              "setsid -w " + GetParam().command + " > transcript.txt 2>&1; echo $?";
  }
  EXPECT_EQ(CommandOutput(command), "0\n");
  std::string transcript = ReadFileBytes(dir_.File("transcript.txt"));
  EXPECT_NE(transcript.find("Zelto Schedule Builder" + end), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Input File: in.txt" + end), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Done" + end + "----" + end + "Hit any key to exit"), std::string::npos)
      << transcript;
  EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), LinuxSchedule());

  command = "cd " + ShellQuote(dir_.path().string()) + " && setsid -w " + GetParam().command +
            " < /dev/null > transcript.txt 2>&1; echo $?";
  EXPECT_EQ(CommandOutput(command), "1\n");
  EXPECT_NE(ReadFileBytes(dir_.File("transcript.txt")).find("Cannot open input file \"\": Bad file name"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Programs, DialogueTest, ::testing::ValuesIn(Programs()),
                         [](const ::testing::TestParamInfo<Program>& info) {
                           return info.param.name;
                         });

}  // namespace
