#include "tool/generate/generate_teams.h"

#include <gtest/gtest.h>

namespace tool {
namespace {

TEST(GenerateTeams, NamesAndDivisionsAreReadAndCommentsSkipped) {
  League league;
  std::vector<std::string> errors;
  ASSERT_TRUE(ReadLeague("# the league\r\nlions East\r\n\r\n  tigers\tWest\r\nbears East", "T",
                         &league, &errors));
  ASSERT_EQ(league.teams.size(), 3u);
  EXPECT_EQ(league.teams[1].name, "tigers");
  EXPECT_EQ(league.teams[1].line, 4);
  EXPECT_EQ(league.division_of, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(league.division_count, 2);

  League plain;
  ASSERT_TRUE(ReadLeague("a\nb\n", "T", &plain, &errors));
  EXPECT_EQ(plain.division_count, 0);
  EXPECT_EQ(plain.division_of, (std::vector<int>{0, 0}));
}

TEST(GenerateTeams, EveryBadLineIsNamedWithItsLine) {
  League league;
  std::vector<std::string> errors;
  EXPECT_FALSE(ReadLeague("lions East\n[x East\nlions West\ntoolongname East\n"
                          "a b c\ntigers\nq\"t East\n",
                          "teams.txt", &league, &errors));
  ASSERT_EQ(errors.size(), 6u);
  EXPECT_EQ(errors[0].rfind("teams.txt:2: name \"[x\" starts with \"[\"", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1], "teams.txt:3: team \"lions\" was already named on line 1");
  EXPECT_EQ(errors[2].rfind("teams.txt:4: name \"toolongname\" is 11 bytes long", 0), 0u);
  EXPECT_EQ(errors[3].rfind("teams.txt:5: a line is NAME or NAME DIVISION", 0), 0u);
  EXPECT_EQ(errors[4].rfind("teams.txt:6: team \"tigers\" names no division", 0), 0u);
  EXPECT_NE(errors[5].find("a double quote"), std::string::npos);
}

TEST(GenerateTeams, ALeagueHoldsTwoToThirtyTeams) {
  std::string text;
  for (int t = 1; t <= 31; ++t) text += "t" + std::to_string(t) + "\n";
  League league;
  std::vector<std::string> errors;
  EXPECT_FALSE(ReadLeague(text, "T", &league, &errors));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "T: 31 teams; a league holds 2 to 30 teams (a date holds 15 games)");
  errors.clear();
  League lone;
  EXPECT_FALSE(ReadLeague("# none\none\n", "T", &lone, &errors));
  EXPECT_EQ(errors.at(0), "T: 1 team; a league holds 2 to 30 teams (a date holds 15 games)");
}

}  // namespace
}  // namespace tool
