// schedule-tool report as a league's keeper meets it: seasons whose every
// figure the test works out itself from the games it wrote (or from a real
// season file's rows), a text and the schedule file built from it giving the
// same rows, and each finding on a small season at its line and its record
// and slot. Runs the tool through a POSIX shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs schedule-tool with `arguments` (already quoted for the shell), its
// standard error kept apart from its standard output.
ToolRun RunTool(const ScopedTempDir& dir, const std::string& arguments) {
  const std::string err = dir.File("tool.err");
  testing_support::ShellRun run = testing_support::RunShell(
      std::string(ZELTO_SCHEDULE_TOOL) + " " + arguments + " 2>'" + err + "'");
  return {run.status, run.output, ReadFileBytes(err)};
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

// One game as the test wrote it.
struct Game {
  std::string visitor, home;
};

// A season as dates of games, in order.
using Season = std::vector<std::pair<std::string, std::vector<Game>>>;

std::string SeasonText(const Season& season) {
  std::string text;
  for (const auto& [date, games] : season) {
    text += "[" + date + "]\r\n";
    for (const Game& game : games) {
      std::string visitor = game.visitor;
      visitor.resize(9, ' ');
      text += visitor + game.home + "\r\n";
    }
  }
  return text;
}

// The rows report must give, worked out plainly from the games: every
// figure as its definition says, with no shortcut of the program's.
std::string ExpectedTeamCsv(const Season& season) {
  struct Team {
    int64_t games = 0, home = 0, away = 0, doubleheaders = 0;
    std::vector<bool> at_home;  // each game in file order
    std::set<std::string> opponents;
    std::set<std::string> dates;
  };
  std::map<std::string, Team> teams;
  // Off days: the days from the first date to the last, less those played.
  auto day_of = [](const std::string& date) {
    using namespace std::chrono;
    return sys_days{year{2000 + std::stoi(date.substr(6, 2))} / std::stoi(date.substr(0, 2)) /
                    std::stoi(date.substr(3, 2))};
  };
  auto first = day_of(season.front().first), last = first;
  for (const auto& [date, games] : season) {
    first = std::min(first, day_of(date));
    last = std::max(last, day_of(date));
    std::map<std::string, int> on_date;
    for (const Game& game : games) {
      for (bool home : {false, true}) {
        const std::string& name = home ? game.home : game.visitor;
        Team& team = teams[name];
        team.dates.insert(date);
        ++team.games;
        ++(home ? team.home : team.away);
        team.at_home.push_back(home);
        team.opponents.insert(home ? game.visitor : game.home);
        if (++on_date[name] == 2) ++team.doubleheaders;
      }
    }
  }
  std::string csv =
      "team,games,home,away,doubleheader_dates,longest_home_stand,longest_road_trip,"
      "opponents,off_days\r\n";
  const int64_t span = (last - first).count() + 1;
  for (const auto& [name, team] : teams) {
    int64_t longest[2] = {0, 0};
    for (size_t i = 0; i < team.at_home.size();) {
      size_t j = i;
      while (j < team.at_home.size() && team.at_home[j] == team.at_home[i]) ++j;
      int64_t& run = longest[team.at_home[i] ? 0 : 1];
      run = std::max(run, static_cast<int64_t>(j - i));
      i = j;
    }
    csv += name + "," + std::to_string(team.games) + "," + std::to_string(team.home) + "," +
           std::to_string(team.away) + "," + std::to_string(team.doubleheaders) + "," +
           std::to_string(longest[0]) + "," + std::to_string(longest[1]) + "," +
           std::to_string(team.opponents.size()) + "," +
           std::to_string(span - static_cast<int64_t>(team.dates.size())) + "\r\n";
  }
  return csv;
}

std::string ExpectedPairCsv(const Season& season) {
  std::map<std::pair<std::string, std::string>, std::pair<int64_t, int64_t>> pairs;
  for (const auto& [date, games] : season) {
    for (const Game& game : games) {
      ++pairs[{game.home, game.visitor}].first;
      ++pairs[{game.visitor, game.home}].second;
    }
  }
  std::string csv = "team,opponent,games,home,away\r\n";
  for (const auto& [pair, counts] : pairs) {
    csv += pair.first + "," + pair.second + "," + std::to_string(counts.first + counts.second) +
           "," + std::to_string(counts.first) + "," + std::to_string(counts.second) + "\r\n";
  }
  return csv;
}

// An 8-team season of 60 dates: each date pairs the teams at random, some
// pairs play twice (a doubleheader), and one team or two sit out.
Season EightTeamSeason() {
  const std::vector<std::string> teams = {"27aatl", "27bbos", "27cchi", "27ddal",
                                          "27eelp", "27ffar", "27ggar", "27hhou"};
  std::mt19937 random(1884);
  Season season;
  for (int day = 0; day < 60; ++day) {
    std::vector<std::string> order = teams;
    std::shuffle(order.begin(), order.end(), random);
    char date[16];
    std::snprintf(date, sizeof date, "%02d/%02d/27", 4 + day / 30, 1 + day % 30);
    std::vector<Game> games;
    size_t playing = random() % 4 == 0 ? 6 : 8;
    for (size_t i = 0; i + 1 < playing; i += 2) {
      games.push_back({order[i], order[i + 1]});
      if (random() % 5 == 0) games.push_back({order[i], order[i + 1]});
    }
    season.emplace_back(date, games);
  }
  return season;
}

TEST(Report, EveryFigureOfAGeneratedSeasonIsAsWorkedOutFromItsGames) {
  ScopedTempDir dir;
  Season season = EightTeamSeason();
  WriteFileBytes(dir.File("season.txt"), SeasonText(season));
  ASSERT_EQ(RunTool(dir, "build " + Quote(dir.File("season.txt")) + " " +
                             Quote(dir.File("season.SCH"))).status,
            0);
  // The text, the schedule file built from it, and the file through
  // standard input give the same rows.
  for (const std::string& season_file :
       {Quote(dir.File("season.txt")), Quote(dir.File("season.SCH")),
        "- <" + Quote(dir.File("season.SCH"))}) {
    ToolRun teams = RunTool(dir, "report --format csv " + season_file);
    EXPECT_EQ(teams.status, 0) << teams.err;
    EXPECT_EQ(teams.out, ExpectedTeamCsv(season)) << season_file;
    EXPECT_EQ(teams.err, "");  // a sound season: nothing found
    ToolRun pairs = RunTool(dir, "report --by pair --format csv " + season_file);
    EXPECT_EQ(pairs.out, ExpectedPairCsv(season)) << season_file;
  }

  // The table for a person: the totals, then a row per team, aligned.
  ToolRun text = RunTool(dir, "report " + Quote(dir.File("season.SCH")));
  EXPECT_EQ(text.status, 0);
  size_t games = 0, most = 0;
  for (const auto& date : season) {
    games += date.second.size();
    most = std::max(most, date.second.size());
  }
  std::istringstream lines(text.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, dir.File("season.SCH") + ": 60 dates, " + std::to_string(games) +
                      " games, 8 teams, at most " + std::to_string(most) + " games on one date");
  std::getline(lines, line);
  EXPECT_EQ(line, "");
  std::getline(lines, line);
  EXPECT_EQ(line, "team    games  home  away  doubleheader dates  longest home stand  "
                  "longest road trip  opponents  off days");
  std::vector<size_t> widths;
  for (int row = 0; row < 8 && std::getline(lines, line); ++row) widths.push_back(line.size());
  EXPECT_EQ(widths, std::vector<size_t>(8, 105u)) << text.out;
}

TEST(Report, FindsWhatIsWrongWithTheSeasonAtItsLineAndItsRecordAndSlot) {
  ScopedTempDir dir;
  std::string text =
      "[04/10/45]\r\n"
      "45nnewyo 45nnewyo\r\n"  // line 2: a team against itself
      "[04/11/45]\r\n"
      "45nnewyo 45nstlou\r\n"
      "45npitts 45nnewyo\r\n"  // line 5: a second opponent
      "45nbosto 45nbrook\r\n"
      "45nbosto 45nbrook\r\n"  // a doubleheader: no finding
      "45nbosto 45nbrook\r\n"  // line 8: a third game of the pair
      "\"         45ncinci\"\r\n";  // line 9: no visitor
  // A regular team of 12 games, another one letter away with as many (two
  // real teams), and a name one byte from the first that plays once.
  for (int day = 12; day < 24; ++day) {
    text += "[04/" + std::to_string(day) + "/45]\r\n45nchica 18nchica\r\n18achica 45nphila\r\n";
  }
  text += "[04/24/45]\r\n45nchicq 45nphila\r\n";  // line 47
  WriteFileBytes(dir.File("season.txt"), text);
  // Each finding: its line, its record and slot in the schedule file built
  // from the text, and its words, where "@" stands for where the other
  // games are (lines in the text, slots in the schedule file).
  struct Expected {
    int line;
    const char* in_records;
    const char* message;
    const char* other_lines;
    const char* other_slots;
  };
  const Expected expected[] = {
      {2, "record 2 slot 1", "game \"45nnewyo\" at \"45nnewyo\" on 04/10/45: a team plays itself",
       "", ""},
      {5, "record 3 slot 2",
       "game \"45npitts\" at \"45nnewyo\" on 04/11/45: \"45nnewyo\" also plays \"45nstlou\" on "
       "this date (@): two opponents on one date",
       "line 4", "record 3 slot 1"},
      {8, "record 3 slot 5",
       "game \"45nbosto\" at \"45nbrook\" on 04/11/45: \"45nbosto\" already plays 2 games on "
       "this date (@): a team plays at most two games a date",
       "lines 6 and 7", "record 3 slots 3 and 4"},
      {8, "record 3 slot 5",
       "game \"45nbosto\" at \"45nbrook\" on 04/11/45: \"45nbrook\" already plays 2 games on "
       "this date (@): a team plays at most two games a date",
       "lines 6 and 7", "record 3 slots 3 and 4"},
      {9, "record 3 slot 6", "game of \"45ncinci\" on 04/11/45 names no visitor: a game needs two teams",
       "", ""},
      {47, "record 16 slot 1", "team \"45nchicq\" plays 1 game: is it \"45nchica\" (12 games)?", "",
       ""},
  };
  std::string want_text, want_records;
  for (const Expected& finding : expected) {
    std::string as_lines = finding.message, as_slots = finding.message;
    if (size_t at = as_lines.find('@'); at != std::string::npos) {
      as_lines.replace(at, 1, finding.other_lines);
      as_slots.replace(at, 1, finding.other_slots);
    }
    want_text += dir.File("season.txt") + ":" + std::to_string(finding.line) + ": " + as_lines + "\n";
    want_records += dir.File("season.SCH") + ": " + finding.in_records + ": " + as_slots + "\n";
  }
  ToolRun report = RunTool(dir, "report " + Quote(dir.File("season.txt")));
  EXPECT_EQ(report.status, 0);
  EXPECT_EQ(report.err, want_text);

  // check says the same of the text, besides what it says of the quoted line.
  ToolRun check = RunTool(dir, "check " + Quote(dir.File("season.txt")));
  EXPECT_EQ(check.status, 1);
  std::string check_season;
  std::istringstream check_lines(check.out);
  for (std::string line; std::getline(check_lines, line);) {
    if (line.find("double quote") == std::string::npos) check_season += line + "\n";
  }
  EXPECT_EQ(check_season, want_text);

  ASSERT_EQ(RunTool(dir, "build " + Quote(dir.File("season.txt")) + " " +
                             Quote(dir.File("season.SCH"))).status,
            0);
  ToolRun records = RunTool(dir, "report --format csv " + Quote(dir.File("season.SCH")));
  EXPECT_EQ(records.status, 0);
  EXPECT_EQ(records.err, want_records);
}

TEST(Report, WritesAllOrNothingAndNeverOverTheSeason) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("season.txt"), "[04/10/45]\r\n45nnewyo 45nstlou\r\n");
  WriteFileBytes(dir.File("out.csv"), "older");
  ToolRun written = RunTool(dir, "report --format csv --output " + Quote(dir.File("out.csv")) + " " +
                                 Quote(dir.File("season.txt")));
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(ReadFileBytes(dir.File("out.csv")),
            "team,games,home,away,doubleheader_dates,longest_home_stand,longest_road_trip,"
            "opponents,off_days\r\n45nnewyo,1,0,1,0,0,1,1,0\r\n45nstlou,1,1,0,0,1,0,1,0\r\n");

  // A season that cannot be read writes nothing: the older file stays.
  WriteFileBytes(dir.File("out.csv"), "older");
  for (std::string unreadable : {"missing.txt", "no-date.txt", "cut.SCH", "utf16.txt"}) {
    WriteFileBytes(dir.File("no-date.txt"), "45nnewyo 45nstlou\r\n");
    WriteFileBytes(dir.File("cut.SCH"), "D " + std::string(428, ' ') + "  04/10/45");
    WriteFileBytes(dir.File("utf16.txt"), std::string("\xff\xfe[\0", 4));
    ToolRun failed = RunTool(dir, "report --output " + Quote(dir.File("out.csv")) + " " +
                                  Quote(dir.File(unreadable)));
    EXPECT_EQ(failed.status, 1) << unreadable;
    EXPECT_NE(failed.err.find(dir.File(unreadable)), std::string::npos) << failed.err;
    EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "older") << unreadable;
  }
  EXPECT_NE(RunTool(dir, "report " + Quote(dir.File("cut.SCH"))).err.find(
                "record 2 (offset 430): the file's 440 bytes are no whole number of 430-byte "
                "records: this record has only 10 bytes"),
            std::string::npos);

  // The report onto the season itself is refused, and the season kept.
  ToolRun onto = RunTool(dir, "report --output " + Quote(dir.File("season.txt")) + " " +
                              Quote(dir.File("season.txt")));
  EXPECT_EQ(onto.status, 1);
  EXPECT_EQ(ReadFileBytes(dir.File("season.txt")), "[04/10/45]\r\n45nnewyo 45nstlou\r\n");

  // Usage: one SEASON, known values, no option twice.
  for (const char* usage : {"report", "report a b", "report --by date x", "report --format xml x",
                            "report --by team --by pair x"}) {
    EXPECT_EQ(RunTool(dir, usage).status, 2) << usage;
  }
  ToolRun help = RunTool(dir, "report --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: schedule-tool report", 0), 0u);
}

