// The builder end to end on real files: grouping, columns, the reading
// rules as they show in the schedule, and the failures it reports.
#include "schedule/schedule_builder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

#include "files/platform_file.h"
#include "files/read_field.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "schedule/messages.h"
#include "schedule/schedule_record.h"
#include "testing/expected_records.h"
#include "testing/process_state.h"
#include "testing/temp_dir.h"

namespace schedule {
namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

constexpr char kUsageExample[] =
    "[04/10/45]\r\n45nnewyo 45nstlou\r\n45npitts 45nchica\r\n45nnewyo 45nstlou\r\n"
    "[04/11/45]\r\n45nnewyo 45nstlou\r\n45npitts 45nchica\r\n45nnewyo 45nstlou\r\n";

class BuilderTest : public ::testing::Test {
 protected:
  // Other suites in this binary may leave a code behind; each test here
  // starts from a clear error word, whatever order they run in.
  void SetUp() override { testing_support::ResetProcessState(); }
  void TearDown() override { testing_support::ResetProcessState(); }

  // Builds `text` and returns the schedule file's bytes; the outcome is kept.
  std::string Build(const std::string& text, BuildBuffers buffers = {}) {
    WriteFileBytes(input_, text);
    outcome_ = BuildSchedule(input_, output_, buffers);
    EXPECT_FALSE(testing_support::FileOpen(kInputFile) || testing_support::FileOpen(kScheduleFile));
    return ReadFileBytes(output_);
  }

