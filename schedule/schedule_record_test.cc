#include "schedule/schedule_record.h"

#include <gtest/gtest.h>

#include <string>

namespace schedule {
namespace {

std::string Bytes(const ScheduleRecord& record) {
  return std::string(reinterpret_cast<const char*>(RecordBytes(record)), kRecordLength);
}

TEST(ScheduleRecord, HeaderIsDAndSpacesOnly) {
  EXPECT_EQ(Bytes(MakeHeaderRecord()), "D" + std::string(429, ' '));
}

TEST(ScheduleRecord, FieldsArePaddedWithSpacesAndCutToWidth) {
  ScheduleRecord record = MakeDateRecord("04/10/45");
  StoreGame(&record, 1, "45nnewyo", "45nstlou", "");
  StoreGame(&record, 3, "short", "averyverylongname", "opt");
  StoreGame(&record, 15, "last", "", "123456789012345");
  std::string bytes = Bytes(record);
  EXPECT_EQ(bytes.substr(0, 10), "  04/10/45");
  EXPECT_EQ(bytes.substr(10, 28), "45nnewyo45nstlou            ");
  EXPECT_EQ(bytes.substr(38, 28), std::string(28, ' '));  // slot 2 left blank
  EXPECT_EQ(bytes.substr(66, 28), "short   averyveropt         ");
  EXPECT_EQ(bytes.substr(402, 28), "last            123456789012");
  EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

TEST(ScheduleRecord, ShortDatesArePadded) {
  EXPECT_EQ(Bytes(MakeDateRecord("4/1/45]")).substr(0, 10), "  4/1/45] ");
}

}  // namespace
}  // namespace schedule
