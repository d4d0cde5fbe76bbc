// Reading sequential input: the read buffer, read field and the end-of-file
// test.
//
// The file is read front to back through the entry's read buffer. A disk
// file is refilled from the offset of its first unconsumed byte; a device
// (terminal, pipe) is read where it stands, as much as it has ready.
//
// A field is found by scanning the buffer for the bytes that end it, and
// taken a span at a time; what reading did to it goes into its notes only
// where a rarer byte (a quote, comma, TAB, 0x1A, a mark) sent the reading
// another way, so a plain line costs its scan and no more. While it reads,
// the entry counts lines as an editor does (CR LF, LF and CR each end one),
// at the line ends alone, so that every field can say where it stood.
#include "files/read_field.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "files/file_access_internal.h"
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

// Reads the next chunk into the read buffer: a disk file from the offset
// of its first unconsumed byte, a device as much as it has ready, up to the
// buffer's size. A failure empties the buffer.
int Refill(FileEntry& entry) {
  entry.position += entry.buffer_index;
  entry.buffer_index = 0;
  entry.buffer_count = 0;
  if (entry.device == DeviceKind::kDisk) {
    return ReadInputAt(entry, static_cast<uint64_t>(entry.position), entry.buffer.get(),
                       entry.record_length, &entry.buffer_count);
  }
  return PlatformReadNext(entry.handle, entry.buffer.get(), entry.record_length,
                          &entry.buffer_count);
}

// Makes sure an unconsumed byte is held, refilling when the buffer is used
// up; false with `*code` 0 at the end of the data.
inline bool HoldByte(FileEntry& entry, int* code) {
  *code = 0;
  if (entry.buffer_index < entry.buffer_count) return true;
  if ((*code = Refill(entry)) != 0) return false;
  return entry.buffer_count > 0;
}

// Looks at the next unconsumed byte, refilling when the buffer is used up.
// `*byte` is kNoByteLeft at the end of the file.
int PeekByte(FileEntry& entry, int* byte) {
  int code;
  *byte = HoldByte(entry, &code) ? entry.buffer[entry.buffer_index] : kNoByteLeft;
  return code;
}

// Consumes the byte just peeked, counting the line it ends: a CR ends one,
// and so does an LF unless it follows a CR.
void Consume(FileEntry& entry, int byte) {
  ++entry.buffer_index;
  if (byte == kCarriageReturn || (byte == kLineFeed && !entry.after_carriage_return)) {
    ++entry.line;
  }
  entry.after_carriage_return = byte == kCarriageReturn;
}

// Consumes the held bytes [index, index + count) as Consume would one by
// one: the lines they end are counted.
void ConsumeSpan(FileEntry& entry, uint32_t count) {
  const uint8_t* byte = entry.buffer.get() + entry.buffer_index;
  const uint8_t* end = byte + count;
  for (; byte < end; ++byte) {
    if (*byte == kCarriageReturn || (*byte == kLineFeed && !entry.after_carriage_return)) {
      ++entry.line;
    }
    entry.after_carriage_return = *byte == kCarriageReturn;
  }
  entry.buffer_index += count;
}

// Consumes a line end that starts with a CR: the CR and one LF right after it.
int ConsumeCarriageReturn(FileEntry& entry) {
  Consume(entry, kCarriageReturn);
  int byte;
  if (int code = PeekByte(entry, &byte)) return code;
  if (byte == kLineFeed) Consume(entry, kLineFeed);
  return 0;
}

// The data ends at a 0x1A byte, which stays unconsumed: every later read
// finds it again.
void NoteEndOfText(FileEntry& entry, FieldNotes* notes) {
  if (entry.end_of_text_line == 0) entry.end_of_text_line = entry.line;
  notes->end_of_text = true;
}

// Adds `count` bytes to a field unless that makes it longer than any
// schedule text line; false then.
bool Append(FileEntry& entry, std::string* field, const uint8_t* bytes, size_t count) {
  if (field->size() + count > kMaxFieldLength) {
    entry.too_long = true;
    return false;
  }
  field->append(reinterpret_cast<const char*>(bytes), count);
  return true;
}

