#include "tool/import/import_team_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool/import/import_teams_output.h"

namespace tool {
namespace {

TEST(ReadTeamMapTest, TakesNamesSkipsCommentsAndBlankLines) {
  std::vector<MappedName> teams;
  std::vector<std::string> errors;
  EXPECT_EQ(ReadTeamMap("# 1884 names\r\nNY1,giants\r\n\r\n  \nCHN,chi-84\nPHU,\xC3\xA9t\xC3\xA9", "map.txt",
                        &teams, &errors),
            0);
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(teams.size(), 3u);
  EXPECT_EQ(teams[0].code, "NY1");
  EXPECT_EQ(teams[0].name, "giants");
  EXPECT_EQ(teams[0].line, 2);
  EXPECT_EQ(teams[1].name, "chi-84");
  EXPECT_EQ(teams[1].line, 5);
  EXPECT_EQ(teams[2].name, "\xC3\xA9t\xC3\xA9");  // bytes past ASCII are stored as they are
}

TEST(ReadTeamMapTest, RefusesNamesAGameLineCannotCarryWithTheirLines) {
  std::vector<MappedName> teams;
  std::vector<std::string> errors;
  std::string map =
      "NY1,newyorkgi\n"  // 9 bytes
      "NY2,new york\n"
      "NY3,a,b\n"
      "NY4,say\"x\n"
      "NY5,a\tb\n"
      "NY6,a\x1B" "b\n"
      "NY7,[x\n"
      "NY8,\n"
      "no comma here\n"
      ",name\n"
      "ok,fine\n"
      "N Y,x\n"
      "ok,again\n";
  EXPECT_EQ(ReadTeamMap(map, "m.map", &teams, &errors), 12);
  const std::vector<std::string> expected = {
      "m.map:1: team \"NY1\": name \"newyorkgi\" is 9 bytes long; a team name holds at most 8",
      "m.map:2: team \"NY2\": name \"new york\" holds a blank, which a game line cannot carry",
      "m.map:3: team \"NY3\": name \"a,b\" holds a comma, which a game line cannot carry",
      "m.map:4: team \"NY4\": name \"say\\\"x\" holds a double quote, which a game line cannot carry",
      "m.map:5: team \"NY5\": name \"a\\x09b\" holds a TAB, which a game line cannot carry",
      "m.map:6: team \"NY6\": name \"a\\x1Bb\" holds a control byte, which a game line cannot carry",
      "m.map:7: team \"NY7\": name \"[x\" starts with \"[\": its game line would read as a date line",
      "m.map:8: team \"NY8\": the name is empty",
      "m.map:9: a line is CODE,NAME; this one has no comma: \"no comma here\"",
      "m.map:10: no team code before the comma",
      "m.map:12: team code \"N Y\" holds a blank, double quote or control byte",
      "m.map:13: team code \"ok\" was already named on line 11",
  };
  EXPECT_EQ(errors, expected);
  ASSERT_EQ(teams.size(), 1u);
  EXPECT_EQ(teams[0].code, "ok");
  EXPECT_EQ(teams[0].name, "fine");
}

// A CSV teams file is a MAP of the teams that give a code, and its display
// names reach --teams-output, which falls back on the team list's.
TEST(ReadTeamMapTest, ACsvTeamsFileMapsItsCodesAndDisplaysIntoTheTeamsOutput) {
  std::vector<MappedName> teams;
  std::vector<std::string> errors;
  MapDisplays displays;
  EXPECT_EQ(ReadTeamMap("# teams\nName,Division,Code,Display\nbeans,e,BSN,\"Beans, of Boston\"\n"
                        "nocode,e,,\nown,w,XYZ,\n",
                        "t.csv", &teams, &errors, &displays),
            0);
  ASSERT_EQ(teams.size(), 2u);
  EXPECT_EQ(teams[0].code, "BSN");
  EXPECT_EQ(teams[0].name, "beans");
  EXPECT_EQ(teams[1].line, 5);
  EXPECT_EQ(ImportedTeamsCsv({{"beans", "BSN", "NL"}, {"own", "XYZ", "XL"}, {"84nprovi", "PRO", "NL"}},
                             displays),
            "name,code,league,display\r\nbeans,BSN,NL,\"Beans, of Boston\"\r\nown,XYZ,XL,\r\n"
            "84nprovi,PRO,NL,Providence Grays\r\n");

  EXPECT_EQ(ReadTeamMap("code,name\nN Y,a\nBSN,b\nBSN,c\n", "t.csv", &teams, &errors), 2);
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "t.csv:2: team \"a\": code \"N Y\" holds a blank, which a team code cannot hold",
                        "t.csv:4: team \"c\": code \"BSN\" is team \"b\"'s already (line 3): a code names "
                        "one team"}));
}

TEST(ParseLeagueListTest, SplitsAndRefusesEmptyCodes) {
  std::vector<std::string> leagues;
  std::string problem;
  ASSERT_TRUE(ParseLeagueList("NL,AA", &leagues, &problem));
  EXPECT_EQ(leagues, (std::vector<std::string>{"NL", "AA"}));
  ASSERT_TRUE(ParseLeagueList("UA", &leagues, &problem));
  EXPECT_EQ(leagues, (std::vector<std::string>{"UA"}));
  for (const char* bad : {"", "NL,", ",NL", "NL,,AA"}) {
    EXPECT_FALSE(ParseLeagueList(bad, &leagues, &problem)) << bad;
    EXPECT_EQ(problem, "an empty league code in the league list \"" + std::string(bad) + "\"");
  }
}

}  // namespace
}  // namespace tool
