#include "tool/csv_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tool {
namespace {

TEST(CsvField, WrittenFieldsAreQuotedWhereASpreadsheetWouldSplitThemAndReadBackWhole) {
  std::vector<std::string> fields;
  std::string problem;
  ASSERT_TRUE(SplitCsvRow(CsvField("a,b") + "," + CsvField("say \"hi\"") + "," + CsvField(" x  ") +
                              "," + CsvField("plain   "),
                          &fields, &problem));
  EXPECT_EQ(fields, (std::vector<std::string>{"a,b", "say \"hi\"", " x", "plain"}));
}

TEST(CsvField, RowsSplitAtCommasOutsideQuotes) {
  std::vector<std::string> fields;
  std::string problem;
  ASSERT_TRUE(SplitCsvRow(R"("18840417","0","Thu","ALT","UA",1,"CNU","UA",1,"d","","")", &fields, &problem));
  EXPECT_EQ(fields, (std::vector<std::string>{"18840417", "0", "Thu", "ALT", "UA", "1", "CNU", "UA", "1", "d",
                                              "", ""}));
  ASSERT_TRUE(SplitCsvRow(R"("a,b","say ""hi""",,x,)", &fields, &problem));
  EXPECT_EQ(fields, (std::vector<std::string>{"a,b", "say \"hi\"", "", "x", ""}));

  EXPECT_FALSE(SplitCsvRow(R"("a","b)", &fields, &problem));
  EXPECT_EQ(problem, "field 2: the double quote in column 5 is never closed");
  EXPECT_FALSE(SplitCsvRow(R"("a"x,"b")", &fields, &problem));
  EXPECT_EQ(problem, "field 1: text after its closing double quote: \"x\"");
}

}  // namespace
}  // namespace tool
