// A real league's season as its people make it with schedule-tool: the 2018
// season imported, its matchups written by report, and generate in the
// league's own window; the text read back on its own and every rule
// recounted from it. The refusals write nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using std::chrono::sys_days;
using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

testing_support::ShellRun RunTool(const std::string& arguments) {
  return testing_support::RunShell(std::string(ZELTO_SCHEDULE_TOOL) + " " + arguments);
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

sys_days Day(int y, unsigned m, unsigned d) {
  return sys_days{std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d}};
}

struct Game {
  sys_days day;
  std::string visitor, home;
};

// The games of a schedule text: "[MM/DD/YY]" lines, then game lines with
// the visitor in columns 1-8 and the home team in columns 10-17.
std::vector<Game> ReadGames(const std::string& text, int century) {
  std::vector<Game> games;
  std::istringstream lines(text);
  std::string line;
  sys_days day{};
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '[') {
      day = Day(century + std::stoi(line.substr(7, 2)), std::stoul(line.substr(1, 2)),
                std::stoul(line.substr(4, 2)));
      continue;
    }
    auto word = [](std::string s) { return s.substr(0, s.find(' ')); };
    games.push_back(Game{day, word(line.substr(0, 8)), word(line.substr(9))});
  }
  return games;
}

// What the season was asked for.
struct Asked {
  sys_days start, end;
  std::vector<std::pair<sys_days, sys_days>> no_games;
  int least = 2, most = 4, in_a_row = 4;
  std::map<std::pair<std::string, std::string>, int> hosted;  // (home, visitor): games
};

bool NoGames(const Asked& asked, sys_days day) {
  return std::any_of(asked.no_games.begin(), asked.no_games.end(),
                     [&](const auto& range) { return range.first <= day && day <= range.second; });
}

// The games at each park of a report --by pair --format csv.
std::map<std::pair<std::string, std::string>, int> HostedOf(const std::string& csv) {
  std::map<std::pair<std::string, std::string>, int> hosted;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    std::vector<std::string> field;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) field.push_back(cell);
    if (field.size() < 5) continue;
    hosted[{field[0], field[1]}] = std::stoi(field[3]);
    hosted[{field[1], field[0]}] = std::stoi(field[4]);
  }
  return hosted;
}

// Recounts every rule of a league's season from its games alone; returns
// the most off days of a team.
int Recount(const std::vector<Game>& games, const Asked& asked) {
  std::map<std::pair<std::string, std::string>, int> hosted;
  std::map<std::string, std::vector<const Game*>> of_team;
  std::set<std::pair<std::string, sys_days>> played;
  sys_days first = games.front().day, last = games.front().day;
  for (const Game& game : games) {
    ++hosted[{game.home, game.visitor}];
    EXPECT_TRUE(asked.start <= game.day && game.day <= asked.end);
    EXPECT_FALSE(NoGames(asked, game.day));
    for (const std::string& team : {game.home, game.visitor}) {
      EXPECT_TRUE(played.insert({team, game.day}).second) << team << " twice a day";
      of_team[team].push_back(&game);
    }
    first = std::min(first, game.day);
    last = std::max(last, game.day);
  }
  for (const auto& [pair, count] : asked.hosted) {
    const auto found = hosted.find(pair);
    EXPECT_EQ(found == hosted.end() ? 0 : found->second, count)
        << pair.first << " hosting " << pair.second;
  }
  EXPECT_EQ(hosted.size(), static_cast<size_t>(std::count_if(
                               asked.hosted.begin(), asked.hosted.end(),
                               [](const auto& entry) { return entry.second > 0; })));
  // The game days of the window: a series' games are on consecutive ones.
  std::vector<sys_days> game_days;
  for (sys_days day = asked.start; day <= asked.end; day += std::chrono::days{1}) {
    if (!NoGames(asked, day)) game_days.push_back(day);
  }
  auto next_game_day = [&](sys_days day) {
    return *std::upper_bound(game_days.begin(), game_days.end(), day);
  };
  int least_off = 1 << 30, most_off = 0;
  for (auto& [team, list] : of_team) {
    std::sort(list.begin(), list.end(),
              [](const Game* a, const Game* b) { return a->day < b->day; });
    // Series: a pair's games at one park on consecutive game days.
    int length = 0, run = 0, last_home = -1;
    for (size_t i = 0; i < list.size(); ++i) {
      const bool joined = i > 0 && list[i]->home == list[i - 1]->home &&
                          list[i]->visitor == list[i - 1]->visitor &&
                          list[i]->day == next_game_day(list[i - 1]->day);
      if (!joined) {
        if (i > 0) {
          EXPECT_GE(length, asked.least) << team;
          EXPECT_LE(length, asked.most) << team;
        }
        length = 0;
        const int home = list[i]->home == team;
        run = home == last_home ? run + 1 : 1;
        last_home = home;
        EXPECT_LE(run, asked.in_a_row) << team << " on " << list[i]->day.time_since_epoch().count();
      }
      ++length;
    }
    EXPECT_GE(length, asked.least);
    EXPECT_LE(length, asked.most);
    // Off days, and idle days running outside the days of no games.
    int off = 0, idle = 0;
    size_t at = 0;
    for (sys_days day = first; day <= last; day += std::chrono::days{1}) {
      if (at < list.size() && list[at]->day == day) {
        ++at;
        idle = 0;
        continue;
      }
      ++off;
      if (!NoGames(asked, day)) {
        EXPECT_LE(++idle, 2) << team;
      }
    }
    least_off = std::min(least_off, off);
    most_off = std::max(most_off, off);
  }
  EXPECT_LE(most_off - least_off, 2);
  return most_off;
}

