#include "tool/season/season_days.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using tool::DefaultSeasonYear;
using tool::SeasonDays;

// The day a date becomes, or the problem as text.
std::string DayOf(SeasonDays* days, std::string_view date) {
  sys_days day;
  std::string problem;
  if (!days->Take(date, &day, &problem)) return problem;
  const year_month_day ymd{day};
  return std::to_string(static_cast<int>(ymd.year())) + "-" +
         std::to_string(static_cast<unsigned>(ymd.month())) + "-" +
         std::to_string(static_cast<unsigned>(ymd.day()));
}

TEST(SeasonDays, TwoDigitsAreThisCenturyUpToNextYearElseTheLast) {
  EXPECT_EQ(DefaultSeasonYear(45, year{2026}), year{1945});
  EXPECT_EQ(DefaultSeasonYear(19, year{2026}), year{2019});
  EXPECT_EQ(DefaultSeasonYear(27, year{2026}), year{2027});
  EXPECT_EQ(DefaultSeasonYear(28, year{2026}), year{1928});
  EXPECT_EQ(DefaultSeasonYear(0, year{1999}), year{2000});
}

TEST(SeasonDays, LaterDatesFollowTheFirstAndPassIntoTheNextCenturyAfter99) {
  SeasonDays days(year{1899}, year{2026});
  EXPECT_EQ(DayOf(&days, "12/31/99"), "1899-12-31");
  // 1900 is no leap year, though its two digits divide by four.
  EXPECT_EQ(DayOf(&days, "02/29/00"), "date \"02/29/00\" is no real day in 1900");
  EXPECT_EQ(DayOf(&days, "03/01/00"), "1900-3-1");
  EXPECT_EQ(DayOf(&days, "04/01/98"), "1998-4-1");  // out of order: no step back

  SeasonDays leap(std::nullopt, year{2026});
  EXPECT_EQ(DayOf(&leap, "10/01/99"), "1999-10-1");
  EXPECT_EQ(DayOf(&leap, "02/29/00"), "2000-2-29");
  EXPECT_EQ(DayOf(&leap, "4/1/00  "), "date \"4/1/00\" is not written MM/DD/YY");
  EXPECT_EQ(DayOf(&leap, "13/01/00"), "date \"13/01/00\" is no real day in 2000");
  EXPECT_FALSE(leap.year_refused());
}

TEST(SeasonDays, AYearGivenMustEndInTheFirstDatesTwoDigits) {
  SeasonDays days(year{1885}, year{2026});
  EXPECT_EQ(DayOf(&days, "xx/yy/zz"), "date \"xx/yy/zz\" is not written MM/DD/YY");
  EXPECT_FALSE(days.year_refused());  // no first date yet
  EXPECT_EQ(DayOf(&days, "04/17/84"),
            "--year 1885 is not the year of the season's first date \"04/17/84\": its year "
            "ends in 84");
  EXPECT_TRUE(days.year_refused());

  SeasonDays last(year{9999}, year{2026});
  EXPECT_EQ(DayOf(&last, "12/30/99"), "9999-12-30");
  EXPECT_EQ(DayOf(&last, "12/31/99"),
            "date \"12/31/99\" falls in 9999, past the last day a calendar holds");
}

}  // namespace