// Which bytes end the scan of a plain field: its breakers.
struct BreakerTable {
  bool stops[256] = {};
  constexpr BreakerTable() {
    for (char breaker : kPlainFieldBreakers) stops[static_cast<uint8_t>(breaker)] = true;
  }
};
constexpr BreakerTable kBreakers;

// The first breaker in [from, end), or `end`. Eight bytes are looked at a
// step: one test finds the bytes below 0x20 (TAB, LF, CR and 0x1A among
// them) and one the commas, the lowest such byte being the first in the
// text; a control byte that ends nothing (a NUL, an ESC) is stepped over.
inline const uint8_t* FindBreaker(const uint8_t* from, const uint8_t* end) {
#if defined(__SSE2__)
  // Sixteen bytes a step where the processor has the instructions for it
  // (every x86-64): the same two tests, a bit per byte.
  const __m128i kHighestControl = _mm_set1_epi8(0x1F);
  const __m128i kCommas = _mm_set1_epi8(static_cast<char>(kComma));
  while (end - from >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(bytes, kHighestControl), bytes);
    auto found = static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(controls, _mm_cmpeq_epi8(bytes, kCommas))));
    for (; found != 0; found &= found - 1) {
      const uint8_t* at = from + std::countr_zero(found);
      if (kBreakers.stops[*at]) return at;
    }
    from += 16;
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    while (end - from >= 8) {
      uint64_t word;
      std::memcpy(&word, from, sizeof word);
      const uint64_t controls = (word - kOnes * 0x20) & ~word & kHighBits;
      const uint64_t commas = word ^ (kOnes * kComma);
      const uint64_t found = controls | ((commas - kOnes) & ~commas & kHighBits);
      if (found == 0) {
        from += 8;
        continue;
      }
      from += std::countr_zero(found) / 8;
      if (kBreakers.stops[*from]) return from;
      ++from;
    }
  }
  while (from < end && !kBreakers.stops[*from]) ++from;
  return from;
}

// A plain field runs up to a comma, a CR, an LF, 0x1A or the end of the file.
// LF ends a line by itself: files from Unix editors have no CR. TAB bytes are
// dropped. Plain bytes are copied a buffer's span at a time.
int ReadPlainField(FileEntry& entry, std::string* field, FieldNotes* notes) {
  for (;;) {
    int code;
    if (!HoldByte(entry, &code)) return code;
    const uint8_t* start = entry.buffer.get() + entry.buffer_index;
    const uint8_t* end = entry.buffer.get() + entry.buffer_count;
    const uint8_t* stop = FindBreaker(start, end);
    if (stop > start) {
      if (!Append(entry, field, start, static_cast<size_t>(stop - start))) {
        return frame::kFieldTooLong;
      }
      entry.buffer_index += static_cast<uint32_t>(stop - start);
      entry.after_carriage_return = false;
    }
    if (stop == end) continue;
    switch (*stop) {
      case kTab:
        Consume(entry, kTab);
        ++notes->tabs_dropped;
        continue;
      case kComma:
        Consume(entry, kComma);
        notes->ended_by_comma = true;
        return 0;
      case kLineFeed: Consume(entry, kLineFeed); return 0;
      case kCarriageReturn:
        // The LF of a CR LF is most often held already.
        if (stop + 1 < end && stop[1] == kLineFeed) {
          entry.buffer_index += 2;
          ++entry.line;
          entry.after_carriage_return = false;
          return 0;
        }
        return ConsumeCarriageReturn(entry);
      default:
        NoteEndOfText(entry, notes);
        return 0;
    }
  }
}

// What follows a closing double quote: blanks, TABs and LFs are skipped,
// then one comma or one CR (LF) ends the field. Anything else begins the
// next field where it stands.
int ReadAfterClosingQuote(FileEntry& entry, FieldNotes* notes) {
  const int64_t closing_line = entry.line;
  for (;;) {
    int byte;
    if (int code = PeekByte(entry, &byte)) return code;
    if (byte == kSpace || byte == kTab || byte == kLineFeed) {
      Consume(entry, byte);
      continue;
    }
    if (byte == kComma) {
      Consume(entry, kComma);
      notes->ended_by_comma = true;
      return 0;
    }
    if (byte == kCarriageReturn) return ConsumeCarriageReturn(entry);
    if (byte == kEndOfText) {
      NoteEndOfText(entry, notes);
    } else if (byte != kNoByteLeft && entry.line == closing_line) {
      notes->text_after_quote = true;
    }
    return 0;
  }
}

