// Generated seasons checked on their text alone: the text is read back here,
// independently of the generator, and every rule is counted from it.
#include "tool/generate/generate_season.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace tool {
namespace {

using std::chrono::sys_days;

// One game as the text holds it: its date's place among the dates, the
// visitor and the home team.
struct TextGame {
  int date = 0;
  std::string visitor, home;
};

// The season as read from its text.
struct TextSeason {
  std::vector<sys_days> dates;
  std::vector<TextGame> games;
};

// Reads the text: CR LF line ends, date lines [MM/DD/YY] (the century that
// of `first_year`, going on to the next when a date would go back), game
// lines with the visitor padded to column 9 and the home team from column 10.
TextSeason ReadText(const std::string& text, int first_year) {
  TextSeason season;
  int century = first_year / 100 * 100;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "a line without CR LF at byte " << at;
    if (end == std::string::npos) break;
    std::string line = text.substr(at, end - at);
    at = end + 2;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    if (line.front() == '[') {
      EXPECT_EQ(line.size(), 10u) << line;
      EXPECT_EQ(line.substr(3, 1) + line.substr(6, 1) + line.substr(9, 1), "//]") << line;
      int month = std::stoi(line.substr(1, 2)), day = std::stoi(line.substr(4, 2));
      int year = century + std::stoi(line.substr(7, 2));
      std::chrono::year_month_day date{std::chrono::year{year},
                                       std::chrono::month{static_cast<unsigned>(month)},
                                       std::chrono::day{static_cast<unsigned>(day)}};
      if (!season.dates.empty() && sys_days{date} < season.dates.back()) {
        century += 100;
        date = std::chrono::year{year + 100} / date.month() / date.day();
      }
      EXPECT_TRUE(date.ok()) << line;
      season.dates.push_back(sys_days{date});
      continue;
    }
    EXPECT_FALSE(season.dates.empty()) << "a game before the first date: " << line;
    EXPECT_GE(line.size(), 10u) << line;
    EXPECT_EQ(line[8], ' ') << line;
    std::string visitor = line.substr(0, 8);
    visitor.erase(visitor.find_last_not_of(' ') + 1);
    std::string home = line.substr(9);
    EXPECT_EQ(home.find(' '), std::string::npos) << line;
    season.games.push_back(TextGame{static_cast<int>(season.dates.size()) - 1, visitor, home});
  }
  return season;
}

// The figures counted from the text.
struct TextFigures {
  std::map<std::string, int> breaks;  // per team
  int total_breaks = 0;
  int repeaters = 0;                  // a team's two series in a row against one opponent
  int64_t travel = 0;                 // by the rules' distances: home, park to park, home
  int longest_series_run = 0;         // series in a row at one park
  int longest_home_games = 0, longest_road_games = 0;
};

// The game days the calendar rules give from the start on, counted here
// day by day.
std::vector<sys_days> CalendarDays(const CalendarRules& rules, size_t count) {
  std::vector<sys_days> days;
  for (sys_days day = rules.start; days.size() < count; day += std::chrono::days{1}) {
    bool off = rules.weekday_off[std::chrono::weekday{day}.c_encoding()];
    for (const DayRange& range : rules.no_games) off |= range.first <= day && day <= range.last;
    if (!off) days.push_back(day);
  }
  return days;
}

