#include "schedule/schedule_record.h"

#include <cstdint>
#include <cstring>

namespace schedule {

void StoreField(char* field, size_t width, std::string_view text) {
  size_t taken = text.size() < width ? text.size() : width;
  // An empty view may carry no data pointer at all; copy nothing then.
  if (taken > 0) std::memcpy(field, text.data(), taken);
  std::memset(field + taken, ' ', width - taken);
}

ScheduleRecord MakeHeaderRecord() {
  ScheduleRecord record;
  std::memset(&record, ' ', sizeof record);
  record.kind[0] = 'D';
  return record;
}

void FillDateRecord(std::string_view date, ScheduleRecord* record) {
  std::memset(record, ' ', sizeof *record);
  StoreField(record->date, kDateWidth, date);
}

bool IsScheduleHeader(std::string_view bytes) {
  if (bytes.size() < static_cast<size_t>(kRecordLength)) return false;
  ScheduleRecord header = MakeHeaderRecord();
  return bytes.substr(0, kRecordLength) ==
         std::string_view(reinterpret_cast<const char*>(&header), kRecordLength);
}

}  // namespace schedule