  ScopedTempDir dir_;
  std::string input_ = dir_.File("season.txt");
  std::string output_ = dir_.File("season.SCH");
  BuildOutcome outcome_;
};

TEST_F(BuilderTest, UsageExampleGivesHeaderAndTwoDates) {
  std::string games = Game("45nnewyo", "45nstlou");
  std::vector<std::string> three = {games, Game("45npitts", "45nchica"), games};
  EXPECT_EQ(Build(kUsageExample), kHeader + DateRecord("04/10/45", three) + DateRecord("04/11/45", three));
  EXPECT_TRUE(outcome_.Succeeded());
  EXPECT_TRUE(outcome_.warnings.empty());
  EXPECT_EQ(outcome_.records_written, 3);
  EXPECT_EQ(frame::ErrorWord(), 0u);
}

TEST_F(BuilderTest, LfLineEndsReadAsLines) {
  std::string lf = kUsageExample;
  for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  EXPECT_EQ(Build(lf), Build(kUsageExample));
}

TEST_F(BuilderTest, ColumnsSpillOptionsAndExtraText) {
  std::string text =
      "[04/10/45]\r\n"
      "longername home     DH NIGHT GAME and more\r\n"  // 9 characters spill
      "   indented visitor\r\n"                         // leading blanks go
      "vis      hom      opts\r\n";
  EXPECT_EQ(Build(text).substr(kRecordLength),
            DateRecord("04/10/45", {Game("longerna", "e home  ", "  DH NIGHT G"),
                                    Game("indented", "visitor"), Game("vis", "hom", "opts")}));
}

TEST_F(BuilderTest, SixteenGamesKeepFifteenAndWarn) {
  std::string text = "[05/01/45]\r\n";
  std::vector<std::string> kept;
  for (int i = 1; i <= 17; ++i) {
    std::string visitor = "team" + std::to_string(i);
    text += visitor + std::string(9 - visitor.size(), ' ') + "home\r\n";
    if (i <= 15) kept.push_back(Game(visitor, "home"));
  }
  text += "[05/02/45]\r\nlast     game\r\n";
  EXPECT_EQ(Build(text), kHeader + DateRecord("05/01/45", kept) +
                             DateRecord("05/02/45", {Game("last", "game")}));
  ASSERT_EQ(outcome_.warnings.size(), 1u);
  EXPECT_EQ(outcome_.warnings[0],
            (BuildWarning{17, "date \"05/01/45\" has 17 games: a date holds 15; this one and the 1 "
                                "after it are left out"}));
  EXPECT_TRUE(outcome_.Succeeded());
}

TEST_F(BuilderTest, BlankLinesInsideADateAreBlankGames) {
  std::string text = "[04/10/45]\r\na        b\r\n\r\n     \r\nc        d\r\n";
  EXPECT_EQ(Build(text).substr(kRecordLength),
            DateRecord("04/10/45", {Game("a", "b"), "", "", Game("c", "d")}));
}

TEST_F(BuilderTest, DateLinesGroupSanely) {
  // A date line after a date line: the first date has no games, the second
  // starts its own record. A repeated date goes on filling the same record.
  std::string text =
      "[04/10/45]\r\n[04/11/45]\r\na        b\r\n[04/11/45]\r\nc        d\r\n"
      "   [04/12/45]\r\n";  // an indented date line is still one; it ends the file
  EXPECT_EQ(Build(text), kHeader + DateRecord("04/10/45", {}) +
                             DateRecord("04/11/45", {Game("a", "b"), Game("c", "d")}) +
                             DateRecord("04/12/45", {}));
  // Short date texts are padded to 8 characters, on the first line as on any.
  EXPECT_EQ(Build("[4/1/45]\r\nx        y\r\n[4/1/45]\r\nz        w\r\n"),
            kHeader + DateRecord("4/1/45]", {Game("x", "y"), Game("z", "w")}));
}

TEST_F(BuilderTest, LinesBeforeTheFirstDateAreSkipped) {
  std::string text = "\r\n   \r\nstray    game\r\n[04/10/45]\r\na        b\r\n";
  EXPECT_EQ(Build(text), kHeader + DateRecord("04/10/45", {Game("a", "b")}));
  ASSERT_EQ(outcome_.warnings.size(), 1u);
  EXPECT_EQ(outcome_.warnings[0],
            (BuildWarning{3, "game line before the first date skipped: \"stray    game\""}));
}

TEST_F(BuilderTest, NoDateLineBuildsNothing) {
  // Names swapped by mistake give a schedule file as the input: it holds no
  // line starting with "[", and nothing may be written over the text.
  for (std::string text : {"", "   ", "\r\n\r\n", "a        b\r\n"}) {
    EXPECT_EQ(Build(text), "") << text;
    ASSERT_EQ(outcome_.failures.size(), 1u);
    // An input of no byte at all is told as empty.
    EXPECT_EQ(DescribeFailure(outcome_.failures[0], "in.txt", "out.SCH"),
              text.empty() ? "Cannot read input file \"in.txt\": It is empty: no date line, nothing to build"
                           : "Cannot read input file \"in.txt\": No date line (a line starting with \"[\"): "
                             "nothing to build");
  }
}

TEST_F(BuilderTest, ReadingRulesShowInTheSchedule) {
  // A comma splits a line; a TAB is dropped; quotes join; 0x1A ends the data;
  // blanks after the last line end add no game.
  std::string text =
      "[04/10/45]\r\n"
      "a        b, c        d\r\n"
      "e\t        f\r\n"
      "\"g,h      i\"\r\n"
      "j        k\r\n   "
      "\x1a" "[04/11/45]\r\nz        z\r\n";
  EXPECT_EQ(Build(text).substr(kRecordLength),
            DateRecord("04/10/45", {Game("a", "b"), Game("c", "d"), Game("e", "f"),
                                    Game("g,h", "i"), Game("j", "k")}));
  EXPECT_EQ(outcome_.records_written, 2);
}

TEST_F(BuilderTest, AnOlderLongerScheduleIsCutToTheNewRecords) {
  WriteFileBytes(output_, std::string(10 * kRecordLength, 'x'));
  EXPECT_EQ(Build(kUsageExample).size(), 3u * kRecordLength);
}

TEST_F(BuilderTest, UnreadableInputLeavesTheScheduleUntouched) {
  WriteFileBytes(output_, "precious");
  outcome_ = BuildSchedule(dir_.File("missing.txt"), output_);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(DescribeFailure(outcome_.failures[0], "missing.txt", "season.SCH"),
            "Cannot open input file \"missing.txt\": File not found");
  EXPECT_EQ(ReadFileBytes(output_), "precious");
  EXPECT_EQ(frame::LastErrorCode(), frame::kFileNotFound);

  // An input that cannot be opened never creates the schedule file.
  std::string fresh = dir_.File("fresh.SCH");
  BuildSchedule("", fresh);
  EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_F(BuilderTest, SameNameForBothFilesKeepsTheInput) {
  WriteFileBytes(input_, kUsageExample);
  outcome_ = BuildSchedule(input_, input_);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(DescribeFailure(outcome_.failures[0], "in", "in"),
            "Cannot open schedule file \"in\": Access denied, or the file is in use");
  EXPECT_EQ(ReadFileBytes(input_), kUsageExample);
}

TEST_F(BuilderTest, ReadOnlyScheduleIsReportedAndKeepsItsBytes) {
  WriteFileBytes(output_, "old schedule");
  chmod(output_.c_str(), 0444);
  // Wine run by root lets a read-only file be written: nothing to check there.
  files::PlatformHandle probe = files::kNoHandle;
  if (files::PlatformOpen(output_, files::Access::kReadWrite, files::Disposition::kOpenExisting,
                          &probe) == 0) {
    files::PlatformClose(probe);
    GTEST_SKIP() << "this platform lets a read-only file be written (Wine run by root)";
  }
  Build(kUsageExample);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(DescribeFailure(outcome_.failures[0], "in", "out"),
            "Cannot write schedule file \"out\": Access denied, or the file is in use");
  EXPECT_EQ(ReadFileBytes(output_), "old schedule");
}

TEST_F(BuilderTest, AReadFailurePartWayStopsTheBuild) {
  std::string text = "[04/10/45]\r\n";
  for (int i = 0; i < 40; ++i) text += "a        b\r\n";
  files::InjectPlatformFault(files::PlatformCall::kReadAt, 2, frame::kDeviceError);
  Build(text);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(DescribeFailure(outcome_.failures[0], "in", "out"),
            "Cannot read input file \"in\": Disk read or write error");
  EXPECT_EQ(outcome_.records_written, 1);  // the header; the date was never complete
}

TEST_F(BuilderTest, GatheredRecordsThatCannotBeWrittenAreReported) {
  // With write-behind the failure surfaces when the records go out, and is
  // still a write failure of the schedule file; the file is not cut.
  WriteFileBytes(output_, std::string(5 * kRecordLength, 'x'));
  files::InjectPlatformFault(files::PlatformCall::kWriteAt, 0, frame::kDiskFull);
  Build(kUsageExample, kBatchBuffers);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(DescribeFailure(outcome_.failures[0], "in", "out"),
            "Cannot write schedule file \"out\": Disk full");
  EXPECT_EQ(ReadFileBytes(output_), std::string(5 * kRecordLength, 'x'));
}

TEST_F(BuilderTest, AnyReadBufferGivesTheSameBytes) {
  std::mt19937 random(20261208);
  const std::string alphabet = "abcxyz0123456789 [],\"\t\r\n\x1a/";
  for (int round = 0; round < 60; ++round) {
    std::string text;
    int lines = static_cast<int>(random() % 200);
    for (int line = 0; line < lines; ++line) {
      if (random() % 6 == 0) {
        text += "[0" + std::to_string(random() % 10) + "/1" + std::to_string(random() % 10) + "/45]";
      } else {
        int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) text += alphabet[random() % (round % 2 ? 14 : alphabet.size())];
      }
      text += random() % 3 ? "\r\n" : "\n";
    }
    std::string small = Build(text);
    int small_records = outcome_.records_written;
    EXPECT_EQ(small.size() % kRecordLength, 0u);
    EXPECT_EQ(Build(text, kBatchBuffers), small) << "round " << round;
    EXPECT_EQ(Build(text, {1, 430 * 2}), small) << "round " << round;
    EXPECT_EQ(outcome_.records_written, small_records);
  }
}

}  // namespace
}  // namespace schedule