// Checks every rule of the season on its text and answers its figures.
TextFigures ExpectRulesHold(const League& league, const SeasonRules& rules,
                            const std::string& text) {
  const int year = static_cast<int>(std::chrono::year_month_day{rules.calendar.start}.year());
  TextSeason season = ReadText(text, year);
  TextFigures figures;
  // The dates are the calendar's game days, one after another.
  EXPECT_EQ(season.dates, CalendarDays(rules.calendar, season.dates.size()));

  // At most 15 games a date, no team twice on one.
  std::vector<std::set<std::string>> playing(season.dates.size());
  std::vector<int> games_on(season.dates.size());
  for (const TextGame& game : season.games) {
    ++games_on[game.date];
    EXPECT_TRUE(playing[game.date].insert(game.visitor).second) << game.visitor << " twice on a date";
    EXPECT_TRUE(playing[game.date].insert(game.home).second) << game.home << " twice on a date";
  }
  for (int games : games_on) {
    EXPECT_GE(games, 1);
    EXPECT_LE(games, 15);
  }

  // Each pair's meetings, half at each park.
  std::map<std::string, int> number_of, division_of;
  for (size_t t = 0; t < league.teams.size(); ++t) {
    number_of[league.teams[t].name] = static_cast<int>(t);
    division_of[league.teams[t].name] = league.division_of[t];
  }
  std::map<std::pair<std::string, std::string>, int> hosted;  // (home, visitor) -> games
  std::map<std::string, int> home, away;
  for (const TextGame& game : season.games) {
    EXPECT_TRUE(number_of.count(game.home) && number_of.count(game.visitor)) << game.home;
    ++hosted[{game.home, game.visitor}];
    ++home[game.home];
    ++away[game.visitor];
  }
  const int within = rules.division_meetings < 0 ? rules.meetings : rules.division_meetings;
  for (const LeagueTeam& a : league.teams) {
    for (const LeagueTeam& b : league.teams) {
      if (a.name >= b.name) continue;
      int meetings = division_of[a.name] == division_of[b.name] ? within : rules.meetings;
      int at_a = hosted[{a.name, b.name}], at_b = hosted[{b.name, a.name}];
      EXPECT_EQ(at_a + at_b, meetings) << a.name << " and " << b.name;
      EXPECT_EQ(std::min(at_a, at_b), meetings / 2) << a.name << " and " << b.name;
    }
    EXPECT_LE(std::abs(home[a.name] - away[a.name]), 1) << a.name;
  }

  // The series: a team's games against one opponent at one park on
  // consecutive game days. Each park's half of a pair is full series and
  // one shorter rest.
  struct TextSeries {
    std::string opponent;
    bool at_home = false;
    int games = 0;
  };
  std::map<std::string, std::vector<TextSeries>> series_of;
  std::map<std::string, const TextGame*> last_game_of;
  for (const TextGame& game : season.games) {
    for (const std::string& team : {game.home, game.visitor}) {
      const TextGame* last = last_game_of[team];
      bool same = last != nullptr && last->date + 1 == game.date && last->home == game.home &&
                  last->visitor == game.visitor;
      if (same) {
        ++series_of[team].back().games;
      } else {
        const std::string& opponent = team == game.home ? game.visitor : game.home;
        series_of[team].push_back(TextSeries{opponent, team == game.home, 1});
      }
      last_game_of[team] = &game;
    }
  }
  std::map<std::pair<std::string, std::string>, std::multiset<int>> lengths;  // (home, visitor)
  for (const auto& [team, series] : series_of) {
    // Runs of series at one park, and of games.
    int run = 0, games_run = 0;
    for (size_t i = 0; i < series.size(); ++i) {
      if (series[i].at_home) lengths[{team, series[i].opponent}].insert(series[i].games);
      bool again = i > 0 && series[i].at_home == series[i - 1].at_home;
      run = again ? run + 1 : 1;
      games_run = again ? games_run + series[i].games : series[i].games;
      figures.breaks[team] += again ? 1 : 0;
      figures.repeaters += i > 0 && series[i].opponent == series[i - 1].opponent ? 1 : 0;
      figures.total_breaks += again ? 1 : 0;
      figures.longest_series_run = std::max(figures.longest_series_run, run);
      int& longest = series[i].at_home ? figures.longest_home_games : figures.longest_road_games;
      longest = std::max(longest, games_run);
    }
  }
  EXPECT_LE(figures.longest_series_run, rules.most_in_a_row);
  // Travel: from home to each series' park in turn, and home at the end.
  if (rules.distances.teams > 0) {
    for (const auto& [team, series] : series_of) {
      int at = number_of[team];
      for (const TextSeries& one : series) {
        const int park = one.at_home ? number_of[team] : number_of[one.opponent];
        figures.travel += DistanceBetween(rules.distances, at, park);
        at = park;
      }
      figures.travel += DistanceBetween(rules.distances, at, number_of[team]);
    }
  }
  for (const auto& [pair, games] : hosted) {
    if (games == 0) continue;  // the pair's single meeting is at the other park
    std::multiset<int> wanted;
    int rest = games;
    for (; rest > rules.series_length; rest -= rules.series_length) wanted.insert(rules.series_length);
    wanted.insert(rest);
    EXPECT_EQ(lengths[pair], wanted) << pair.first << " at home to " << pair.second;
  }
  return figures;
}