TEST(GenerateLeague, The2018LeagueIsMadeAgainInItsWindowKeepingEveryRule) {
  ScopedTempDir dir;
  const std::string season = dir.File("2018.txt"), matchups = dir.File("matchups.csv");
  ASSERT_EQ(RunTool("import " + Quote(ZELTO_SEASON_2018) + " > " + Quote(season) + " 2>/dev/null")
                .status,
            0);
  ASSERT_EQ(RunTool("report --by pair --format csv " + Quote(season) + " > " + Quote(matchups))
                .status,
            0);
  // The clubs without their parks: the search then mends the rules alone,
  // in a few seconds (the bench makes it with the parks).
  std::string clubs = ReadFileBytes(ZELTO_CLUBS_2018), teams;
  std::istringstream lines(clubs);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    size_t second = line.find(',', line.find(',') + 1);
    teams += line.substr(0, second) + "\n";
  }
  WriteFileBytes(dir.File("teams.csv"), teams);
  const std::string command = "generate " + Quote(dir.File("teams.csv")) + " --matchups " +
                              Quote(matchups) +
                              " --start 2018-03-29 --end 2018-09-30 --no-games "
                              "2018-07-16..2018-07-18 --series 2..4 --most-in-a-row 4 --output ";
  testing_support::ShellRun run = RunTool(command + Quote(dir.File("a.txt")) + " 2>&1");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("game days: 183 of the window's 183\n"), std::string::npos);
  ASSERT_EQ(RunTool(command + Quote(dir.File("b.txt")) + " 2>/dev/null").status, 0);
  const std::string text = ReadFileBytes(dir.File("a.txt"));
  EXPECT_EQ(text, ReadFileBytes(dir.File("b.txt")));

  Asked asked;
  asked.start = Day(2018, 3, 29);
  asked.end = Day(2018, 9, 30);
  asked.no_games = {{Day(2018, 7, 16), Day(2018, 7, 18)}};
  asked.hosted = HostedOf(ReadFileBytes(matchups));
  const std::vector<Game> games = ReadGames(text, 2000);
  ASSERT_EQ(games.size(), 2430u);
  EXPECT_LE(Recount(games, asked), 24);  // 2018's, the break's 3 days included
  EXPECT_EQ(RunTool("check " + Quote(dir.File("a.txt")) + " 2>&1").status, 0);
}