// A quoted field takes every byte up to the next double quote, line ends
// and commas included; the end of the file ends it too. Its bytes are taken
// a buffer's span at a time, their lines counted as they go.
int ReadQuotedField(FileEntry& entry, std::string* field, FieldNotes* notes) {
  notes->quoted = true;
  Consume(entry, kQuote);
  for (;;) {
    int code;
    if (!HoldByte(entry, &code)) {
      if (code != 0) return code;
      notes->quote_left_open = true;
      notes->last_line = entry.line;
      return 0;
    }
    const uint8_t* start = entry.buffer.get() + entry.buffer_index;
    const size_t held = entry.buffer_count - entry.buffer_index;
    const void* quote = std::memchr(start, kQuote, held);
    const size_t span = quote == nullptr ? held : static_cast<size_t>(
                                                      static_cast<const uint8_t*>(quote) - start);
    if (span > 0) {
      if (!Append(entry, field, start, span)) return frame::kFieldTooLong;
      ConsumeSpan(entry, static_cast<uint32_t>(span));
    }
    if (quote != nullptr) break;
  }
  notes->last_line = entry.line;
  Consume(entry, kQuote);
  return ReadAfterClosingQuote(entry, notes);
}

// The start of the data: a UTF-8 byte-order mark (EF BB BF, as Notepad's
// "UTF-8 with BOM" writes it) is no text and is skipped; a UTF-16 mark means
// a text whose every other byte is NUL, which no schedule is. A mark cut
// short after its first bytes leaves them as the start of the first field,
// in `*prefix`.
int ReadStartOfData(FileEntry& entry, std::string* prefix, FieldNotes* notes) {
  static constexpr uint8_t kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
  entry.start_read = true;
  int byte;
  if (int code = PeekByte(entry, &byte)) return code;
  if (byte == 0xFF || byte == 0xFE) {
    const int first = byte;
    Consume(entry, byte);
    if (int code = PeekByte(entry, &byte)) return code;
    if (byte == (first == 0xFF ? 0xFE : 0xFF)) return frame::kUtf16Text;
    prefix->push_back(static_cast<char>(first));
    return 0;
  }
  for (uint8_t mark_byte : kUtf8Mark) {
    if (byte != mark_byte) return 0;
    Consume(entry, byte);
    prefix->push_back(static_cast<char>(byte));
    if (prefix->size() < sizeof kUtf8Mark) {
      if (int code = PeekByte(entry, &byte)) return code;
    }
  }
  prefix->clear();
  notes->byte_order_mark = true;
  return 0;
}

// The entry for reading, or the code for why there is none.
int InputEntry(int16_t number, FileEntry** entry) {
  int code = 0;
  *entry = EntryOfKind(number, {FileKind::kSequentialInput}, &code);
  return code;
}

}  // namespace