League MakeLeague(int teams, int divisions) {
  League league;
  for (int t = 0; t < teams; ++t) {
    int division = divisions > 0 ? t % divisions : 0;
    league.teams.push_back(LeagueTeam{"team" + std::to_string(t + 1),
                                      divisions > 0 ? "d" + std::to_string(division) : "", t + 1});
    league.division_of.push_back(division);
  }
  league.division_count = divisions;
  return league;
}

SeasonRules MakeRules(int meetings, int division_meetings, int series_length) {
  SeasonRules rules;
  rules.meetings = meetings;
  rules.division_meetings = division_meetings;
  rules.series_length = series_length;
  std::string problem;
  EXPECT_TRUE(ParseDay("2027-04-05", &rules.calendar.start, &problem));
  return rules;
}

// The summary says what the text holds.
void ExpectSummaryAgrees(const GeneratedSeason& season, const TextFigures& figures) {
  const SeasonSummary& summary = season.summary;
  EXPECT_EQ(summary.total_breaks, figures.total_breaks);
  EXPECT_EQ(summary.repeaters, figures.repeaters);
  EXPECT_EQ(summary.travel, figures.travel);
  EXPECT_EQ(std::max(summary.home_stand_series, summary.road_trip_series),
            figures.longest_series_run);
  EXPECT_EQ(summary.home_stand_games, figures.longest_home_games);
  EXPECT_EQ(summary.road_trip_games, figures.longest_road_games);
  int least = figures.breaks.begin()->second, most = least;
  for (const auto& [team, breaks] : figures.breaks) {
    least = std::min(least, breaks);
    most = std::max(most, breaks);
  }
  if (static_cast<int>(figures.breaks.size()) < summary.teams) least = 0;  // teams never at a break
  EXPECT_EQ(summary.breaks.least, least);
  EXPECT_EQ(summary.breaks.most, most);
  EXPECT_EQ(static_cast<size_t>(summary.dates),
            static_cast<size_t>(std::count(season.text.begin(), season.text.end(), '[')));
}

GeneratedSeason GenerateOrFail(const League& league, const SeasonRules& rules) {
  GeneratedSeason season;
  std::string problem;
  EXPECT_TRUE(GenerateSeason(league, rules, &season, &problem)) << problem;
  return season;
}

TEST(Generate, EveryRuleHoldsOnTheTextForLeaguesOfEverySize) {
  struct Case {
    int teams, divisions, meetings, division_meetings, series_length, most_in_a_row;
  };
  const Case cases[] = {
      {2, 0, 5, -1, 2, 3},   {3, 0, 4, -1, 3, 3},  {7, 0, 3, -1, 1, 3},   {8, 0, 6, -1, 4, 3},
      {8, 2, 6, 2, 3, 3},    {7, 2, 2, 5, 4, 3},   {12, 2, 9, 18, 3, 3},  {12, 0, 2, -1, 3, 2},
      {16, 4, 3, 7, 2, 3},   {16, 2, 3, 7, 2, 2},  {16, 0, 22, -1, 3, 3}, {30, 0, 2, -1, 3, 3},
      {30, 3, 4, 8, 3, 2},   {30, 0, 6, -1, 1, 3}, {3, 3, 4, 4, 1, 1},    {7, 0, 5, -1, 2, 1},
      {8, 3, 1, 2, 1, 3},    {20, 2, 1, 2, 2, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.teams << " teams, " << c.divisions << " divisions, "
                                    << c.meetings << "/" << c.division_meetings << " meetings, "
                                    << "series of " << c.series_length << ", at most "
                                    << c.most_in_a_row << " in a row");
    League league = MakeLeague(c.teams, c.divisions);
    SeasonRules rules = MakeRules(c.meetings, c.division_meetings, c.series_length);
    rules.most_in_a_row = c.most_in_a_row;
    GeneratedSeason season = GenerateOrFail(league, rules);
    TextFigures figures = ExpectRulesHold(league, rules, season.text);
    ExpectSummaryAgrees(season, figures);
    // No repeaters where the league leaves another opponent between; two
    // teams alone, or changing parks after every series, cannot avoid them.
    if (c.teams > 2 && c.most_in_a_row > 1) {
      EXPECT_EQ(figures.repeaters, 0);
    }
  }
}

