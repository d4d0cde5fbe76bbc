#include "tool/generate/generate_calendar.h"

#include <gtest/gtest.h>

#include "tool/season/day_formats.h"

namespace tool {
namespace {

using std::chrono::sys_days;

sys_days Day(const char* text) {
  sys_days day;
  std::string problem;
  EXPECT_TRUE(ParseDay(text, &day, &problem)) << problem;
  return day;
}

TEST(GenerateCalendar, DaysAreRealDaysWrittenYearMonthDay) {
  EXPECT_EQ(SlashDate(std::chrono::year_month_day{Day("2028-02-29")}), "02/29/28");
  EXPECT_EQ(SlashDate(std::chrono::year_month_day{Day("1999-12-31")}), "12/31/99");
  sys_days day;
  std::string problem;
  bool miswritten = false;
  EXPECT_FALSE(ParseDay("2027-02-29", &day, &problem, &miswritten));
  EXPECT_EQ(problem, "\"2027-02-29\" is no real day");
  EXPECT_FALSE(miswritten);
  for (const char* text : {"2027-4-05", "04/05/27", "2027-04-05x", "", "2027-0a-05"}) {
    miswritten = false;
    EXPECT_FALSE(ParseDay(text, &day, &problem, &miswritten)) << text;
    EXPECT_TRUE(miswritten) << text;
  }
  DayRange range;
  ASSERT_TRUE(ParseDayRange("2027-07-12..2027-07-15", &range, &problem));
  EXPECT_EQ(range.last - range.first, std::chrono::days{3});
  EXPECT_FALSE(ParseDayRange("2027-07-15..2027-07-12", &range, &problem));
  EXPECT_EQ(problem, "\"2027-07-15..2027-07-12\" ends before it starts");
  std::chrono::weekday weekday;
  ASSERT_TRUE(ParseWeekday("thu", &weekday, &problem));
  EXPECT_EQ(weekday, std::chrono::Thursday);
  EXPECT_FALSE(ParseWeekday("Thursday", &weekday, &problem));
}

TEST(GenerateCalendar, GameDaysSkipOffDaysAndDaysOfNoGames) {
  CalendarRules rules;
  rules.start = Day("2028-02-26");  // a Saturday
  rules.weekday_off[std::chrono::Monday.c_encoding()] = true;
  rules.no_games.push_back(DayRange{Day("2028-02-29"), Day("2028-03-01")});
  std::vector<sys_days> days;
  std::string problem;
  ASSERT_TRUE(GameDays(rules, 4, &days, &problem));
  EXPECT_EQ(days, (std::vector<sys_days>{Day("2028-02-26"), Day("2028-02-27"),
                                         Day("2028-03-02"), Day("2028-03-03")}));
  rules.weekday_off.fill(true);
  EXPECT_FALSE(GameDays(rules, 1, &days, &problem));
  EXPECT_EQ(problem, "every weekday is an off day: no day is left for games");
  rules.weekday_off.fill(false);
  rules.start = Day("9999-12-30");
  EXPECT_FALSE(GameDays(rules, 3, &days, &problem));
  EXPECT_EQ(problem, "the season would run past the year 9999");
}

}  // namespace
}  // namespace tool
