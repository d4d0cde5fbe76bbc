// Reading sequential input: the read buffer, read field and the end-of-file
// test.
//
// The file is read front to back through the entry's read buffer. A disk
// file is refilled from the offset of its first unconsumed byte; a device
// (terminal, pipe) is read where it stands, one byte at a time, so that the
// program never takes more from it than it uses.
#include <cstring>

#include "files/file_access.h"
#include "files/open_file_table.h"
#include "files/platform_file.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

constexpr uint8_t kComma = 0x2C;
constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kLineFeed = 0x0A;
constexpr uint8_t kTab = 0x09;
constexpr uint8_t kSpace = 0x20;
constexpr uint8_t kQuote = 0x22;
constexpr uint8_t kEndOfText = 0x1A;  // Ctrl+Z: nothing after it is data

// What the next unconsumed byte is.
constexpr int kNoByteLeft = -1;

int Fail(int code) {
  frame::RecordError(code);
  return code;
}

// Reads the next chunk into the read buffer. A failure empties the buffer.
int Refill(FileEntry& entry) {
  entry.position += entry.buffer_index;
  entry.buffer_index = 0;
  entry.buffer_count = 0;
  if (entry.device == DeviceKind::kDisk) {
    return PlatformReadAt(entry.handle, static_cast<uint64_t>(entry.position), entry.buffer.get(),
                          entry.record_length, &entry.buffer_count);
  }
  return PlatformReadNext(entry.handle, entry.buffer.get(), 1, &entry.buffer_count);
}

// Looks at the next unconsumed byte, refilling when the buffer is used up.
// `*byte` is kNoByteLeft at the end of the file.
int PeekByte(FileEntry& entry, int* byte) {
  if (entry.buffer_index >= entry.buffer_count) {
    if (int code = Refill(entry)) {
      *byte = kNoByteLeft;
      return code;
    }
    if (entry.buffer_count == 0) {
      *byte = kNoByteLeft;
      return 0;
    }
  }
  *byte = entry.buffer[entry.buffer_index];
  return 0;
}

void Consume(FileEntry& entry) { ++entry.buffer_index; }

// Consumes a line end that starts with a CR: the CR and one LF right after it.
int ConsumeCarriageReturn(FileEntry& entry) {
  Consume(entry);
  int byte;
  if (int code = PeekByte(entry, &byte)) return code;
  if (byte == kLineFeed) Consume(entry);
  return 0;
}

// A plain field runs up to a comma, a CR, an LF, 0x1A or the end of the file.
// LF ends a line by itself: files from Unix editors have no CR. TAB bytes are
// dropped. Plain bytes are copied a buffer's span at a time.
int ReadPlainField(FileEntry& entry, std::string* field) {
  for (;;) {
    int byte;
    if (int code = PeekByte(entry, &byte)) return code;
    if (byte == kNoByteLeft) return 0;
    const uint8_t* start = entry.buffer.get() + entry.buffer_index;
    const uint8_t* end = entry.buffer.get() + entry.buffer_count;
    const uint8_t* stop = start;
    while (stop < end && *stop != kComma && *stop != kCarriageReturn && *stop != kLineFeed &&
           *stop != kEndOfText && *stop != kTab) {
      ++stop;
    }
    field->append(reinterpret_cast<const char*>(start), static_cast<size_t>(stop - start));
    entry.buffer_index += static_cast<uint32_t>(stop - start);
    if (stop == end) continue;
    switch (*stop) {
      case kTab: Consume(entry); continue;
      case kComma:
      case kLineFeed: Consume(entry); return 0;
      case kCarriageReturn: return ConsumeCarriageReturn(entry);
      default: return 0;  // 0x1A stays unconsumed: the data ends there for good
    }
  }
}

// A quoted field takes every byte up to the next double quote, line ends and
// commas included; the end of the file ends it too. After the closing quote,
// blanks and LFs are skipped, then one comma or one CR (LF) ends the field.
int ReadQuotedField(FileEntry& entry, std::string* field) {
  Consume(entry);  // the opening quote
  for (;;) {
    int byte;
    if (int code = PeekByte(entry, &byte)) return code;
    if (byte == kNoByteLeft) return 0;
    Consume(entry);
    if (byte == kQuote) break;
    field->push_back(static_cast<char>(byte));
  }
  for (;;) {
    int byte;
    if (int code = PeekByte(entry, &byte)) return code;
    if (byte == kSpace || byte == kTab || byte == kLineFeed) {
      Consume(entry);
      continue;
    }
    if (byte == kComma) Consume(entry);
    if (byte == kCarriageReturn) return ConsumeCarriageReturn(entry);
    return 0;
  }
}

// The entry for reading, or the code for why there is none.
int InputEntry(int16_t number, FileEntry** entry) {
  *entry = FindEntry(number);
  if (*entry == nullptr) return frame::kBadFileNumber;
  if ((*entry)->kind != FileKind::kSequentialInput) return frame::kBadFileMode;
  return 0;
}

}  // namespace

int ReadField(int16_t number, std::string* field) {
  field->clear();
  FileEntry* entry;
  if (int code = InputEntry(number, &entry)) return Fail(code);

  int byte;
  for (;;) {
    if (int code = PeekByte(*entry, &byte)) return Fail(code);
    if (byte != kSpace) break;
    Consume(*entry);
  }
  if (byte == kNoByteLeft || byte == kEndOfText) return Fail(frame::kPastEndOfFile);

  int code = byte == kQuote ? ReadQuotedField(*entry, field) : ReadPlainField(*entry, field);
  if (code != 0) {
    field->clear();  // a field cut short by a failed read is not handed on
    return Fail(code);
  }
  return 0;
}

bool EndOfFile(int16_t number, int* error) {
  if (error != nullptr) *error = 0;
  FileEntry* entry = FindEntry(number);
  if (entry == nullptr) {
    if (error != nullptr) *error = frame::kFileNotFound;
    Fail(frame::kFileNotFound);
    return false;
  }
  if (entry->kind != FileKind::kSequentialInput) return false;
  int byte;
  if (int code = PeekByte(*entry, &byte)) {
    if (error != nullptr) *error = code;
    Fail(code);
    return false;
  }
  return byte == kNoByteLeft || byte == kEndOfText;
}

}  // namespace files