TEST(Generate, OffDaysAndBreaksHoldNoGames) {
  League league = MakeLeague(12, 2);
  SeasonRules rules = MakeRules(9, 18, 3);
  std::string problem;
  rules.calendar.weekday_off[std::chrono::Monday.c_encoding()] = true;
  rules.calendar.weekday_off[std::chrono::Thursday.c_encoding()] = true;
  DayRange all_star, opening_week;
  ASSERT_TRUE(ParseDayRange("2027-07-12..2027-07-15", &all_star, &problem));
  ASSERT_TRUE(ParseDayRange("2027-04-07", &opening_week, &problem));
  rules.calendar.no_games = {all_star, opening_week};
  GeneratedSeason season = GenerateOrFail(league, rules);
  ExpectRulesHold(league, rules, season.text);  // the dates are the calendar's game days
  EXPECT_EQ(season.text.find("[04/07/27]"), std::string::npos);
  EXPECT_EQ(season.text.find("[07/13/27]"), std::string::npos);
  EXPECT_NE(season.text.find("[07/16/27]"), std::string::npos);
  EXPECT_EQ(season.text.find("[04/12/27]"), std::string::npos);  // a Monday
}

// A single round robin of an even number n of teams in one-game series has
// n - 2 breaks, the fewest there can be. Two without a repeater where they
// meet have two more than twice as many (for 4 teams the fewest there can
// be); a league of an odd number, its rests skipped, has one, but for 3
// teams, where every team must take one.
TEST(Generate, RoundRobinsHaveTheFewestBreaks) {
  for (int teams : {2, 4, 8, 12, 16, 30}) {
    SCOPED_TRACE(testing::Message() << teams << " teams");
    League league = MakeLeague(teams, 0);
    for (uint64_t seed : {1, 7}) {
      SeasonRules single = MakeRules(1, -1, 1);
      single.seed = seed;
      EXPECT_EQ(ExpectRulesHold(league, single, GenerateOrFail(league, single).text).total_breaks,
                teams - 2);
    }
    SeasonRules twice = MakeRules(2, -1, 1);
    TextFigures figures = ExpectRulesHold(league, twice, GenerateOrFail(league, twice).text);
    EXPECT_EQ(figures.total_breaks, teams == 2 ? 0 : 2 * (teams - 2) + 2);
    EXPECT_EQ(figures.repeaters, teams == 2 ? 2 : 0);
  }
  for (int teams : {3, 7, 29}) {
    League league = MakeLeague(teams, 0);
    SeasonRules twice = MakeRules(2, -1, 1);
    TextFigures figures = ExpectRulesHold(league, twice, GenerateOrFail(league, twice).text);
    EXPECT_EQ(figures.total_breaks, teams == 3 ? 3 : 1) << teams << " teams";
    EXPECT_EQ(figures.repeaters, 0) << teams << " teams";
  }
}

TEST(Generate, TheSameSeedGivesTheSameBytesAnotherSeedAnotherSchedule) {
  League league = MakeLeague(8, 2);
  SeasonRules rules = MakeRules(4, 8, 3);
  std::string first = GenerateOrFail(league, rules).text;
  EXPECT_EQ(GenerateOrFail(league, rules).text, first);
  rules.seed = 2;
  std::string second = GenerateOrFail(league, rules).text;
  EXPECT_NE(second, first);
  ExpectRulesHold(league, rules, second);
}

