#include "tool/record_places.h"

#include <cstdio>

#include "schedule/schedule_record.h"

namespace tool {
namespace {

int64_t RecordOffset(int64_t record) { return (record - 1) * schedule::kRecordLength; }

}  // namespace

std::string RecordAt(int64_t record) {
  return "record " + std::to_string(record) + " (offset " + std::to_string(RecordOffset(record)) +
         ")";
}

std::string SlotAt(int64_t record, int slot) {
  int64_t offset = RecordOffset(record) + offsetof(schedule::ScheduleRecord, games) +
                   (slot - 1) * static_cast<int64_t>(sizeof(schedule::GameSlot));
  return "record " + std::to_string(record) + ", slot " + std::to_string(slot) + " (offset " +
         std::to_string(offset) + ")";
}

std::string KindBytes(const char* kind) {
  char shown[16];
  std::snprintf(shown, sizeof shown, "%02X %02X", static_cast<unsigned char>(kind[0]),
                static_cast<unsigned char>(kind[1]));
  return shown;
}

}  // namespace tool
