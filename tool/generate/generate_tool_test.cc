// schedule-tool generate as a script meets it: through a POSIX shell, its
// text fed to build and check, its refusals writing nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

using ToolRun = testing_support::ShellRun;

// Runs schedule-tool with `arguments` through the shell, which may redirect.
ToolRun RunTool(const std::string& arguments) {
  return testing_support::RunShell(std::string(ZELTO_SCHEDULE_TOOL) + " " + arguments);
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

TEST(GenerateTool, TheTextBuildsChecksCleanAndTheSummaryComesOnStandardError) {
  ScopedTempDir dir;
  const std::string teams = Quote(dir.File("teams.txt"));
  WriteFileBytes(dir.File("teams.txt"), "# four\nant\nbee\ncat\ndog\n");
  ToolRun summary = RunTool("generate " + teams +
                            " --start 2027-04-05 --meetings 1 --series 1 2>&1 >/dev/null");
  EXPECT_EQ(summary.status, 0);
  EXPECT_EQ(summary.output,
            "4 teams, 3 games a team, 6 games in all\n"
            "home games a team: 1 to 2; away games a team: 1 to 2\n"
            "3 dates from 04/05/27 to 04/07/27; calendar and export read them with --year 2027\n"
            "off days (from the first date to the last, no game): 0 a team\n"
            "series: 6 of 1 game\n"
            "breaks (two series in a row both at home or both away): 0 to 1 a team, 2 in all\n"
            "longest home stand: 2 series, 2 games; longest road trip: 2 series, 2 games\n");

  const std::string options =
      " --start 2027-04-05 --meetings 6 --off-day Mon --off-day=thu --no-games 2027-04-10..2027-04-11 ";
  ToolRun piped = RunTool("generate " + teams + options + "2>/dev/null | " +
                          std::string(ZELTO_SCHEDULE_TOOL) + " build - " +
                          Quote(dir.File("s.SCH")));
  EXPECT_EQ(piped.status, 0) << piped.output;
  ASSERT_EQ(RunTool("generate" + options + "--output " + Quote(dir.File("s.txt")) + " " + teams +
                    " 2>/dev/null")
                .status,
            0);
  ToolRun check = RunTool("check " + Quote(dir.File("s.txt")) + " 2>&1");
  EXPECT_EQ(check.status, 0);
  EXPECT_EQ(check.output, "");
  // 18 games a team, 2 a date: 18 dates, and the header.
  EXPECT_EQ(ReadFileBytes(dir.File("s.SCH")).size(), 19u * 430u);
  EXPECT_EQ(RunTool("generate " + teams + options + "2>/dev/null").output,
            ReadFileBytes(dir.File("s.txt")));

  // Two teams alone meet series after series, and the summary says why.
  WriteFileBytes(dir.File("two.txt"), "ant\nbee\n");
  ToolRun two = RunTool("generate " + Quote(dir.File("two.txt")) +
                        " --start 2027-04-05 --meetings 5 --series 2 2>&1 >/dev/null");
  EXPECT_EQ(two.status, 0);
  EXPECT_NE(two.output.find("\nrepeaters (a team's two series in a row against one opponent): "
                            "4 in all, which the league cannot avoid: it leaves no other "
                            "opponent to play between\n"),
            std::string::npos)
      << two.output;
}

TEST(GenerateTool, RefusalsSayWhyAndWriteNothing) {
  ScopedTempDir dir;
  const std::string teams = Quote(dir.File("teams.txt"));
  const std::string out = dir.File("out.txt");
  WriteFileBytes(dir.File("teams.txt"), "ant East\nbee East\ncat West\ndog West\n");
  WriteFileBytes(out, "older");
  auto refused = [&](const std::string& arguments, int status, const std::string& words) {
    ToolRun run = RunTool("generate " + arguments + " --output " + Quote(out) + " 2>&1");
    EXPECT_EQ(run.status, status) << arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(words), std::string::npos) << arguments << "\n" << run.output;
    EXPECT_EQ(ReadFileBytes(out), "older") << arguments;
  };
  refused(teams + " --start 2027-02-30", 1, "--start: \"2027-02-30\" is no real day");
  refused(teams + " --start 2027-04-05 --most-in-a-row 1", 1, "at most 1 series in a row");
  refused(teams + " --start 2027-04-05 --off-day Mon --off-day Tue --off-day Wed --off-day Thu "
                  "--off-day Fri --off-day Sat --off-day Sun",
          1, "no day is left for games");
  refused(teams + " --start 2027-04-05 --no-games 2027-05-02..2027-05-01", 1, "ends before");
  refused(teams, 2, "needs --start");
  refused(teams + " --start 2027-04-05 --seed 1 --seed 2", 2, "--seed is given 2 times");
  refused(teams + " --start 2027-04-05 --meetings two", 2, "--meetings: \"two\" is no whole number");
  refused(teams + " --start 2027-04-05 --off-day Funday", 2, "no weekday");
  WriteFileBytes(dir.File("bad.txt"), "ant East\nant West\n");
  refused(Quote(dir.File("bad.txt")) + " --start 2027-04-05", 1,
          dir.File("bad.txt") + ":2: team \"ant\" was already named on line 1");
  // The TEAMS file itself is no output: it is named as the input it is.
  ToolRun onto_teams = RunTool("generate " + teams + " --start 2027-04-05 --output " + teams +
                               " 2>&1");
  EXPECT_EQ(onto_teams.status, 1) << onto_teams.output;
  EXPECT_NE(onto_teams.output.find("it is TEAMS too"), std::string::npos) << onto_teams.output;
  EXPECT_EQ(ReadFileBytes(dir.File("teams.txt")), "ant East\nbee East\ncat West\ndog West\n");
  ToolRun help = RunTool("generate --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: schedule-tool generate TEAMS", 0), 0u);
}

