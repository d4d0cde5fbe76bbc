// check on small schedule texts: each kind of finding on the line an editor
// shows, and none for a text that builds as it reads.
#include "tool/check/check_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "testing/temp_dir.h"

namespace tool {
namespace {

// The findings for `text` written as a file, as "LINE: message" lines.
std::string Check(const std::string& text) {
  testing_support::ScopedTempDir dir;
  testing_support::WriteFileBytes(dir.File("in.txt"), text);
  std::vector<CheckFinding> findings;
  std::string failure;
  if (!CheckScheduleFile(dir.File("in.txt"), &findings, &failure)) return "failure: " + failure;
  std::string lines;
  for (const CheckFinding& finding : findings) {
    lines += std::to_string(finding.line) + ": " + finding.message + "\n";
  }
  return lines;
}

constexpr char kUsageExample[] =
    "[04/10/45]\r\n45nnewyo 45nstlou\r\n45npitts 45nchica\r\n45nnewyo 45nstlou\r\n"
    "[04/11/45]\r\n45nnewyo 45nstlou\r\n45npitts 45nchica\r\n45nnewyo 45nstlou DH\r\n";

std::string WithLineEnds(std::string text, const std::string& line_end) {
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += line_end.size()) {
    text.replace(at, 2, line_end);
  }
  return text;
}

TEST(Check, TextThatBuildsAsItReadsGivesNoFinding) {
  EXPECT_EQ(Check(kUsageExample), "");
  EXPECT_EQ(Check(WithLineEnds(kUsageExample, "\n")), "");
  EXPECT_EQ(Check(WithLineEnds(kUsageExample, "\r")), "");
  // Indented lines, a repeated date that goes on filling its record, a
  // closing Ctrl+Z and no line end after the last line.
  EXPECT_EQ(Check("  [02/29/44]\r\n  a        b\r\n[02/29/44]\r\nc        d        DH\x1a"), "");
}

TEST(Check, LinesAreCountedAsAnEditorCountsThem) {
  EXPECT_EQ(Check("[04/10/45]\r\na        b\n\rc        d\r\n[4/10/45]\n"),
            "3: a blank line takes game slot 2 of date \"04/10/45\" and leaves it blank\n"
            "5: the \"]\" of date line \"[4/10/45]\" is not in column 10: the date stored is "
            "the 8 characters after the \"[\", \"4/10/45]\"\n");
}

TEST(Check, NamesOutOfTheirColumnsSayWhatIsStored) {
  EXPECT_EQ(Check("[04/10/45]\n45nnewyork 45nstlou\n45npitts 45nchicago DH\n45npitts  45nchica\n"
                  "a        b        options12345 extra\n"),
            "2: visitor name \"45nnewyork\" is longer than 8 bytes; \"45nstlou\" runs into "
            "column 18, which is not read: stored as visitor \"45nnewyo\", home \"k 45nstl\", "
            "options \"u\"\n"
            "3: home team name \"45nchicago\" is longer than 8 bytes: stored as visitor "
            "\"45npitts\", home \"45nchica\", options \"o DH\"\n"
            "4: game \"45npitts\" at \" 45nchic\" on 04/10/45: \"45npitts\" also plays "
            "\"45nchica\" on this date (line 3): two opponents on one date\n"
            "4: \"45nchica\" runs into column 18, which is not read; the home team name starts in "
            "column 11, not 10: stored as visitor \"45npitts\", home \" 45nchic\", options \"\"\n"
            "5: text beyond column 30 is not read: \" extra\"\n");
  // A name of 8 characters in 9 bytes is cut inside its last one; columns
  // are told as a UTF-8 editor shows them, the byte beside.
  EXPECT_EQ(Check("[04/10/45]\nabcdefg\xC3\xBC b\nab\xC3\xBC      xyz\n"),
            "2: visitor name \"abcdefg\u00fc\" is longer than 8 bytes; visitor name \"abcdefg\\xC3\" ends "
            "inside a character: 8 bytes cut it in two: stored as visitor \"abcdefg\\xC3\", home \" b\", "
            "options \"\"\n"
            "3: the home team name starts in column 10 (byte 11), not byte 10: stored as visitor "
            "\"ab\u00fc\", home \" xyz\", options \"\"\n");
}

TEST(Check, DatesThatAreNoDayOrOutOfOrder) {
  EXPECT_EQ(
      Check("[02/30/45]\n[02/29/45]\n[13/01/45]\n[04/1O/45]\n[04/10/45]\n[04/09/45]\n"
            "[05/01/45\n[xx]\n[05/01/45]\n"),
      "1: date 02/30/45 is not a real calendar date\n"
      "2: date 02/29/45 is not a real calendar date\n"
      "3: date 13/01/45 is not a real calendar date\n"
      "4: date \"04/1O/45\" is not written MM/DD/YY; it is stored as it stands\n"
      "6: date 04/09/45 comes before 04/10/45 (line 5), yet its record comes after it: "
      "records keep the order of the file\n"
      "7: the \"]\" of date line \"[05/01/45\" is not in column 10: the date stored is the 8 "
      "characters after the \"[\", \"05/01/45\"\n"
      "8: the \"]\" of date line \"[xx]\" is not in column 10: the date stored is the 8 "
      "characters after the \"[\", \"xx]\"\n"
      "9: date 05/01/45 was already used on line 7: it makes a second record for that date\n");
}

TEST(Check, GamesPastTheFifteenthAndBeforeTheFirstDate) {
  std::string text = "a        b\n\n[04/10/45]\n";
  for (int game = 1; game <= 10; ++game) text += "a        b\n";
  text += "[04/10/45]\n";  // the same date goes on filling the record
  for (int game = 11; game <= 17; ++game) text += "a        b\n";
  EXPECT_EQ(Check(text),
            "1: a game line before the first date is skipped\n"
            "6: game \"a\" at \"b\" on 04/10/45: \"a\" already plays 2 games on this date "
            "(lines 4 and 5): a team plays at most two games a date\n"
            "6: game \"a\" at \"b\" on 04/10/45: \"b\" already plays 2 games on this date "
            "(lines 4 and 5): a team plays at most two games a date\n"
            "20: date \"04/10/45\" has 17 games: a date holds 15; this one and the 1 after "
            "it are left out\n");
  EXPECT_EQ(Check("a        b\n"),
            "1: a game line before the first date is skipped\n"
            "1: no date line: nothing is built\n");
  EXPECT_EQ(Check(""), "1: the file is empty: no date line, nothing is built\n");
}

TEST(Check, CommasQuotesTabsAndCtrlZThatChangeLines) {
  EXPECT_EQ(Check("[04/10/45]\na        b,c        d\ne        f,\n"),
            "2: a comma ends the line: the text after it is read as another line\n"
            "3: a comma ends the line: the text after it is read as another line\n"
            "3: nothing follows the comma: the empty rest is read as a blank line and takes game "
            "slot 4 of date \"04/10/45\"\n");
  EXPECT_EQ(Check("[04/10/45]\n\"a        b\r\nc\" x\n\"e        f\"\n\"g        h\n\ni\n"),
            "2: a line that starts with a double quote runs to the next double quote, on line 3: "
            "lines 2-3 are read as one line, without the quotes; the text after the closing "
            "double quote is read as another line\n"
            "3: game of \"x\" on 04/10/45 names no home team: a game needs two teams\n"
            "3: no home team name in columns 10-17: stored as visitor \"x\", home \"\", "
            "options \"\"\n"
            "4: a line that starts with a double quote is read without its quotes\n"
            "5: a line that starts with a double quote has no closing double quote: the rest of "
            "the file is read as one line\n");
  EXPECT_EQ(Check("[04/10/45]\na\t        b\t\n"),
            "2: 2 TAB bytes are dropped: the text after each moves one column left\n");
  EXPECT_EQ(Check("[04/10/45]\r\n\x1a\r\na        b\r\n"),
            "2: a Ctrl+Z byte (0x1A) ends the data: the 14 bytes after it are never read\n");
}

// Findings that must wait for one still to come (a full date's count, a
// text with no date line) keep the line order, also when there are more of
// them than memory holds and they wait in a temporary file.
TEST(Check, FindingsThatWaitKeepTheLineOrder) {
  for (int left_out : {3, 5000}) {
    std::string text = "[04/10/45]\n";
    for (int game = 1; game <= 15; ++game) text += "a        b\n";
    std::string expected;
    const std::string tab = ": a TAB byte is dropped: the text after it moves one column left\n";
    for (int game = 0; game < left_out; ++game) {
      text += "c\t        d\n";
      // The 16th game's own note was found before its count and stands first.
      if (game > 0) expected += std::to_string(17 + game) + tab;
    }
    text += "[04/11/45]\tx\n";
    const std::string date_line = std::to_string(17 + left_out);
    expected += date_line + tab;
    std::string want = "17: date \"04/10/45\" has " + std::to_string(15 + left_out) +
                       " games: a date holds 15; this one and the " + std::to_string(left_out - 1) +
                       " after it are left out\n";
    std::string found = Check(text);
    // The "a" and "b" of 15 games (a doubleheader, then a third game on
    // lines 4 to 16) and line 17's note come first; the full date stands
    // before what followed it.
    size_t full = found.find(want);
    ASSERT_NE(full, std::string::npos) << left_out;
    const std::string note = "\n17" + tab;
    EXPECT_EQ(found.substr(full - note.size(), note.size()), note);
    EXPECT_TRUE(found.substr(full) == want + expected) << left_out;
  }
  std::string text, expected;
  for (int line = 1; line <= 5000; ++line) {
    text += "a        b\n";
    expected += std::to_string(line) + ": a game line before the first date is skipped\n";
    if (line == 1) expected += "1: no date line: nothing is built\n";
  }
  EXPECT_EQ(Check(text), expected);
}

TEST(Check, UnreadableFileIsNamedWithTheReason) {
  testing_support::ScopedTempDir dir;
  std::vector<CheckFinding> findings;
  std::string failure;
  EXPECT_FALSE(CheckScheduleFile(dir.File("none.txt"), &findings, &failure));
  EXPECT_EQ(failure, "Cannot open input file \"" + dir.File("none.txt") + "\": File not found");
  testing_support::WriteFileBytes(dir.File("in.txt"), "[04/10/45]\r\n[4/11/45]\r\n");
  ASSERT_TRUE(CheckScheduleFile(dir.File("in.txt"), &findings, &failure));
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].line, 2);
}

}  // namespace
}  // namespace tool

