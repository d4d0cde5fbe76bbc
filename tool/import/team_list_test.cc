#include "tool/import/team_list.h"

#include <gtest/gtest.h>

namespace tool {
namespace {

// The table the build made from the CSV holds its rows, semicolons and all.
TEST(TeamListTest, TheBuiltTableHoldsTheList) {
  EXPECT_EQ(TeamList().size(), 274u);
  const TeamListEntry* giants = FindTeam("NY1");
  ASSERT_NE(giants, nullptr);
  EXPECT_EQ(giants->leagues, "NL");
  EXPECT_EQ(giants->city, "New York");
  EXPECT_EQ(giants->nickname, "Giants");
  EXPECT_EQ(giants->first, 1883);
  EXPECT_EQ(giants->last, 1957);
  ASSERT_NE(FindTeam("MIL"), nullptr);
  EXPECT_EQ(FindTeam("MIL")->leagues, "AL;NL");
  ASSERT_NE(FindTeam("SLA"), nullptr);
  EXPECT_EQ(FindTeam("SLA")->city, "St.Louis");
  EXPECT_EQ(FindTeam("AGS")->leagues, "");
  EXPECT_EQ(FindTeam("ny1"), nullptr);
  EXPECT_EQ(FindTeam("XYZ"), nullptr);
}

}  // namespace
}  // namespace tool
