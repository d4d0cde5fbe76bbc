#include "tool/calendar/calendar_html.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;

size_t Count(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

TEST(CalendarHtml, MonthsStartOnTheirWeekdayAndEachGameIsABoxOfItsKind) {
  tool::CalendarSeason season;
  season.teams = {"<b>&co", "leap"};
  const sys_days feb28{year{2028} / February / 28};  // a Monday of a leap year
  season.games = {{feb28, 0, 1, 1}, {feb28 + days{1}, 1, 0, 1}, {feb28 + days{1}, 0, 1, 2},
                  {feb28 + days{3}, 1, 0, 1}};
  const std::string html = tool::CalendarHtml(season, {1});
  EXPECT_EQ(Count(html, "<section class=\"team\""), 1u);
  EXPECT_NE(html.find("<h1>leap</h1>\n<p class=\"totals\">4 games: 2 home, 2 away; 1 doubleheader"),
            std::string::npos);
  // February 2028 begins on a Tuesday, March on a Wednesday.
  EXPECT_NE(html.find("<tbody><tr><td class=\"pad\"></td><td class=\"pad\"></td><td class=\"day out\" "
                      "data-date=\"2028-02-01\">"),
            std::string::npos);
  EXPECT_NE(html.find("<tbody><tr><td class=\"pad\"></td><td class=\"pad\"></td><td class=\"pad\"></td>"
                      "<td class=\"day off\" data-date=\"2028-03-01\">"),
            std::string::npos);
  EXPECT_NE(html.find("<td class=\"day dh\" data-date=\"2028-02-29\"><span class=\"date\">29</span>"
                      "<span class=\"game away\"><span class=\"mark\">at</span> <span "
                      "class=\"opponent\">&lt;b&gt;&amp;co</span></span><span class=\"game home\">"),
            std::string::npos)
      << html;
  EXPECT_EQ(Count(html, "class=\"game home\""), 2u);
  EXPECT_EQ(Count(html, "class=\"game away\""), 2u);
  EXPECT_EQ(Count(html, "<table class=\"month\">"), 2u);
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("http"), std::string::npos);  // nothing loaded from elsewhere
}

}  // namespace
