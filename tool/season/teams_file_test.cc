#include "tool/season/teams_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tool {
namespace {

std::vector<std::string> Refusals(const std::string& text) {
  TeamsFile teams;
  std::vector<std::string> errors;
  EXPECT_FALSE(ReadTeamsFile(text, "t.csv", &teams, &errors)) << text;
  return errors;
}

TEST(TeamsFile, CsvColumnsComeInAnyOrderAndCaseWithQuotingAndOthersIgnored) {
  TeamsFile teams;
  std::vector<std::string> errors;
  ASSERT_TRUE(ReadTeamsFile("# the east\r\nLongitude,DISPLAY,name,notes,Latitude,division\r\n"
                            "-71.06,\"Boston Braves, 1884\",bosbr,x,42.36,East\r\n"
                            "\n-71.41,  Providence Grays ,provi,,41.82,East\r\n",
                            "t.csv", &teams, &errors))
      << errors.front();
  ASSERT_EQ(teams.teams.size(), 2u);
  EXPECT_TRUE(teams.csv);
  const TeamEntry& boston = teams.teams[0];
  EXPECT_EQ(boston.name, "bosbr");
  EXPECT_EQ(boston.display, "Boston Braves, 1884");
  EXPECT_EQ(boston.division, "East");
  EXPECT_EQ(boston.line, 3);
  ASSERT_TRUE(boston.place.has_value());
  EXPECT_DOUBLE_EQ(boston.place->latitude, 42.36);
  EXPECT_DOUBLE_EQ(boston.place->longitude, -71.06);
  EXPECT_EQ(teams.Find("provi")->display, "Providence Grays");
  EXPECT_EQ(teams.Find("provi")->line, 5);
  EXPECT_EQ(teams.Find("nobody"), nullptr);

  // The lines of names alone are a teams file too, with no places.
  teams = {};
  ASSERT_TRUE(ReadTeamsFile("ant East\nbee\tEast\n", "t.txt", &teams, &errors));
  EXPECT_FALSE(teams.csv);
  EXPECT_EQ(teams.teams[1].division, "East");
  EXPECT_FALSE(teams.teams[1].place.has_value());
}

TEST(TeamsFile, EveryBadRowIsNamedWithItsLine) {
  EXPECT_EQ(Refusals("team,division\nant,x\n"),
            std::vector<std::string>{"t.csv:1: the header \"team\"... names no column \"name\": a CSV "
                                     "teams file starts with a line naming its columns, name among "
                                     "them (division, display, latitude, longitude, code, league)"});
  EXPECT_EQ(Refusals("name,Name\n"),
            std::vector<std::string>{"t.csv:1: the header names column \"name\" twice"});
  const std::vector<std::string> errors = Refusals(
      "name,display,latitude,longitude,code\n"
      "ant,\xC3\xA9t\xC3\xA9,,,\n"                        // UTF-8 é: taken
      "bee,caf\xE9,,,\n"                                  // Latin-1 é
      "cat,a\tb,,,\n"                                     // a TAB
      "dog," + std::string(41, 'x') + ",,,\n"             // 41 characters
      "elk,,42.5,,\n"                                     // latitude alone
      "fox,,91,0,\n"                                      // out of range
      "gnu,,1,east,\n"                                    // no number
      "hen,,,,\"B\"\"N\"\n"                               // a quote in a code
      "ant,,,,\n"                                         // twice
      "ibex,,,,,\n");                                     // a field too many
  ASSERT_EQ(errors.size(), 9u);
  EXPECT_EQ(errors[0], "t.csv:3: team \"bee\": display name \"caf\\xE9\" is not UTF-8 (byte 4): "
                       "save the file as UTF-8");
  EXPECT_EQ(errors[1], "t.csv:4: team \"cat\": display name \"a\\x09b\" holds a control character");
  EXPECT_EQ(errors[2], "t.csv:5: team \"dog\": display name \"" + std::string(41, 'x') +
                           "\" is 41 characters long; a display name holds at most 40");
  EXPECT_EQ(errors[3], "t.csv:6: team \"elk\": give both its latitude and its longitude, or neither");
  EXPECT_EQ(errors[4], "t.csv:7: team \"fox\": latitude \"91\" is no number of degrees from -90 to 90 "
                       "(north positive)");
  EXPECT_EQ(errors[5], "t.csv:8: team \"gnu\": longitude \"east\" is no number of degrees from -180 "
                       "to 180 (east positive)");
  EXPECT_NE(errors[6].find("t.csv:9: team \"hen\": code \"B\\\"N\" holds"), std::string::npos)
      << errors[6];
  EXPECT_EQ(errors[7], "t.csv:10: team \"ant\" was already named on line 2");
  EXPECT_EQ(errors[8], "t.csv:11: a row has 6 fields; the header names 5");
}

TEST(TeamsFile, GreatCircleDistancesAreWholeKilometres) {
  const Place london{51.5074, -0.1278}, paris{48.8566, 2.3522};
  EXPECT_EQ(GreatCircleKilometres(london, paris), 344);
  EXPECT_EQ(GreatCircleKilometres(paris, london), 344);
  EXPECT_EQ(GreatCircleKilometres(london, london), 0);
  // Half the way round: pi times the mean radius.
  EXPECT_EQ(GreatCircleKilometres(Place{0, 0}, Place{0, 180}), 20015);
  EXPECT_EQ(GreatCircleKilometres(Place{90, 0}, Place{-90, 0}), 20015);
}

}  // namespace
}  // namespace tool