// A teams file puts each team's name for people beside its file name: a
// name with a comma or a double quote quoted in the CSV, one of letters
// past ASCII aligned by its characters in the table, and a team the file
// gives no display name shown by its file name.
// An East Asian display name takes two cells a character, and the table
// pads it by what the terminal shows.
TEST(Report, WideDisplayNamesArePaddedByTheirCells) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("season.txt"), "[04/10/45]\r\na        b\r\n");
  WriteFileBytes(dir.File("teams.csv"), "name,display\r\na,\u6771\u4eac\r\nb,abcde\r\n");
  ToolRun text = RunTool(dir, "report --teams " + Quote(dir.File("teams.csv")) + " " + Quote(dir.File("season.txt")));
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("\na     \u6771\u4eac" + std::string(9, ' ') + "1"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("\nb     abcde" + std::string(8, ' ') + "1"), std::string::npos) << text.out;
}

TEST(Report, ATeamsFileAddsDisplayNamesQuotedInCsvAndAlignedByCharacters) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("season.txt"), "[04/10/45]\r\n45nnewyo 45nstlou\r\n45nbosto 45nbrook\r\n");
  WriteFileBytes(dir.File("teams.csv"),
                 "# the league\r\nname,display\r\n45nnewyo,\"Giants, New York\"\r\n"
                 "45nstlou,\"Cardinals \"\"Redbirds\"\"\"\r\n45nbosto,Br\u00e4ves B\u00f8ston\r\n");
  const std::string names = " --teams " + Quote(dir.File("teams.csv")) + " " +
                            Quote(dir.File("season.txt"));
  ToolRun csv = RunTool(dir, "report --format csv" + names);
  EXPECT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out,
            "team,display,games,home,away,doubleheader_dates,longest_home_stand,longest_road_trip,"
            "opponents,off_days\r\n"
            "45nbosto,Br\u00e4ves B\u00f8ston,1,0,1,0,0,1,1,0\r\n"
            "45nbrook,45nbrook,1,1,0,0,1,0,1,0\r\n"
            "45nnewyo,\"Giants, New York\",1,0,1,0,0,1,1,0\r\n"
            "45nstlou,\"Cardinals \"\"Redbirds\"\"\",1,1,0,0,1,0,1,0\r\n");
  ToolRun text = RunTool(dir, "report" + names);
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("\n\nteam      display               games  home  away  doubleheader dates"
                          "  longest home stand  longest road trip  opponents  off days\n"
                          "45nbosto  Br\u00e4ves B\u00f8ston             1     0     1"),
            std::string::npos)
      << text.out;
  ToolRun pairs = RunTool(dir, "report --by pair --format csv" + names);
  EXPECT_EQ(pairs.out.substr(0, pairs.out.find("\r\n", pairs.out.find("\r\n") + 2)),
            "team,display,opponent,opponent_display,games,home,away\r\n"
            "45nbosto,Br\u00e4ves B\u00f8ston,45nbrook,45nbrook,1,0,1");
}

