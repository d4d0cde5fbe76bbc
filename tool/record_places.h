// Where a place in a schedule file is, as messages name it: a record with
// its byte offset, a slot of a record, and kind bytes that may be anything.
#ifndef ZELTO_TOOL_RECORD_PLACES_H_
#define ZELTO_TOOL_RECORD_PLACES_H_

#include <cstdint>
#include <string>

namespace tool {

/// "record 3 (offset 860)".
std::string RecordAt(int64_t record);

/// "record 3, slot 2 (offset 898)".
std::string SlotAt(int64_t record, int slot);

/// A record's two kind bytes as hexadecimal, "00 00".
std::string KindBytes(const char* kind);

}  // namespace tool

#endif  // ZELTO_TOOL_RECORD_PLACES_H_
