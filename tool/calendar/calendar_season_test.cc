#include "tool/calendar/calendar_season.h"

#include <gtest/gtest.h>

#include "tool/calendar/calendar_teams.h"

namespace {

using namespace std::chrono;
using tool::CalendarCollector;
using tool::CalendarSeason;
using tool::SeasonDays;

// Tells `collector` a date record of the games "VISITOR HOME", one a line
// from `line` on.
void TellDate(CalendarCollector* collector, std::string_view date,
              std::initializer_list<std::pair<std::string_view, std::string_view>> games,
              int64_t line) {
  collector->DateBegun(date, 2);
  for (const auto& [visitor, home] : games) {
    tool::SeasonGame game;
    game.date = date;
    game.visitor = visitor;
    game.home = home;
    game.line = ++line;
    collector->GameRead(game);
  }
  collector->DateEnded();
}

// A season of four teams, on a day that is none among others, told to a
// collector of the teams `kept` (every team when none) whose warnings go to
// `warnings`; the season it takes.
CalendarSeason CollectSeason(const std::vector<std::string>& kept,
                             std::vector<std::string>* warnings) {
  CalendarCollector collector("s.txt", SeasonDays(year{1884}, year{2026}), kept,
                              [warnings](std::string warning) { warnings->push_back(warning); });
  TellDate(&collector, "05/30/84", {{"bos", "pro"}, {"nyc", "chi"}, {"pro", "bos"}}, 1);
  TellDate(&collector, "02/30/84", {{"bos", "nyc"}, {"chi", "pro"}}, 10);
  TellDate(&collector, "05/31/84", {{"", "pro"}, {"chi", "bos"}}, 20);
  // The same day again, in a record of its own, goes on counting.
  TellDate(&collector, "05/30/84", {{"bos", "pro"}}, 30);
  return collector.TakeSeason();
}

TEST(CalendarSeason, GamesOfTwoTeamsOnADayAreNumberedWhoeverIsAtHome) {
  std::vector<std::string> warnings;
  const CalendarSeason season = CollectSeason({}, &warnings);
  EXPECT_EQ(warnings,
            (std::vector<std::string>{
                "s.txt:11: date \"02/30/84\" is no real day in 1884: its 2 games are left out",
                "s.txt:21: a game with no visitor name is left out: \"pro\" plays nobody there"}));
  EXPECT_EQ(season.teams, (std::vector<std::string>{"bos", "chi", "nyc", "pro"}));
  ASSERT_EQ(season.games.size(), 5u);
  const sys_days may30{year{1884} / May / 30};
  EXPECT_EQ(season.games[0].day, may30);
  EXPECT_EQ(season.games[1].number, 1);
  EXPECT_EQ(season.games[2].number, 2);  // pro at bos: the second of the two
  EXPECT_EQ(season.games[2].visitor, 3);
  EXPECT_EQ(season.games[3].day, may30 + days{1});
  EXPECT_EQ(season.games[4].number, 3);

  // A game of two teams asked is one game.
  EXPECT_EQ(CollectSeason({"bos", "pro"}, &warnings).games.size(), 4u);
  EXPECT_EQ(CollectSeason({"nyc"}, &warnings).games.size(), 1u);
}

TEST(CalendarSeason, OnlyTheGamesOfTheTeamsAskedAreKeptNumberedAsInTheWholeSeason) {
  std::vector<std::string> warnings;
  CalendarCollector collector("s.txt", SeasonDays(year{1884}, year{2026}), {"pro"},
                              [&warnings](std::string warning) { warnings.push_back(warning); });
  TellDate(&collector, "05/30/84", {{"nyc", "chi"}, {"bos", "pro"}, {"pro", "bos"}}, 1);
  TellDate(&collector, "05/31/84", {{"chi", "bos"}, {"pro", ""}}, 10);
  TellDate(&collector, "05/30/84", {{"pro", "bos"}, {"nyc", "bos"}}, 20);
  EXPECT_EQ(warnings.size(), 1u);
  const CalendarSeason season = collector.TakeSeason();
  // Every team is known, to name and to answer a misspelt name with.
  EXPECT_EQ(season.teams, (std::vector<std::string>{"bos", "chi", "nyc", "pro"}));
  ASSERT_EQ(season.games.size(), 3u);
  EXPECT_EQ(season.games[0].visitor, 0);
  EXPECT_EQ(season.games[0].number, 1);
  EXPECT_EQ(season.games[1].number, 2);
  EXPECT_EQ(season.games[2].number, 3);  // the day again, later in the file
}

TEST(CalendarTeams, TeamsAreTakenInTheOrderAskedAndAnUnknownOneIsAnsweredWithTheClosest) {
  const std::vector<std::string> teams{"84nbosto", "84nbuffa", "84nprovi", "84ubosto"};
  std::vector<int32_t> picked;
  std::vector<std::string> problems;
  EXPECT_TRUE(tool::PickTeams(teams, {}, &picked, &problems));
  EXPECT_EQ(picked, (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_TRUE(tool::PickTeams(teams, {"84nprovi", "84nbosto", "84nprovi"}, &picked, &problems));
  EXPECT_EQ(picked, (std::vector<int32_t>{2, 0}));
  EXPECT_FALSE(tool::PickTeams(teams, {"84nbosto", "84Nbost"}, &picked, &problems));
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "--team \"84Nbost\": no game holds this team; the closest names: "
                          "\"84nbosto\", \"84ubosto\", \"84nbuffa\""}));
}

}  // namespace
