#include "tool/import/import_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/shown_text.h"

namespace tool {
namespace {

// The lines the splitter gives for `bytes` fed in pieces of `piece` bytes,
// each as "NUMBER:TEXT".
std::vector<std::string> Lines(const std::string& bytes, size_t piece) {
  std::vector<std::string> lines;
  RowLineSplitter splitter([&](const RowLine& line) {
    lines.push_back(std::to_string(line.number) + ":" + std::string(line.text));
  });
  for (size_t at = 0; at < bytes.size(); at += piece) splitter.Feed(std::string_view(bytes).substr(at, piece));
  splitter.Finish();
  return lines;
}

TEST(RowLineSplitterTest, LineEndsCtrlZAndByteOrderMarkWhateverThePieces) {
  const std::string bytes = "\xEF\xBB\xBF" "a,b\r\nc\n\r\nlast\r\n\x1A" "after\n";
  const std::vector<std::string> expected = {"1:a,b", "2:c", "3:", "4:last"};
  for (size_t piece : {1, 2, 3, 7, 1000}) EXPECT_EQ(Lines(bytes, piece), expected) << piece;
  // A last line without a line end, and a Ctrl+Z in a line's middle.
  EXPECT_EQ(Lines("x\ny", 1), (std::vector<std::string>{"1:x", "2:y"}));
  EXPECT_EQ(Lines("x\nab\x1A" "cd\n", 4), (std::vector<std::string>{"1:x", "2:ab"}));
  // A lone CR is no line end: it stays in the line, where a field refuses it.
  EXPECT_EQ(Lines("a\rb\n", 1), (std::vector<std::string>{"1:a\rb"}));
}

TEST(RowLineSplitterTest, AnOverlongLineIsCutAndItsLengthTold) {
  std::string bytes = std::string(kMaxRowBytes + 10, 'x') + "\r\nshort\n";
  std::vector<RowLine> lines;
  std::vector<std::string> texts;
  RowLineSplitter splitter([&](const RowLine& line) {
    lines.push_back(line);
    texts.emplace_back(line.text);
  });
  splitter.Feed(bytes);
  splitter.Finish();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(texts[0].size(), kMaxRowBytes);
  EXPECT_EQ(lines[0].full_length, kMaxRowBytes + 10);
  EXPECT_EQ(texts[1], "short");
  EXPECT_EQ(lines[1].full_length, 5u);
}

TEST(ParseRowDateTest, RealDaysWithGregorianLeapYears) {
  RowDate date;
  std::string problem;
  ASSERT_TRUE(ParseRowDate("18840417", &date, &problem));
  EXPECT_EQ(date.Key(), 18840417);
  EXPECT_TRUE(ParseRowDate("18840229", &date, &problem));
  EXPECT_TRUE(ParseRowDate("20000229", &date, &problem));
  EXPECT_TRUE(ParseRowDate("18841231", &date, &problem));
  for (const char* bad : {"19000229", "18850229", "18840431", "18841301", "18840100", "18840000"}) {
    EXPECT_FALSE(ParseRowDate(bad, &date, &problem)) << bad;
    EXPECT_EQ(problem, "date " + std::string(bad) + " is not a real day");
  }
  EXPECT_FALSE(ParseRowDate("1884-4-17", &date, &problem));
  EXPECT_EQ(problem, "date \"1884-4-17\" is not written YYYYMMDD");
  EXPECT_FALSE(ParseRowDate("", &date, &problem));
}

}  // namespace
}  // namespace tool
