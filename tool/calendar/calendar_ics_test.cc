#include "tool/calendar/calendar_ics.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;

TEST(CalendarIcs, LongLinesFoldAt75OctetsBetweenCharactersAndTextIsEscaped) {
  const std::string line = "SUMMARY:" + std::string(66, 'a') + "\xC3\xA9" + "b";  // é at 75-76
  const std::string folded = tool::FoldedLine(line);
  EXPECT_EQ(folded, "SUMMARY:" + std::string(66, 'a') + "\r\n \xC3\xA9" + "b\r\n");
  const std::string long_line(200, 'x');
  const std::string pieces = tool::FoldedLine(long_line);
  EXPECT_EQ(pieces.substr(0, 77), std::string(75, 'x') + "\r\n");
  EXPECT_EQ(pieces.substr(77, 77), " " + std::string(74, 'x') + "\r\n");
  EXPECT_EQ(tool::FoldedLine("END:VEVENT"), "END:VEVENT\r\n");

  EXPECT_EQ(tool::IcsText("a\\b;c,d\ne:f"), "a\\\\b\\;c\\,d\\ne:f");
}

TEST(CalendarIcs, EachGameIsAnAllDayEventWithAStableUidAndTheGivenStamp) {
  tool::CalendarSeason season;
  season.teams = {"84nbosto", "a;b c", "\xE9t\\\xE9"};
  const sys_days last_day{year{1884} / December / 31};
  season.games = {{last_day, 0, 1, 1}, {last_day, 1, 0, 2}, {last_day, 2, 0, 1}};
  const std::string ics = tool::CalendarIcs(season, season.games, sys_seconds{seconds{1700000000}});
  EXPECT_EQ(ics.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:", 0), 0u);
  EXPECT_NE(ics.find("UID:18841231-84nbosto-at-a=3Bb=20c-1@schedule-tool.zelto\r\n"
                     "DTSTAMP:20231114T221320Z\r\n"
                     "DTSTART;VALUE=DATE:18841231\r\n"
                     "DTEND;VALUE=DATE:18850101\r\n"
                     "SUMMARY:84nbosto at a\\;b c\r\n"),
            std::string::npos)
      << ics;
  EXPECT_NE(ics.find("UID:18841231-a=3Bb=20c-at-84nbosto-2@schedule-tool.zelto\r\n"), std::string::npos);
  EXPECT_NE(ics.find("SUMMARY:a\\;b c at 84nbosto (game 2)\r\n"), std::string::npos);
  // Bytes of no UTF-8 character are shown, never written raw.
  EXPECT_NE(ics.find("UID:18841231-=E9t=5C=E9-at-84nbosto-1@"), std::string::npos);
  EXPECT_NE(ics.find("SUMMARY:\\\\xE9t\\\\\\\\xE9 at 84nbosto\r\n"), std::string::npos) << ics;
  EXPECT_EQ(ics.substr(ics.size() - 15), "END:VCALENDAR\r\n");

  sys_seconds stamp;
  EXPECT_TRUE(tool::ParseSourceDateEpoch("0", &stamp));
  EXPECT_EQ(stamp, sys_seconds{});
  EXPECT_TRUE(tool::ParseSourceDateEpoch("253402300799", &stamp));
  for (const char* bad : {"", "-1", "1e9", " 5", "253402300800", "99999999999999"}) {
    EXPECT_FALSE(tool::ParseSourceDateEpoch(bad, &stamp)) << bad;
  }
}

}  // namespace
