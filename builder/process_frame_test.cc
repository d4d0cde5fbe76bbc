// The whole interactive run on the in-memory console: the screen it shows,
// the files it writes and the exit code.
#include "builder/process_frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "builder/introduction.h"
#include "console/console_state.h"
#include "testing/memory_console_device.h"
#include "frame/error_word.h"
#include "testing/temp_dir.h"

namespace builder {
namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

// The introduction as rows of the screen.
const std::vector<std::string> kIntroductionRows(std::begin(kIntroduction),
                                                 std::end(kIntroduction));

class ProcessFrameTest : public ::testing::Test {
 protected:
  ProcessFrameTest() : old_dir_(std::filesystem::current_path()) {
    // Relative names keep the typed lines short, as a user's would be.
    std::error_code error;
    std::filesystem::current_path(dir_.path(), error);
    EXPECT_FALSE(error) << error.message();
  }
  ~ProcessFrameTest() override {
    std::error_code error;
    std::filesystem::current_path(old_dir_, error);
    EXPECT_FALSE(error) << error.message();
    console::ResetConsoleStateForTesting();
  }

  // Runs the program with `typed` waiting in the keyboard queue; the
  // keyboard closes once it is used up.
  int Run(const std::string& typed) {
    device_.TypeText(typed);
    device_.CloseKeyboard();
    return RunProcess(&device_);
  }

  std::vector<std::string> Screen() {
    std::vector<std::string> rows;
    for (int y = 0; y < device_.height(); ++y) rows.push_back(device_.TrimmedRow(y));
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
  }

  ScopedTempDir dir_;
  std::filesystem::path old_dir_;
  console::MemoryConsoleDevice device_{100, 40};
};

TEST_F(ProcessFrameTest, ShowsTheDialogueAndBuildsTheSchedule) {
  WriteFileBytes("in.txt", "[04/10/45]\r\n45nnewyo 45nstlou\r\n");
  WriteFileBytes("junk", "x");
  device_.FillCharacters('#', 100 * 40);  // whatever was on the screen before
  EXPECT_EQ(Run("in.txt\rout.SCH\r\r"), 0);

  std::vector<std::string> expected = kIntroductionRows;
  expected.push_back("Input File: in.txt");
  expected.push_back("Output Schedule File (include .SCH extension): out.SCH");
  expected.push_back("Done");
  expected.push_back("----");
  expected.push_back("Hit any key to exit");
  EXPECT_EQ(Screen(), expected);
  EXPECT_EQ(device_.cursor_y(), static_cast<int>(expected.size()));  // Enter ended the last row
  EXPECT_EQ(ReadFileBytes("out.SCH").size(), 860u);
}

TEST_F(ProcessFrameTest, TheLastReadTakesOnlyEnterAndKeysAreEchoed) {
  WriteFileBytes("in.txt", "[04/10/45]\r\n");
  EXPECT_EQ(Run("in.txt\rout.SCH\rxy\bz\r"), 0);
  std::vector<std::string> screen = Screen();
  ASSERT_EQ(screen.size(), kIntroductionRows.size() + 5);
  EXPECT_EQ(screen.back(), "Hit any key to exitxz");
  EXPECT_EQ(device_.cursor_y(), static_cast<int>(screen.size()));  // Enter moved to a new row
}

TEST_F(ProcessFrameTest, FailuresReplaceDoneAndSetTheExitCode) {
  EXPECT_EQ(Run("missing.txt\rout.SCH\r\r"), 1);
  std::vector<std::string> screen = Screen();
  ASSERT_GE(screen.size(), 3u);
  EXPECT_EQ(screen[kIntroductionRows.size() + 2], "Cannot open input file \"missing.txt\": File not found");
  EXPECT_EQ(screen[kIntroductionRows.size() + 3], "----");
  EXPECT_EQ(screen[kIntroductionRows.size() + 4], "Hit any key to exit");
  EXPECT_FALSE(std::filesystem::exists("out.SCH"));
  EXPECT_EQ(frame::LastErrorCode(), 53);
}

TEST_F(ProcessFrameTest, AnEmptyOutputNameIsReportedAndWarningsComeBeforeDone) {
  WriteFileBytes("in.txt", "stray\r\n[04/10/45]\r\n");
  EXPECT_EQ(Run("in.txt\r\r\r"), 1);
  std::vector<std::string> screen = Screen();
  EXPECT_EQ(screen[kIntroductionRows.size() + 1], "Output Schedule File (include .SCH extension):");
  EXPECT_EQ(screen[kIntroductionRows.size() + 2], "Cannot open schedule file \"\": Bad file name");

  WriteFileBytes("in.txt", "stray\r\n[04/10/45]\r\n");
  console::ResetConsoleStateForTesting();
  console::MemoryConsoleDevice second(100, 40);
  second.TypeText("in.txt\rout.SCH\r\r");
  second.CloseKeyboard();
  EXPECT_EQ(RunProcess(&second), 0);
  EXPECT_EQ(second.TrimmedRow(static_cast<int>(kIntroductionRows.size()) + 2),
            "line 1: game line before the first date skipped: \"stray\"");
  EXPECT_EQ(second.TrimmedRow(static_cast<int>(kIntroductionRows.size()) + 3), "Done");
}

}  // namespace
}  // namespace builder