// A teams file that cannot be read, or that holds a bad line, stops the
// report before the season is read: each refused line by its file and
// line, exit status 1, and nothing written.
TEST(Report, ABadTeamsFileIsRefusedByItsLineAndNothingIsWritten) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("season.txt"), "[04/10/45]\r\n45nnewyo 45nnewyo\r\n");  // a finding
  WriteFileBytes(dir.File("bad.csv"), "name,display\n45nnewyo,ok\n45nstlou,caf\xE9\n"
                                      "45nstlou,x,y\n");
  WriteFileBytes(dir.File("big.csv"), std::string(1024 * 1024 + 1, '#'));
  WriteFileBytes(dir.File("out.txt"), "older");
  const std::string output = " --output " + Quote(dir.File("out.txt")) + " " +
                             Quote(dir.File("season.txt"));
  ToolRun bad = RunTool(dir, "report --teams " + Quote(dir.File("bad.csv")) + output);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "schedule-tool: " + dir.File("bad.csv") +
                         ":3: team \"45nstlou\": display name \"caf\\xE9\" is not UTF-8 (byte 4): "
                         "save the file as UTF-8\nschedule-tool: " + dir.File("bad.csv") +
                         ":4: a row has 3 fields; the header names 2\n");
  for (const std::string unreadable : {"missing.csv", "big.csv"}) {
    ToolRun failed = RunTool(dir, "report --teams " + Quote(dir.File(unreadable)) + output);
    EXPECT_EQ(failed.status, 1) << unreadable;
    EXPECT_NE(failed.err.find("teams file \"" + dir.File(unreadable) + "\""), std::string::npos)
        << failed.err;
  }
  // The teams file as the output is named as the input it is, and keeps its
  // bytes; so is the season through a link of another name.
  WriteFileBytes(dir.File("good.csv"), "name,display\n45nnewyo,Giants\n");
  ToolRun onto = RunTool(dir, "report --teams " + Quote(dir.File("good.csv")) + " --output " +
                                  Quote(dir.File("good.csv")) + " " + Quote(dir.File("season.txt")));
  EXPECT_EQ(onto.status, 1);
  EXPECT_NE(onto.err.find("\": it is --teams too, which keeps its bytes"), std::string::npos)
      << onto.err;
  EXPECT_EQ(ReadFileBytes(dir.File("good.csv")), "name,display\n45nnewyo,Giants\n");
  const std::string season = ReadFileBytes(dir.File("season.txt"));
  std::filesystem::create_hard_link(dir.File("season.txt"), dir.File("linked.txt"));
  onto = RunTool(dir, "report --output " + Quote(dir.File("linked.txt")) + " " +
                          Quote(dir.File("season.txt")));
  EXPECT_NE(onto.err.find("\": it is SEASON too"), std::string::npos) << onto.err;
  EXPECT_EQ(ReadFileBytes(dir.File("season.txt")), season);
  EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), "older");
  EXPECT_EQ(RunTool(dir, "report --teams - - <" + Quote(dir.File("season.txt"))).status, 2);
}

