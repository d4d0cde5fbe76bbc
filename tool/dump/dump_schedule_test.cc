// dump on real files: schedule text that builds the same file again, the
// listing and CSV, and damaged files told by record and offset.
#include "tool/dump/dump_schedule.h"
#include "tool/dump/dump_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "testing/expected_records.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_record.h"
#include "frame/run_time_errors.h"
#include "testing/temp_dir.h"

namespace tool {
namespace {

using schedule::BuildOutcome;
using schedule::BuildSchedule;
using schedule::DateRecord;
using schedule::kHeader;
using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

struct Dumped {
  bool shown;
  std::string out;
  std::string problems;  // one per line
};

Dumped Dump(const std::string& path, DumpFormat format) {
  std::ostringstream out;
  std::vector<std::string> problems;
  Dumped dumped{DumpSchedule(path, format, out, &problems), out.str(), ""};
  for (const std::string& problem : problems) dumped.problems += problem + "\n";
  return dumped;
}

// A schedule text with the awkward parts the builder meets: names of any
// length and any byte, quoted lines, commas, TABs, blank lines, repeated and
// odd dates, leading spaces, every kind of line end, too many games.
std::string RandomScheduleText(std::mt19937* random) {
  auto pick = [&](int n) { return static_cast<int>((*random)() % static_cast<unsigned>(n)); };
  static const std::string kOdd("[\" ,\t\r\n\x1a\0\xff]", 11);
  auto name = [&] {
    std::string text;
    for (int i = pick(12); i > 0; --i) {
      text += pick(5) == 0 ? kOdd[pick(static_cast<int>(kOdd.size()))]
                           : static_cast<char>('a' + pick(26));
    }
    return text;
  };
  static const char* kLineEnds[] = {"\r\n", "\n", "\r"};
  std::string text;
  std::string date = "04/10/45";
  for (int line = pick(60); line > 0; --line) {
    std::string body;
    switch (pick(10)) {
      case 0:
        if (pick(3) != 0)
          date = "0" + std::to_string(1 + pick(9)) + "/1" + std::to_string(pick(10)) + "/45";
        body = "[" + (pick(8) == 0 ? name() : date) + "]";
        break;
      case 1: body = ""; break;
      case 2: body = "\"" + name() + " " + name() + "\""; break;
      default: {
        std::string visitor = name(), home = name();
        visitor.resize(8 + pick(2), ' ');
        body = std::string(pick(3), ' ') + visitor + home + (pick(3) == 0 ? " DH" : "");
      }
    }
    text += body + kLineEnds[pick(3)];
  }
  return text;
}

TEST(DumpText, BuildsTheSameScheduleFileAgain) {
  ScopedTempDir dir;
  std::mt19937 random(20260);
  int quoted_lines = 0, blank_slots = 0;
  for (int round = 0; round < 300; ++round) {
    std::string text = RandomScheduleText(&random);
    WriteFileBytes(dir.File("in.txt"), text);
    BuildOutcome first = BuildSchedule(dir.File("in.txt"), dir.File("first.SCH"));
    // A text with no date line builds nothing, so there is nothing to dump.
    if (!first.Succeeded() && (first.failures[0].code == frame::kNoDateLine ||
                               first.failures[0].code == frame::kEmptyInput)) {
      continue;
    }
    ASSERT_TRUE(first.Succeeded()) << ::testing::PrintToString(text);
    Dumped dumped = Dump(dir.File("first.SCH"), DumpFormat::kText);
    // Every file the builder makes can be written back.
    ASSERT_TRUE(dumped.shown) << dumped.problems << "input: " << ::testing::PrintToString(text);
    WriteFileBytes(dir.File("again.txt"), dumped.out);
    ASSERT_TRUE(BuildSchedule(dir.File("again.txt"), dir.File("again.SCH")).Succeeded());
    ASSERT_EQ(ReadFileBytes(dir.File("again.SCH")), ReadFileBytes(dir.File("first.SCH")))
        << "input: " << ::testing::PrintToString(text)
        << "\ntext: " << ::testing::PrintToString(dumped.out);
    quoted_lines += dumped.out.find("\r\n\"") != std::string::npos;
    blank_slots += dumped.out.find("\r\n\r\n") != std::string::npos;
  }
  // The awkward cases were really met, not generated away.
  EXPECT_GT(quoted_lines, 30);
  EXPECT_GT(blank_slots, 30);
}

TEST(DumpText, QuotesOrTabsWhatAPlainLineWouldLoseAndDropsTrailingBlankSlots) {
  ScopedTempDir dir;
  std::string game_with_breakers(
      "a,b\tc\r\nd\x1a"
      "e",
      10);
  WriteFileBytes(
      dir.File("x.SCH"),
      kHeader + DateRecord("4/1/45] ", {"", "  lead  home", game_with_breakers,
                                        "plain\"q home    DH", "\"q      \"", " \"", "", ""}));
  Dumped dumped = Dump(dir.File("x.SCH"), DumpFormat::kText);
  ASSERT_TRUE(dumped.shown) << dumped.problems;
  EXPECT_EQ(dumped.out,
            "[4/1/45]\r\n\r\n\"  lead   home\"\r\n\"a,b\tc\r\nd \x1a"
            "e\"\r\n"
            "plain\"q  home     DH\r\n\t\"q       \"\r\n\t \"\r\n");
  WriteFileBytes(dir.File("x.txt"), dumped.out);
  ASSERT_TRUE(BuildSchedule(dir.File("x.txt"), dir.File("y.SCH")).Succeeded());
  EXPECT_EQ(ReadFileBytes(dir.File("y.SCH")), ReadFileBytes(dir.File("x.SCH")));

  // A schedule of the header alone is no text at all.
  WriteFileBytes(dir.File("h.SCH"), kHeader);
  dumped = Dump(dir.File("h.SCH"), DumpFormat::kText);
  EXPECT_TRUE(dumped.shown);
  EXPECT_EQ(dumped.out, "");
}

TEST(DumpText, RefusesFilesNoTextBuildsAgainNamingRecordAndSlot) {
  ScopedTempDir dir;
  std::string path = dir.File("x.SCH");
  struct Case {
    std::string records;
    std::string expected;
  } cases[] = {
      {kHeader + DateRecord("04/10/45", {"a       b"}) + DateRecord("04/10/45", {}),
       "record 3 (offset 860): cannot be written back as schedule text: the date repeats"},
      {kHeader + DateRecord("04/10/45", {"a       b", "[x      b"}),
       "record 2, slot 2 (offset 468): cannot be written back as schedule text: the visitor "
       "name starts with \"[\""},
      {kHeader + DateRecord("04/10/45", {"", "", "x\"y,z   b"}),
       "record 2, slot 3 (offset 496): cannot be written back as schedule text: the game holds a "
       "double quote and"},
      {kHeader + DateRecord("0\"/1\t/45", {}), "record 2 (offset 430): cannot be written back"},
      {"D header text" + std::string(417, ' '), "record 1 (offset 0): the header holds bytes"},
  };
  for (const Case& c : cases) {
    WriteFileBytes(path, c.records);
    Dumped dumped = Dump(path, DumpFormat::kText);
    EXPECT_FALSE(dumped.shown);
    EXPECT_EQ(dumped.out, "");  // nothing that would build another file
    EXPECT_NE(dumped.problems.find(path + ": " + c.expected), std::string::npos) << dumped.problems;
    // The other formats show the same file as it is.
    EXPECT_TRUE(Dump(path, DumpFormat::kListing).shown);
  }
}

TEST(Dump, DamagedFilesAreToldByRecordAndOffset) {
  ScopedTempDir dir;
  std::string path = dir.File("x.SCH");
  std::string record = DateRecord("04/10/45", {"a       b"});
  struct Case {
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"", "record 1 (offset 0): the file is empty: the header record is missing"},
      {kHeader + record.substr(0, 70),
       "record 2 (offset 430): the file's 500 bytes are no whole number of 430-byte records: "
       "this record has only 70 bytes"},
      {kHeader + record + std::string(430, '\0') + record,
       "record 3 (offset 860): not a date record: its kind bytes are 00 00, not two spaces"},
      {record + record,
       "record 1 (offset 0): the first record is not the header: its kind "
       "bytes are 20 20, not \"D \""},
      {kHeader + "D " + record.substr(2), "record 2 (offset 430): not a date record"},
  };
  for (const Case& c : cases) {
    WriteFileBytes(path, c.bytes);
    for (DumpFormat format : {DumpFormat::kListing, DumpFormat::kText, DumpFormat::kCsv}) {
      Dumped dumped = Dump(path, format);
      EXPECT_FALSE(dumped.shown);
      EXPECT_EQ(dumped.out, "");
      EXPECT_NE(dumped.problems.find(path + ": " + c.expected), std::string::npos)
          << dumped.problems;
    }
  }