TEST(Generate, RulesThatCannotBeMetAreRefusedSayingWhich) {
  auto refusal = [](const League& league, const SeasonRules& rules) {
    GeneratedSeason season;
    std::string problem;
    EXPECT_FALSE(GenerateSeason(league, rules, &season, &problem));
    return problem;
  };
  SeasonRules one_in_a_row = MakeRules(2, -1, 1);
  one_in_a_row.most_in_a_row = 1;
  EXPECT_NE(refusal(MakeLeague(8, 0), one_in_a_row).find("at most 1 series in a row"),
            std::string::npos);
  // An odd league changes parks after every series: its rests come between.
  GenerateOrFail(MakeLeague(7, 0), one_in_a_row);
  EXPECT_NE(refusal(MakeLeague(8, 0), MakeRules(0, -1, 3)).find("no game"), std::string::npos);
  EXPECT_NE(refusal(MakeLeague(8, 0), MakeRules(201, -1, 3)).find("--meetings 201"),
            std::string::npos);
  SeasonRules no_day = MakeRules(2, -1, 3);
  no_day.calendar.weekday_off.fill(true);
  EXPECT_NE(refusal(MakeLeague(4, 0), no_day).find("no day is left"), std::string::npos);
}

// A travelling tournament instance kept beside the generator: its TEAMS
// file, its distances file and its optimal total.
struct Instance {
  League league;
  DistanceTable distances;
  int64_t optimum = 0;
};

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Instance ReadInstance(const std::string& name) {
  const std::string folder = ZELTO_TTP_DIR;
  Instance instance;
  std::vector<std::string> errors, names;
  EXPECT_TRUE(ReadLeague(FileText(folder + "/" + name + ".teams"), name, &instance.league, &errors));
  for (const LeagueTeam& team : instance.league.teams) names.push_back(team.name);
  EXPECT_TRUE(ReadDistanceTable(FileText(folder + "/" + name + ".dist"), name, names,
                                &instance.distances, &errors));
  std::istringstream optima(FileText(folder + "/optima.txt"));
  for (std::string word; optima >> word;) {
    if (word == name) optima >> instance.optimum;
  }
  EXPECT_TRUE(errors.empty()) << errors.front();
  return instance;
}

// The travelling tournament (a double round robin in one-game series, at
// most 3 in a row at one park, no repeaters) of 4 teams: the least travel
// there is, the rules holding and the travel as the text shows it.
TEST(GenerateTravel, TheSmallestTournamentsTravelTheLeastThereIs) {
  for (const char* name : {"nl4", "circ4", "con4", "gal4", "sup4"}) {
    SCOPED_TRACE(name);
    const Instance instance = ReadInstance(name);
    SeasonRules rules = MakeRules(2, -1, 1);
    rules.distances = instance.distances;
    const GeneratedSeason season = GenerateOrFail(instance.league, rules);
    const TextFigures figures = ExpectRulesHold(instance.league, rules, season.text);
    ExpectSummaryAgrees(season, figures);
    EXPECT_EQ(figures.repeaters, 0);
    EXPECT_EQ(figures.travel, instance.optimum);
  }
}

// A league in divisions and series with places on a line travels far less
// than without them, keeping every rule, and gives the same bytes again.
TEST(GenerateTravel, ALeagueWithPlacesTravelsLessKeepingEveryRule) {
  const League league = MakeLeague(6, 2);
  SeasonRules rules = MakeRules(2, 4, 2);
  const std::string without = GenerateOrFail(league, rules).text;
  rules.distances.teams = 6;
  for (int a = 0; a < 6; ++a) {
    for (int b = 0; b < 6; ++b) rules.distances.distance.push_back(100 * std::abs(a - b));
  }
  const GeneratedSeason season = GenerateOrFail(league, rules);
  const TextFigures figures = ExpectRulesHold(league, rules, season.text);
  ExpectSummaryAgrees(season, figures);
  EXPECT_EQ(figures.repeaters, 0);
  EXPECT_LT(figures.travel * 10, ExpectRulesHold(league, rules, without).travel * 8);
  EXPECT_EQ(GenerateOrFail(league, rules).text, season.text);
}

}  // namespace
}  // namespace tool