TEST(GenerateLeague, AMatchupsFileOfSeriesOfOneLengthAndNoEndMakesAShortSeason) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("teams.txt"), "ant\nbee\ncat\ndog\n");
  // From both sides and from one; a spreadsheet's byte-order mark first.
  WriteFileBytes(dir.File("m.csv"),
                 "\xEF\xBB\xBFteam,opponent,games,home,away\r\n"
                 "ant,bee,6,3,3\r\nbee,ant,6,3,3\r\nant,cat,6,3,3\r\nant,dog,6,3,3\r\n"
                 "bee,cat,6,3,3\r\nbee,dog,6,3,3\r\ncat,dog,6,3,3\r\n");
  testing_support::ShellRun run =
      RunTool("generate " + Quote(dir.File("teams.txt")) + " --matchups " +
              Quote(dir.File("m.csv")) + " --series 3 --start 2027-04-05 --off-day Mon --output " +
              Quote(dir.File("s.txt")) + " 2>&1");
  ASSERT_EQ(run.status, 0) << run.output;
  Asked asked;
  asked.start = Day(2027, 4, 5);
  asked.end = Day(2027, 12, 31);
  asked.least = asked.most = 3;
  asked.in_a_row = 3;
  for (const char* a : {"ant", "bee", "cat", "dog"}) {
    for (const char* b : {"ant", "bee", "cat", "dog"}) {
      if (std::string(a) != b) asked.hosted[{a, b}] = 3;
    }
  }
  const std::vector<Game> games = ReadGames(ReadFileBytes(dir.File("s.txt")), 2000);
  for (const Game& game : games) {
    EXPECT_NE(std::chrono::weekday{game.day}, std::chrono::Monday);
  }
  ASSERT_EQ(games.size(), 36u);
  Recount(games, asked);
  // Six rounds of 3 games on the 18 game days from the first, Mondays off.
  EXPECT_EQ(games.front().day, Day(2027, 4, 6));
  EXPECT_EQ(games.back().day, Day(2027, 4, 25));
}

TEST(GenerateLeague, RefusalsSayWhereAndWriteNothing) {
  ScopedTempDir dir;
  const std::string teams = Quote(dir.File("teams.txt"));
  WriteFileBytes(dir.File("teams.txt"), "ant\nbee\ncat\ndog\n");
  const std::string out = dir.File("out.txt");
  auto refused = [&](const std::string& csv, const std::string& options) {
    WriteFileBytes(dir.File("m.csv"), csv);
    testing_support::ShellRun run =
        RunTool("generate " + teams + " --matchups " + Quote(dir.File("m.csv")) +
                " --start 2027-04-05 " + options + " --output " + Quote(out) + " 2>&1");
    EXPECT_FALSE(std::filesystem::exists(out)) << csv;
    return run;
  };
  const std::string header = "team,opponent,games,home,away\n";
  const std::string m = dir.File("m.csv");
  const struct {
    std::string csv, message;
  } rows[] = {
      {header + "ant,bee,2,1,1\nant,eel,2,1,1\n", m + ":3: \"eel\" is no team of the league"},
      {header + "ant,ant,2,1,1\n", m + ":2: \"ant\" against itself"},
      {header + "ant,bee,3,1,1\n", m + ":2: games 3 is not home 1 + away 1"},
      {header + "ant,bee,2,-1,3\n", m + ":2: home \"-1\" is no whole number of games"},
      {header + "ant,bee,x,1,1\n", m + ":2: games \"x\" is no whole number of games"},
      {header + "ant,bee,2,1,1\n\nbee,ant,2,2,0\n",
       m + ":4: bee and ant disagree with line 2: 1 at bee, 1 at ant"},
      {"team,opponent,games,home\nant,bee,2,1,1\n", m + ":1: the header names no column away"},
  };
  for (const auto& row : rows) {
    testing_support::ShellRun run = refused(row.csv, "");
    EXPECT_EQ(run.status, 1) << row.csv;
    EXPECT_NE(run.output.find(row.message), std::string::npos) << run.output;
  }
  // A season longer than its window: how many game days each.
  const std::string all = header + "ant,bee,6,3,3\nant,cat,6,3,3\nant,dog,6,3,3\n"
                          "bee,cat,6,3,3\nbee,dog,6,3,3\ncat,dog,6,3,3\n";
  testing_support::ShellRun run = refused(all, "--series 3 --end 2027-04-20");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("the league needs 18 game days; the window from --start to --end "
                            "has 16"),
            std::string::npos)
      << run.output;
  run = refused(all, "--meetings 2");
  EXPECT_EQ(run.status, 2);
  run = refused(all, "--series 4..2");
  EXPECT_EQ(run.status, 1);
  run = refused(all, "--series 2..4 --end 2027-04-01");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("--end 2027-04-01 is before --start 2027-04-05"), std::string::npos);
  run = refused(header + "ant,bee,1,1,0\n", "");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("1 game at a park of one pair do not split into series of 2 to 4"),
            std::string::npos)
      << run.output;
}

}  // namespace