  // A file of zero bytes is told in a few lines, not one per record.
  WriteFileBytes(path, kHeader + std::string(430 * 100, '\0'));
  Dumped zeros = Dump(path, DumpFormat::kListing);
  EXPECT_NE(zeros.problems.find("record 21 (offset 8600)"), std::string::npos);
  EXPECT_EQ(zeros.problems.find("record 22 "), std::string::npos);
  EXPECT_NE(zeros.problems.find(path + ": 80 more problems are not shown\n"), std::string::npos);

  Dumped missing = Dump(dir.File("none.SCH"), DumpFormat::kListing);
  EXPECT_FALSE(missing.shown);
  EXPECT_EQ(missing.problems,
            "Cannot open schedule file \"" + dir.File("none.SCH") + "\": File not found\n");
  EXPECT_NE(Dump(dir.path().string(), DumpFormat::kListing).problems.find("folder"),
            std::string::npos);
}

TEST(Dump, ListingAndCsvShowTheGamesAsStored) {
  ScopedTempDir dir;
  std::string path = dir.File("x.SCH");
  WriteFileBytes(
      path, kHeader + DateRecord("04/10/45", {"45nnewyo45nstlou", "", "a,b     \"home\"  DH"}) +
                DateRecord("04/11/45", {}));
  Dumped listing = Dump(path, DumpFormat::kListing);
  ASSERT_TRUE(listing.shown);
  EXPECT_EQ(listing.out, path +
                             ": 3 records, the header and 2 dates\n"
                             "record 1  header\n"
                             "record 2  date 04/10/45  2 games\n"
                             "   1  45nnewyo  45nstlou\n"
                             "   3  a,b       \"home\"    DH\n"
                             "record 3  date 04/11/45  no games\n");
  Dumped csv = Dump(path, DumpFormat::kCsv);
  ASSERT_TRUE(csv.shown);
  EXPECT_EQ(csv.out,
            "record,date,slot,visitor,home,options\r\n"
            "2,04/10/45,1,45nnewyo,45nstlou,\r\n"
            "2,04/10/45,3,\"a,b\",\"\"\"home\"\"\",DH\r\n");
}

// A name may hold any byte its text held; the listing goes to a terminal,
// so a control byte there is shown, never sent. CSV and text stay exact.
TEST(Dump, ListingShowsControlBytesEscaped) {
  ScopedTempDir dir;
  std::string path = dir.File("x.SCH");
  WriteFileBytes(path, kHeader + DateRecord("04/10/45", {"\x1b]0;TTLEhome    \x07"}));
  Dumped listing = Dump(path, DumpFormat::kListing);
  ASSERT_TRUE(listing.shown);
  EXPECT_NE(listing.out.find("   1  \\x1B]0;TTLE  home      \\x07\n"), std::string::npos)
      << listing.out;
  EXPECT_EQ(listing.out.find('\x1b'), std::string::npos);
  EXPECT_NE(Dump(path, DumpFormat::kCsv).out.find("\x1b]0;TTLE"), std::string::npos);
}

}  // namespace
}  // namespace tool