namespace {

// Skips the blanks before a field; `*byte` is the first byte after them, or
// kNoByteLeft at the end of the data.
int SkipLeadingBlanks(FileEntry& entry, int* byte) {
  for (;;) {
    int code;
    if (!HoldByte(entry, &code)) {
      *byte = kNoByteLeft;
      return code;
    }
    const uint8_t* start = entry.buffer.get() + entry.buffer_index;
    const uint8_t* end = entry.buffer.get() + entry.buffer_count;
    const uint8_t* at = start;
    while (at < end && *at == kSpace) ++at;
    if (at > start) {
      entry.buffer_index += static_cast<uint32_t>(at - start);
      entry.after_carriage_return = false;
    }
    if (at < end) {
      *byte = *at;
      return 0;
    }
  }
}

int ReadFieldOf(FileEntry& entry, std::string* field, FieldNotes* notes) {
  if (entry.too_long) return Fail(frame::kFieldTooLong);

  std::string prefix;  // bytes of a byte-order mark that was none after all
  bool first_field = !entry.start_read;
  if (first_field) {
    if (int code = ReadStartOfData(entry, &prefix, notes)) return Fail(code);
  }
  int byte = prefix.empty() ? kSpace : static_cast<unsigned char>(prefix[0]);
  if (prefix.empty()) {
    if (int code = SkipLeadingBlanks(entry, &byte)) return Fail(code);
  }
  notes->first_line = entry.line;
  notes->last_line = entry.line;
  if (byte == kEndOfText) NoteEndOfText(entry, notes);
  if (byte == kNoByteLeft || byte == kEndOfText) return Fail(frame::kPastEndOfFile);

  if (!prefix.empty()) *field = prefix;
  int code = byte == kQuote && prefix.empty() ? ReadQuotedField(entry, field, notes)
                                              : ReadPlainField(entry, field, notes);
  if (!notes->quoted) notes->last_line = notes->first_line;
  if (code == 0 && first_field && LooksLikeUtf16(*field)) code = frame::kUtf16Text;
  if (code != 0) {
    field->clear();  // a field cut short by a failed read is not handed on
    return Fail(code);
  }
  return 0;
}

}  // namespace

// A first line with a NUL in every other byte, and none between them, is
// UTF-16 text without a mark (three characters at least, so that a stray
// NUL in a short line is not taken for one).
bool LooksLikeUtf16(std::string_view field) {
  if (field.size() < 6) return false;
  for (size_t nul_at = 0; nul_at < 2; ++nul_at) {
    bool alternating = true;
    for (size_t i = 0; i < field.size() && alternating; ++i) {
      alternating = (field[i] == '\0') == (i % 2 == nul_at);
    }
    if (alternating) return true;
  }
  return false;
}

int ReadField(int16_t number, std::string* field, FieldNotes* notes) {
  field->clear();
  *notes = FieldNotes{};
  FileEntry* entry;
  if (int code = InputEntry(number, &entry)) return Fail(code);
  return ReadFieldOf(*entry, field, notes);
}

int ReadNextField(int16_t number, std::string* field, FieldNotes* notes) {
  field->clear();
  *notes = FieldNotes{};
  FileEntry* entry;
  if (int code = InputEntry(number, &entry)) return Fail(code);
  // The end is asked first, as EndOfFile asks it, so that a complete read
  // leaves no error behind.
  int byte;
  if (int code = PeekByte(*entry, &byte)) return Fail(code);
  if (byte == kEndOfText && entry->end_of_text_line == 0) entry->end_of_text_line = entry->line;
  if (byte == kNoByteLeft || byte == kEndOfText) return frame::kPastEndOfFile;
  return ReadFieldOf(*entry, field, notes);
}

namespace {

// The line nearly every read meets, taken where it stands: not the first
// field (its start is looked at for marks), not after a CR whose LF may
// still come, its blanks, bytes and end all held in the buffer, ended by an
// LF, a CR LF or a comma, with no double quote, TAB or 0x1A. It is what
// ReadFieldOf makes of such a field, without the copy; anything else is
// left to ReadFieldOf. True when taken.
inline bool TakeHeldPlainField(FileEntry& entry, std::string_view* field, FieldNotes* notes) {
  if (!entry.start_read || entry.too_long || entry.after_carriage_return) return false;
  const uint8_t* const buffer = entry.buffer.get();
  const uint8_t* const end = buffer + entry.buffer_count;
  const uint8_t* start = buffer + entry.buffer_index;
  while (start < end && *start == kSpace) ++start;
  if (start == end || *start == kQuote || *start == kEndOfText) return false;
  const uint8_t* stop = FindBreaker(start, end);
  if (stop == end) return false;
  const uint8_t* next;
  bool comma = false;
  switch (*stop) {
    case kLineFeed: next = stop + 1; break;
    case kCarriageReturn:
      if (stop + 1 == end || stop[1] != kLineFeed) return false;
      next = stop + 2;
      break;
    case kComma:
      next = stop + 1;
      comma = true;
      break;
    default: return false;  // a TAB dropped, or the end of the text
  }
  *notes = FieldNotes{};
  notes->first_line = notes->last_line = entry.line;
  notes->ended_by_comma = comma;
  if (!comma) ++entry.line;
  entry.buffer_index = static_cast<uint32_t>(next - buffer);
  *field = std::string_view(reinterpret_cast<const char*>(start),
                            static_cast<size_t>(stop - start));
  return true;
}

}  // namespace