// The real 1884 season, named by its own team codes: every team's row as
// worked out from the season file's rows, a date's first 15 games kept.
TEST(Report, TheSeasonOf1884GivesTheRowsOfItsOwnRows) {
  ScopedTempDir dir;
  std::string rows = ReadFileBytes(ZELTO_SEASON_1884);
  ASSERT_FALSE(rows.empty());
  Season season;
  std::set<std::string> codes;
  std::istringstream lines(rows);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '\x1a') continue;
    std::vector<std::string> fields;
    std::stringstream split(line);
    for (std::string field; std::getline(split, field, ',');) {
      fields.push_back(field.size() >= 2 && field.front() == '"' ? field.substr(1, field.size() - 2)
                                                                 : field);
    }
    ASSERT_GE(fields.size(), 7u) << line;
    std::string date = fields[0].substr(4, 2) + "/" + fields[0].substr(6, 2) + "/" +
                       fields[0].substr(2, 2);
    if (season.empty() || season.back().first != date) season.push_back({date, {}});
    season.back().second.push_back({fields[3], fields[6]});
    codes.insert(fields[3]);
    codes.insert(fields[6]);
  }
  for (auto& date : season) {
    if (date.second.size() > 15) date.second.resize(15);
  }
  std::string map;
  for (const std::string& code : codes) map += code + "," + code + "\n";
  WriteFileBytes(dir.File("codes.map"), map);
  ASSERT_EQ(RunTool(dir, "import --teams " + Quote(dir.File("codes.map")) + " --output " +
                             Quote(dir.File("1884.txt")) + " " + Quote(ZELTO_SEASON_1884)).status,
            0);
  ASSERT_EQ(RunTool(dir, "build " + Quote(dir.File("1884.txt")) + " " +
                             Quote(dir.File("1884.SCH"))).status,
            0);
  for (const char* built : {"1884.txt", "1884.SCH"}) {
    ToolRun report = RunTool(dir, "report --format csv " + Quote(dir.File(built)));
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.out, ExpectedTeamCsv(season)) << built;
    // Three dates where teams really played two opponents in a day, and
    // nothing else.
    std::set<std::string> dates;
    std::istringstream found(report.err);
    for (std::string line; std::getline(found, line);) {
      if (line.find("schedule-tool: warning: ") == 0) continue;  // the 28-game dates
      ASSERT_NE(line.find("two opponents on one date"), std::string::npos) << line;
      dates.insert(line.substr(line.find(" on ") + 4, 8));
    }
    EXPECT_EQ(dates, (std::set<std::string>{"05/30/84", "06/17/84", "09/14/84"}));
  }
}

