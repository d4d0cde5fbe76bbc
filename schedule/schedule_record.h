// The records of a schedule file: 430 bytes each, a header record first and
// then one record per date with up to 15 games. Record n starts at byte
// (n - 1) * 430; the file has no other header, index or trailer.
#ifndef ZELTO_SCHEDULE_SCHEDULE_RECORD_H_
#define ZELTO_SCHEDULE_SCHEDULE_RECORD_H_

#include <cstddef>
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

/// A date record for `date` with every game slot blank.
ScheduleRecord MakeDateRecord(std::string_view date);

/// Stores a game in slot `slot` (1 to 15) of `record`.
void StoreGame(ScheduleRecord* record, int slot, std::string_view visitor, std::string_view home,
               std::string_view options);

/// True when `bytes` start with a header record: a schedule file given
/// where its text was expected.
bool IsScheduleHeader(std::string_view bytes);

/// True for a slot of 28 spaces: no game.
bool IsBlankSlot(const GameSlot& slot);

/// The record's 430 bytes, as they go to the file.
inline const unsigned char* RecordBytes(const ScheduleRecord& record) {
  return reinterpret_cast<const unsigned char*>(&record);
}

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_RECORD_H_
