// The records of a schedule file: 430 bytes each, a header record first and
// then one record per date with up to 15 games. Record n starts at byte
// (n - 1) * 430; the file has no other header, index or trailer.
#ifndef ZELTO_SCHEDULE_SCHEDULE_RECORD_H_
#define ZELTO_SCHEDULE_SCHEDULE_RECORD_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace schedule {

inline constexpr int kRecordLength = 430;   ///< bytes in every record
inline constexpr int kSlotsPerRecord = 15;  ///< games a date record holds
inline constexpr int kNameWidth = 8;        ///< a team file name's field
inline constexpr int kOptionsWidth = 12;    ///< a game's options field
inline constexpr int kDateWidth = 8;        ///< a date's field

/// One game: the visiting and home teams' file names and the options, each
/// space-padded, no terminator.
struct GameSlot {
  char visitor[kNameWidth];
  char home[kNameWidth];
  char options[kOptionsWidth];
};

/// One record as it stands in the file.
struct ScheduleRecord {
  char kind[2];  ///< "D " in the header, two spaces in a date record
  char date[kDateWidth];
  GameSlot games[kSlotsPerRecord];
};

static_assert(sizeof(GameSlot) == 28, "a game slot is 28 bytes");
static_assert(sizeof(ScheduleRecord) == kRecordLength, "a record is 430 bytes with no gaps");
static_assert(offsetof(ScheduleRecord, games) == 10, "games start at byte 10");

/// Copies at most `width` bytes of `text` into `field` and pads the rest of
/// the field with spaces; nothing is ever padded with zero bytes.
void StoreField(char* field, size_t width, std::string_view text);

/// The header record: "D " and 428 spaces.
ScheduleRecord MakeHeaderRecord();

/// Makes `*record` the date record for `date`, every game slot blank, where
/// it stands (the build fills one record for every date, with no copy).
void FillDateRecord(std::string_view date, ScheduleRecord* record);

/// A date record for `date` with every game slot blank.
inline ScheduleRecord MakeDateRecord(std::string_view date) {
  ScheduleRecord record;
  FillDateRecord(date, &record);
  return record;
}

namespace detail {

// StoreField for a field of a game slot, which a record stores some 7
// million times a season file of 100 MB: a full name goes in as one copy of
// its fixed width, a shorter field a byte at a time onto the blanks.
template <size_t kWidth>
inline void StoreSlotField(char* field, std::string_view text) {
  if (text.size() >= kWidth) {
    std::memcpy(field, text.data(), kWidth);
    return;
  }
  std::memset(field, ' ', kWidth);
  for (size_t i = 0; i < text.size(); ++i) field[i] = text[i];
}

}  // namespace detail

/// Stores a game in slot `slot` (1 to 15) of `record`.
inline void StoreGame(ScheduleRecord* record, int slot, std::string_view visitor,
                      std::string_view home, std::string_view options) {
  GameSlot& game = record->games[slot - 1];
  detail::StoreSlotField<kNameWidth>(game.visitor, visitor);
  detail::StoreSlotField<kNameWidth>(game.home, home);
  detail::StoreSlotField<kOptionsWidth>(game.options, options);
}

/// True when `bytes` start with a header record: a schedule file given
/// where its text was expected.
bool IsScheduleHeader(std::string_view bytes);

/// True for a slot of 28 spaces: no game. Looked at several times a slot
/// when a large file is shown: compared a word at a time against spaces.
inline bool IsBlankSlot(const GameSlot& slot) {
  constexpr uint64_t kSpaces = 0x2020202020202020u;
  uint64_t words[3];
  uint32_t last;
  static_assert(sizeof words + sizeof last == sizeof(GameSlot), "a slot is 28 bytes");
  const auto* bytes = reinterpret_cast<const unsigned char*>(&slot);
  std::memcpy(words, bytes, sizeof words);
  std::memcpy(&last, bytes + sizeof words, sizeof last);
  return ((words[0] ^ kSpaces) | (words[1] ^ kSpaces) | (words[2] ^ kSpaces) |
          (last ^ static_cast<uint32_t>(kSpaces))) == 0;
}

/// The record's 430 bytes, as they go to the file.
inline const unsigned char* RecordBytes(const ScheduleRecord& record) {
  return reinterpret_cast<const unsigned char*>(&record);
}

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_RECORD_H_
