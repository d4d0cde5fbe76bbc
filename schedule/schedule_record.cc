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

namespace {

// StoreField for a field of a game slot, which a record stores some 7
// million times a season file of 100 MB: a full name goes in as one copy of
// its fixed width, a shorter field a byte at a time onto the blanks.
template <size_t kWidth>
void StoreSlotField(char* field, std::string_view text) {
  if (text.size() >= kWidth) {
    std::memcpy(field, text.data(), kWidth);
    return;
  }
  std::memset(field, ' ', kWidth);
  for (size_t i = 0; i < text.size(); ++i) field[i] = text[i];
}

}  // namespace

ScheduleRecord MakeHeaderRecord() {
  ScheduleRecord record;
  std::memset(&record, ' ', sizeof record);
  record.kind[0] = 'D';
  return record;
}

ScheduleRecord MakeDateRecord(std::string_view date) {
  ScheduleRecord record;
  std::memset(&record, ' ', sizeof record);
  StoreField(record.date, kDateWidth, date);
  return record;
}

void StoreGame(ScheduleRecord* record, int slot, std::string_view visitor, std::string_view home,
               std::string_view options) {
  GameSlot& game = record->games[slot - 1];
  StoreSlotField<kNameWidth>(game.visitor, visitor);
  StoreSlotField<kNameWidth>(game.home, home);
  StoreSlotField<kOptionsWidth>(game.options, options);
}

bool IsBlankSlot(const GameSlot& slot) {
  // Looked at several times a slot when a large file is shown: compared a
  // word at a time against spaces.
  constexpr uint64_t kSpaces = 0x2020202020202020u;
  const char* bytes = slot.visitor;
  uint64_t words[3];
  uint32_t last;
  static_assert(sizeof words + sizeof last == sizeof(GameSlot), "a slot is 28 bytes");
  std::memcpy(words, bytes, sizeof words);
  std::memcpy(&last, bytes + sizeof words, sizeof last);
  return words[0] == kSpaces && words[1] == kSpaces && words[2] == kSpaces &&
         last == static_cast<uint32_t>(kSpaces);
}

bool IsScheduleHeader(std::string_view bytes) {
  if (bytes.size() < static_cast<size_t>(kRecordLength)) return false;
  ScheduleRecord header = MakeHeaderRecord();
  return bytes.substr(0, kRecordLength) ==
         std::string_view(reinterpret_cast<const char*>(&header), kRecordLength);
}

}  // namespace schedule