namespace schedule {
namespace {

// What a person's editor saves: a byte-order mark, UTF-16, a schedule file
// given as the text by swapped names.
TEST_F(BuilderTest, EncodingsAndSwappedNames) {
  const std::string usage_schedule = Build(kUsageExample);
  // Notepad's "UTF-8 with BOM": the mark is skipped, nothing is lost.
  EXPECT_EQ(Build("\xEF\xBB\xBF" + std::string(kUsageExample)), usage_schedule);
  EXPECT_TRUE(outcome_.Succeeded());
  EXPECT_TRUE(outcome_.warnings.empty());
  // UTF-16 with and without its mark builds nothing and says what it is.
  std::string utf16;
  for (char c : std::string("[04/10/45]\r\na        b\r\n")) utf16 += std::string{c, '\0'};
  for (const std::string& text : {"\xFF\xFE" + utf16, utf16, "\xFE\xFF" + utf16.substr(1)}) {
    WriteFileBytes(output_, "old");
    Build(text);
    ASSERT_EQ(outcome_.failures.size(), 1u);
    EXPECT_EQ(DescribeFailure(outcome_.failures[0], "in.txt", "out.SCH"),
              "Cannot read input file \"in.txt\": It is UTF-16 text: save it as ANSI or UTF-8");
    EXPECT_EQ(ReadFileBytes(output_), "old");
  }
  // The names swapped: the schedule file is read as the text and refused;
  // the "output", really the hand-written text, keeps its bytes.
  WriteFileBytes(dir_.File("text.txt"), kUsageExample);
  outcome_ = BuildSchedule(output_, dir_.File("text.txt"));
  WriteFileBytes(output_, usage_schedule);
  outcome_ = BuildSchedule(output_, dir_.File("text.txt"));
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(outcome_.failures[0].code, frame::kScheduleFileAsInput);
  EXPECT_EQ(ReadFileBytes(dir_.File("text.txt")), kUsageExample);
}

// What the reading swallows is told, with its line.
TEST_F(BuilderTest, SwallowedTextIsWarnedOfWithItsLine) {
  Build("[04/10/45]\r\na        b\r\n\"c        d\r\n[04/11/45]\r\ne        f\r\n");
  ASSERT_EQ(outcome_.warnings.size(), 1u);
  EXPECT_EQ(DescribeWarning(outcome_.warnings[0]),
            "line 3: a double quote opens a line that runs to the end of the file: everything "
            "after it is one line");
  Build("[04/10/45]\r\na        b\r\n\x1a[04/11/45]\r\n");
  ASSERT_EQ(outcome_.warnings.size(), 1u);
  EXPECT_EQ(DescribeWarning(outcome_.warnings[0]),
            "line 3: a Ctrl+Z byte (0x1A) ends the data: the 12 bytes after it are never read");
  // A closing Ctrl+Z, as old editors write it, swallows nothing.
  Build("[04/10/45]\r\na        b\r\n\x1a");
  EXPECT_TRUE(outcome_.warnings.empty());
  // A name whose 8 bytes end inside a UTF-8 character is stored cut, and said;
  // one that ends with its character whole is not.
  Build("[04/10/45]\r\nabcdefg\xC3\xBC b\r\nabcdef\xC3\xBC b\r\n");
  ASSERT_EQ(outcome_.warnings.size(), 1u);
  EXPECT_EQ(DescribeWarning(outcome_.warnings[0]),
            "line 2: visitor name \"abcdefg\\xC3\" ends inside a character: 8 bytes cut it in two");
}

// A line longer than any schedule text has ends the build: reading keeps
// what the build needs, never the whole of a binary file or a device.
TEST_F(BuilderTest, AnOverlongLineEndsTheBuildNamingItsLine) {
  WriteFileBytes(output_, "old");
  Build("[04/10/45]\r\na        b\r\n" + std::string(files::kMaxFieldLength + 1, 'x') + "\r\n");
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(DescribeFailure(outcome_.failures[0], "in.txt", "out.SCH"),
            "Cannot read input file \"in.txt\": line 3: A line longer than 1 MiB: not a schedule text");
  EXPECT_EQ(ReadFileBytes(output_), "old");
  // /dev/zero never ends: the build stops all the same.
  outcome_ = BuildSchedule("/dev/zero", output_);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(outcome_.failures[0].code, frame::kFieldTooLong);
  EXPECT_EQ(ReadFileBytes(output_), "old");
}

// The words of a complete build, of games left out, of bytes never read and
// of what was not shown: one and many.
TEST(BuildReport, CountsAreWordedForOneAndMany) {
  EXPECT_EQ(RecordsWrittenText(1), "1 record written (the header)");
  EXPECT_EQ(RecordsWrittenText(2), "2 records written (the header and 1 date)");
  EXPECT_EQ(RecordsWrittenText(5), "5 records written (the header and 4 dates)");
  EXPECT_EQ(FullDateText("05/01/45", 16),
            "date \"05/01/45\" has 16 games: a date holds 15; this one is left out");
  EXPECT_EQ(FullDateText("05/01/45", 18),
            "date \"05/01/45\" has 18 games: a date holds 15; this one and the 2 after it are "
            "left out");
  EXPECT_EQ(EndOfTextText(1, false), "a Ctrl+Z byte (0x1A) ends the data: the 1 byte after it is never read");
  EXPECT_EQ(EndOfTextText(9, true),
            "a Ctrl+Z byte (0x1A) ends the data: the at least 9 bytes after it are never read");
  EXPECT_EQ(NotShownText(1, "error", "errors"), "1 more error is not shown");
  EXPECT_EQ(NotShownText(20, "error", "errors"), "20 more errors are not shown");
}

}  // namespace
}  // namespace schedule
