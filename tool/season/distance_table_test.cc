// The distances file read into the league's order of teams, and refused
// line by line.
#include "tool/season/distance_table.h"

#include <gtest/gtest.h>

namespace tool {
namespace {

const std::vector<std::string> kTeams = {"ant", "bee", "cat"};

TEST(DistanceTable, RowsAndColumnsAreTakenInTheLeaguesOrderWhateverTheFilesOrder) {
  DistanceTable table;
  std::vector<std::string> errors;
  ASSERT_TRUE(ReadDistanceTable("# from the row to the column\r\n\r\n cat\tant bee\r\n"
                                "bee 7 5 0\r\n"
                                "cat 0 12 9\n"
                                "# the last\n"
                                "ant\t4 0 5",
                                "d.txt", kTeams, &table, &errors))
      << errors.front();
  EXPECT_EQ(table.teams, 3);
  // ant: to ant 0, bee 5, cat 4; bee: 5 0 7; cat: 12 9 0.
  EXPECT_EQ(table.distance, (std::vector<int64_t>{0, 5, 4, 5, 0, 7, 12, 9, 0}));
  EXPECT_EQ(DistanceBetween(table, 2, 0), 12);
  EXPECT_EQ(DistanceBetween(table, 0, 2), 4);
}

TEST(DistanceTable, EveryBadLineIsOneRefusalWithItsLine) {
  DistanceTable table;
  std::vector<std::string> errors;
  EXPECT_FALSE(ReadDistanceTable("ant bee cat\n"
                                 "ant 0 1 +2\n"
                                 "bee 1 0\n"
                                 "cat 2 99999999999999999999 0\n",
                                 "d.txt", kTeams, &table, &errors));
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "d.txt:2: the distance \"+2\" is no whole number",
                        "d.txt:3: the row of \"bee\" has 2 distances; the header names 3 teams",
                        "d.txt:4: the distance \"99999999999999999999\" is more than 1000000"}));
}

}  // namespace
}  // namespace tool