// A distances file as a script meets it: read whatever order its teams take,
// refused line by line for what is wrong in it, and the travel it gives in
// the summary.
TEST(GenerateTool, ADistancesFileGivesTheTravelOrIsRefusedByItsLine) {
  ScopedTempDir dir;
  const std::string teams = Quote(dir.File("teams.txt"));
  WriteFileBytes(dir.File("teams.txt"), "ant\nbee\ncat\ndog\n");
  const std::string out = dir.File("out.txt");
  auto distances = [&](const std::string& text) {
    WriteFileBytes(dir.File("d.txt"), text);
    return " --distances " + Quote(dir.File("d.txt"));
  };
  const std::string header = "# parks\n\n   dog\tcat bee ant\n";
  const std::string good = header + "ant 3 2 1 0\r\nbee 2 1 0 1\ndog 0 1 2 3\ncat 1 0 1 2\n";
  const std::string options = " --start 2027-04-05 --meetings 2 --series 1";
  ToolRun run = RunTool("generate " + teams + options + distances(good) + " --output " +
                        Quote(out) + " 2>&1");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("\ntravel (from home, park to park, home again): "), std::string::npos)
      << run.output;
  const std::string text = ReadFileBytes(out);
  EXPECT_EQ(RunTool("generate " + teams + options + distances(good) + " 2>/dev/null").output, text);

  WriteFileBytes(out, "older");
  const std::string file = dir.File("d.txt");
  auto refused = [&](const std::string& text, const std::string& words) {
    ToolRun run = RunTool("generate " + teams + options + distances(text) + " --output " +
                          Quote(out) + " 2>&1");
    EXPECT_EQ(run.status, 1) << text;
    EXPECT_NE(run.output.find(file + words), std::string::npos) << run.output;
    EXPECT_EQ(ReadFileBytes(out), "older");
  };
  refused(header + "ant 3 2 1 0\nbee 2 1 0 1\ndog 0 1 2 3\n",
          ":6: the rows end without one for team \"cat\"");
  refused("ant bee cat eel\n", ":1: the header names \"eel\", no team of the league");
  refused("ant bee cat dog cat\n", ":1: the header names \"cat\" twice");
  refused("ant bee dog\n", ":1: the header names no column for team \"cat\"");
  refused(good + "bee 2 1 0 1\n", ":8: team \"bee\" has a row already, on line 5");
  refused(header + "ant 3 2 1\n", ":4: the row of \"ant\" has 3 distances; the header names 4");
  refused(header + "ant 3 -2 1 0\n", ":4: the distance \"-2\" is less than 0");
  refused(header + "ant 3 2 x1 0\n", ":4: the distance \"x1\" is no whole number");
  refused(header + "ant 3 2 1 1000001\n", ":4: the distance \"1000001\" is more than 1000000");
  refused(header + "ant 3 2 1 7\n", ":4: the distance from \"ant\" to itself is 7, not 0");
  refused(header + "emu 3 2 1 0\n", ":4: the row of \"emu\", no team of the league");
  refused("# nothing\n", ":1: no header line of team names, and no rows");
  for (const char* effort : {"0", "1000001"}) {
    ToolRun run = RunTool("generate " + teams + options + " --effort " + effort + " 2>&1");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(std::string("--effort ") + effort + ": the search's effort is 1 to"),
              std::string::npos)
        << run.output;
  }
  EXPECT_EQ(RunTool("generate " + teams + options + " --effort ten 2>&1").status, 2);
}

// "least to most", or the one figure when they are the same, as the summary
// writes a figure over the teams.
std::string Spread(const std::vector<int>& values) {
  auto [least, most] = std::minmax_element(values.begin(), values.end());
  if (*least == *most) return std::to_string(*least);
  return std::to_string(*least) + " to " + std::to_string(*most);
}

