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
  // A lone CR ends a line too, as every other reader of the program takes it.
  EXPECT_EQ(Lines("a\rb\r\rc\r", 1), (std::vector<std::string>{"1:a", "2:b", "3:", "4:c"}));
}

TEST(RowLineSplitterTest, AnOverlongLineIsCutWhereItPassesTheLimit) {
  // A line at the limit is whole, its CR LF not counted; one byte more and
  // the line is handed on cut at once and nothing more is read, so a row
  // that never ends is no reason to read for ever.
  for (size_t length : {kMaxRowBytes, kMaxRowBytes + 1}) {
    std::vector<RowLine> lines;
    RowLineSplitter splitter([&](const RowLine& line) { lines.push_back(line); });
    splitter.Feed(std::string(length, 'x') + "\r\nshort\n");
    splitter.Finish();
    const bool over = length > kMaxRowBytes;
    ASSERT_EQ(lines.size(), over ? 1u : 2u);
    EXPECT_EQ(lines[0].text.size(), kMaxRowBytes);
    EXPECT_EQ(lines[0].full_length, length);
    EXPECT_EQ(lines[0].unended, over);
    EXPECT_EQ(splitter.Ended(), over);
  }
}

}  // namespace
}  // namespace tool