namespace tool {
namespace {

// A record of random bytes, most of them plain letters and blanks, some of
// them the bytes that make a line awkward to write back.
schedule::ScheduleRecord RandomRecord(std::mt19937* random) {
  static const std::string kBytes("abc  [\" ,\t\r\n\x1a\0]", 16);
  schedule::ScheduleRecord record = schedule::MakeDateRecord("04/10/45");
  auto pick = [&](int n) { return static_cast<int>((*random)() % static_cast<unsigned>(n)); };
  const bool awkward = pick(2) == 0;
  char* bytes = record.date;
  for (size_t i = 0; i < sizeof record - 2; ++i) {
    if (pick(3) == 0) bytes[i] = ' ';
    else bytes[i] = awkward && pick(40) == 0 ? kBytes[static_cast<size_t>(pick(16))] : "xyz "[pick(4)];
  }
  for (schedule::GameSlot& slot : record.games) {
    if (pick(3) == 0) std::memset(&slot, ' ', sizeof slot);
  }
  return record;
}

// The text of a plain record, written the plain way: the date line, then
// each slot up to the last game as its fields with a blank between them and
// the trailing blanks cut, within double quotes when it starts with a blank.
std::string PlainText(const schedule::ScheduleRecord& record) {
  auto trimmed = [](std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  };
  std::string date = trimmed(std::string(record.date, 8));
  std::string text = !date.empty() && date.back() == ']' ? "[" + date
                                                         : "[" + std::string(record.date, 8) + "]";
  text += "\r\n";
  int last = 15;
  while (last > 0 && schedule::IsBlankSlot(record.games[last - 1])) --last;
  for (int slot = 0; slot < last; ++slot) {
    const schedule::GameSlot& game = record.games[slot];
    if (!schedule::IsBlankSlot(game)) {
      std::string line = trimmed(std::string(game.visitor, 8) + " " + std::string(game.home, 8) +
                                 " " + std::string(game.options, 12));
      text += line[0] == ' ' ? "\"" + line + "\"" : line;
    }
    text += "\r\n";
  }
  return text;
}

TEST(DumpText, EveryWayOfAskingAboutARecordAgrees) {
  std::mt19937 random(20261209);
  const char* previous = "04/10/45";
  int plain = 0;
  for (int i = 0; i < 20000; ++i) {
    const schedule::ScheduleRecord record = RandomRecord(&random);
    const bool can = WriteBackProblems(record, i % 2 ? previous : nullptr).empty();
    ASSERT_EQ(CanWriteBack(record, i % 2 ? previous : nullptr), can) << i;
    if (!IsPlainRecord(record)) continue;
    ++plain;
    EXPECT_EQ(CanWritePlainBack(record, i % 2 ? previous : nullptr), can) << i;
    if (!can) continue;
    std::string text;
    AppendPlainWriteBackText(record, &text);
    EXPECT_EQ(text, WriteBackText(record)) << i;
    EXPECT_EQ(text, PlainText(record)) << i;
  }
  EXPECT_GT(plain, 1000);
}

}  // namespace
}  // namespace tool
