#include "schedule/written_date.h"

#include <gtest/gtest.h>

namespace schedule {
namespace {

using namespace std::chrono;

TEST(WrittenDate, TwoDigitsEachAsWrittenAndNothingElse) {
  const std::optional<WrittenDate> date = ParseWrittenDate("02/29/00");
  ASSERT_TRUE(date);
  EXPECT_EQ(DayIn(*date, year{2000}), 2000y / February / 29d);
  EXPECT_FALSE(DayIn(*date, year{1900}).ok());
  // A month or a day that is none is read as written: it makes no real day.
  const std::optional<WrittenDate> odd = ParseWrittenDate("13/00/99");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->month, month{13});
  EXPECT_EQ(odd->two_digit_year, 99);
  EXPECT_FALSE(DayIn(*odd, year{1999}).ok());
  for (const char* other : {"4/1/00  ", "-1/01/00", "+1/01/00", "01/ 1/00", "01-01-00",
                            "01/01/2000", "01/01/0", ""}) {
    EXPECT_FALSE(ParseWrittenDate(other)) << other;
  }
}

}  // namespace
}  // namespace schedule