// report, reading the generated text, counts what the summary promised.
TEST(GenerateTool, ReportOfTheSeasonAgreesWithTheSummary) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("twelve.txt"),
                 "lions East\ntigers East\nbears East\nwolves East\neagles East\nhawks East\n"
                 "sharks West\nwhales West\nbulls West\nrams West\nfoxes West\nowls West\n");
  WriteFileBytes(dir.File("seven.txt"), "a\nb\nc\nd\ne\nf\ng\n");
  const std::string leagues[] = {
      Quote(dir.File("twelve.txt")) + " --meetings 12 --division-meetings 18 --off-day Mon",
      Quote(dir.File("seven.txt")) + " --meetings 5 --series 2 --seed 9"};
  for (const std::string& league : leagues) {
    SCOPED_TRACE(league);
    const std::string text = Quote(dir.File("season.txt"));
    ASSERT_EQ(RunTool("generate " + league + " --start 2027-04-01 --output " + text + " 2>" +
                      Quote(dir.File("summary.txt")))
                  .status,
              0);
    const std::string summary = ReadFileBytes(dir.File("summary.txt"));
    ToolRun report = RunTool("report --format csv " + text);
    ASSERT_EQ(report.status, 0);
    const std::string header =
        "team,games,home,away,doubleheader_dates,longest_home_stand,longest_road_trip,opponents,"
        "off_days\r\n";
    ASSERT_EQ(report.output.rfind(header, 0), 0u) << report.output;
    std::vector<int> games, home, away, off_days;
    int teams = 0, longest_home = 0, longest_road = 0;
    for (size_t at = header.size(); at < report.output.size();) {
      size_t end = report.output.find("\r\n", at);
      ASSERT_NE(end, std::string::npos);
      std::string row = report.output.substr(at, end - at);
      at = end + 2;
      char team[16];
      int g, h, a, doubleheaders, home_stand, road_trip, opponents, off;
      ASSERT_EQ(std::sscanf(row.c_str(), "%15[^,],%d,%d,%d,%d,%d,%d,%d,%d", team, &g, &h, &a,
                            &doubleheaders, &home_stand, &road_trip, &opponents, &off),
                9)
          << row;
      ++teams;
      games.push_back(g);
      home.push_back(h);
      away.push_back(a);
      off_days.push_back(off);
      EXPECT_EQ(doubleheaders, 0) << row;
      longest_home = std::max(longest_home, home_stand);
      longest_road = std::max(longest_road, road_trip);
    }
    int all_games = 0;
    for (int g : games) all_games += g;
    EXPECT_EQ(summary.rfind(std::to_string(teams) + " teams", 0), 0u) << summary;
    EXPECT_NE(summary.find(", " + Spread(games) + " games a team, " +
                           std::to_string(all_games / 2) + " games in all\n"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("home games a team: " + Spread(home) + "; away games a team: " +
                           Spread(away) + "\n"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find(", " + std::to_string(longest_home) + " games; longest road trip: "),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find(", " + std::to_string(longest_road) + " games\n"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("off days (from the first date to the last, no game): " +
                           Spread(off_days) + " a team\n"),
              std::string::npos)
        << summary;
  }
}

// Places in TEAMS: the season travels great-circle kilometres, the summary
// tells them, and report, given the same TEAMS, counts the same travel from
// the text on its own. A league of some teams placed and some not is
// refused by the line of the first team without a place.
TEST(GenerateTool, PlacesInTeamsGiveTheTravelThatReportCountsAgain) {
  ScopedTempDir dir;
  const std::string teams = Quote(dir.File("teams.csv"));
  WriteFileBytes(dir.File("teams.csv"),
                 "name,division,latitude,longitude,display\n"
                 "bos,East,42.35,-71.10,Boston\nnyc,East,40.83,-73.93,New York\n"
                 "phi,East,39.91,-75.17,Philadelphia\nwas,East,38.87,-77.01,Washington\n"
                 "chi,West,41.95,-87.66,Chicago\nstl,West,38.62,-90.19,St. Louis\n"
                 "kc,West,39.05,-94.48,Kansas City\nden,West,39.76,-104.99,Denver\n");
  const std::string text = Quote(dir.File("season.txt"));
  ToolRun generated = RunTool("generate " + teams + " --start 2027-04-01 --meetings 4 "
                              "--division-meetings 6 --series 2 --output " + text + " 2>&1");
  ASSERT_EQ(generated.status, 0) << generated.output;
  const std::string travel = "travel (from home, park to park, home again): ";
  const size_t at = generated.output.find(travel);
  ASSERT_NE(at, std::string::npos) << generated.output;
  const size_t from = at + travel.size();
  const std::string total = generated.output.substr(from, generated.output.find(' ', from) - from);
  EXPECT_NE(generated.output.find(total + " km in all, "), std::string::npos) << generated.output;
  ToolRun report = RunTool("report --teams " + teams + " " + text);
  EXPECT_EQ(report.status, 0) << report.output;
  EXPECT_NE(report.output.find("; travel " + total + " km in all\n"), std::string::npos)
      << report.output;

  WriteFileBytes(dir.File("some.csv"), "name,latitude,longitude\nbos,42.35,-71.10\nnyc,,\n");
  ToolRun refused = RunTool("generate " + Quote(dir.File("some.csv")) + " --start 2027-04-01 2>&1");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.output, "schedule-tool: " + dir.File("some.csv") +
                                ":3: team \"nyc\" has no latitude and longitude, but the team on "
                                "line 2 has: give every team its place or none\n");
}

}  // namespace