int ReadNextFieldView(int16_t number, std::string_view* field, std::string* storage,
                      FieldNotes* notes) {
  FileEntry* entry = FindEntry(number);
  if (entry != nullptr && entry->kind == FileKind::kSequentialInput &&
      TakeHeldPlainField(*entry, field, notes)) {
    return 0;
  }
  int code = ReadNextField(number, storage, notes);
  *field = *storage;
  return code;
}

int ReadField(int16_t number, std::string* field) {
  FieldNotes notes;
  return ReadField(number, field, &notes);
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
  if (byte == kEndOfText && entry->end_of_text_line == 0) entry->end_of_text_line = entry->line;
  return byte == kNoByteLeft || byte == kEndOfText;
}

bool InputHeldNoByte(int16_t number) {
  FileEntry* entry;
  if (InputEntry(number, &entry) != 0) return false;
  return entry->position == 0 && entry->buffer_count == 0;
}

EndOfTextNotes NotesOnEndOfText(int16_t number) {
  EndOfTextNotes notes;
  FileEntry* entry;
  if (InputEntry(number, &entry) != 0 || entry->end_of_text_line == 0) return notes;
  notes.found = true;
  notes.line = entry->end_of_text_line;
  // The 0x1A byte itself is the next unconsumed one; what follows is
  // counted a buffer at a time and dropped.
  ++entry->buffer_index;
  const int64_t limit = entry->device == DeviceKind::kDisk ? INT64_MAX : kMaxFieldLength;
  for (;;) {
    notes.bytes_after += entry->buffer_count - entry->buffer_index;
    entry->buffer_index = entry->buffer_count;
    if (notes.bytes_after >= limit) {
      notes.at_least = true;
      break;
    }
    if (Refill(*entry) != 0 || entry->buffer_count == 0) break;
  }
  return notes;
}

int PeekBytes(int16_t number, uint8_t* bytes, uint32_t size, uint32_t* got) {
  *got = 0;
  FileEntry* entry;
  if (int code = InputEntry(number, &entry)) return Fail(code);
  size = std::min(size, entry->record_length);
  // The unconsumed bytes move to the buffer's start, and more are read in
  // behind them; the reader then takes them from the buffer as usual.
  uint8_t* buffer = entry->buffer.get();
  if (entry->buffer_index > 0) {
    uint32_t held = entry->buffer_count - entry->buffer_index;
    std::memmove(buffer, buffer + entry->buffer_index, held);
    entry->position += entry->buffer_index;
    entry->buffer_index = 0;
    entry->buffer_count = held;
  }
  while (entry->buffer_count < size) {
    uint32_t step = 0;
    uint8_t* into = buffer + entry->buffer_count;
    uint32_t wanted = size - entry->buffer_count;
    int code = entry->device == DeviceKind::kDisk
                   ? ReadInputAt(*entry,
                                 static_cast<uint64_t>(entry->position) + entry->buffer_count,
                                 into, wanted, &step)
                   : PlatformReadNext(entry->handle, into, wanted, &step);
    if (code != 0) return Fail(code);
    if (step == 0) break;
    entry->buffer_count += step;
  }
  *got = std::min(size, entry->buffer_count);
  std::memcpy(bytes, buffer, *got);
  return 0;
}

int ReadBytes(int16_t number, uint8_t* bytes, uint32_t size, uint32_t* got) {
  *got = 0;
  FileEntry* entry;
  if (int code = InputEntry(number, &entry)) return Fail(code);
  while (*got < size) {
    int byte;
    if (int code = PeekByte(*entry, &byte)) return Fail(code);
    if (byte == kNoByteLeft) break;
    uint32_t held = std::min(entry->buffer_count - entry->buffer_index, size - *got);
    std::memcpy(bytes + *got, entry->buffer.get() + entry->buffer_index, held);
    entry->buffer_index += held;
    *got += held;
  }
  return 0;
}

}  // namespace files