namespace tool {
namespace {

// What new users get wrong, each with what is stored instead.
TEST(Check, FindsWhatNewUsersGetWrong) {
  EXPECT_EQ(Check("[04/10/1945]\r\nnyy bos\r\n"),
            "1: the \"]\" of date line \"[04/10/1945]\" is not in column 10: the date stored is "
            "the 8 characters after the \"[\", \"04/10/19\"\n"
            "2: game of \"nyy bos\" on 04/10/19 names no home team: a game needs two teams\n"
            "2: a blank inside columns 1-8 makes one visitor name of \"nyy bos\"; no home team "
            "name in columns 10-17: stored as visitor \"nyy bos\", home \"\", options \"\"\n");
  // From a 99 year to a 00 year the season passes into the next century.
  EXPECT_EQ(Check("[12/31/99]\r\na        b\r\n[01/01/00]\r\nc        d\r\n"), "");
  EXPECT_EQ(Check("[12/31/99]\r\n[01/02/00]\r\n[01/01/00]\r\n"),
            "3: date 01/01/00 comes before 01/02/00 (line 2), yet its record comes after it: "
            "records keep the order of the file\n");
  // A byte-order mark is skipped, and said so; a line of more than 1 MiB
  // is no schedule text, and check tells it rather than giving up.
  EXPECT_EQ(Check("\xEF\xBB\xBF[04/10/45]\r\na        b\r\n"),
            "1: a UTF-8 byte-order mark starts the file: it is skipped\n");
  EXPECT_EQ(Check("[04/10/45]\r\n" + std::string(2 * 1024 * 1024, 'x')),
            "2: a line longer than 1 MiB: this is no schedule text, and the build stops here "
            "with a failure\n");
  EXPECT_EQ(Check(std::string("\xFF\xFE[\0", 4)).rfind("failure: Cannot read input file", 0), 0u);
}

}  // namespace
}  // namespace tool