// Each team's travel, counted as a team travels (home, each game's park in
// turn, home after its last game), from a table whose distances differ by
// direction so that every leg shows where it was counted; or great-circle
// from the places a teams file gives. A team the file does not place is
// named, and nothing is written.
TEST(Report, TravelIsCountedLegByLegFromDistancesOrPlaces) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("season.txt"),
                 "[04/01/27]\naa       bb\n[04/02/27]\ncc       aa\n[04/03/27]\nbb       cc\n");
  WriteFileBytes(dir.File("d.txt"), "# from row to column\n   bb aa cc zz\n"
                                     "aa 1 0 100000 5\nbb 0 10 100 5\ncc 1000 10000 0 5\n"
                                     "zz 5 5 5 0\n");
  const std::string season = Quote(dir.File("season.txt"));
  ToolRun text = RunTool(dir, "report --distances " + Quote(dir.File("d.txt")) + " " + season);
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("on one date; travel 111111 in all\n"), std::string::npos) << text.out;
  ToolRun csv = RunTool(dir, "report --format csv --distances " + Quote(dir.File("d.txt")) + " " +
                                 season);
  EXPECT_EQ(csv.out,
            "team,games,home,away,doubleheader_dates,longest_home_stand,longest_road_trip,"
            "opponents,travel,off_days\r\naa,2,1,1,0,1,1,2,11,1\r\nbb,2,1,1,0,1,1,2,1100,1\r\n"
            "cc,2,1,1,0,1,1,2,110000,1\r\n");

  WriteFileBytes(dir.File("places.csv"), "name,latitude,longitude\naa,51.5074,-0.1278\n"
                                          "bb,48.8566,2.3522\ncc,48.8566,2.3522\n");
  csv = RunTool(dir, "report --format csv --teams " + Quote(dir.File("places.csv")) + " " + season);
  EXPECT_NE(csv.out.find("aa,aa,2,1,1,0,1,1,2,688,1\r\nbb,bb,2,1,1,0,1,1,2,0,1\r\ncc,cc,2,1,1,0,1,1,2,688,1\r\n"),
            std::string::npos)
      << csv.out;

  WriteFileBytes(dir.File("out.txt"), "older");
  WriteFileBytes(dir.File("part.csv"), "name,latitude,longitude\naa,1,1\n");
  ToolRun refused = RunTool(dir, "report --teams " + Quote(dir.File("part.csv")) + " --output " +
                                     Quote(dir.File("out.txt")) + " " + season);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "schedule-tool: " + dir.File("part.csv") +
                             ": team \"bb\" of the season is not placed here (no latitude and "
                             "longitude)\nschedule-tool: " + dir.File("part.csv") +
                             ": team \"cc\" of the season is not placed here (no latitude and "
                             "longitude)\n");
  EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), "older");
}

}  // namespace
