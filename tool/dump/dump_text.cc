#include "tool/dump/dump_text.h"

#include "files/read_field.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "schedule/schedule_text.h"

namespace tool {

using schedule::GameSlot;
using schedule::IsBlankSlot;
using schedule::ScheduleRecord;
using schedule::TrimTrailingSpaces;
using schedule::kDateWidth;
using schedule::kNameWidth;
using schedule::kOptionsWidth;
using schedule::kSlotsPerRecord;

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// What a line holds that decides how it is written: a byte a plain line
// cannot hold (files::kPlainFieldBreakers), a double quote. One look at
// each byte, through a table, for the hundreds of thousands of records of a
// large file.
struct BreakersAndQuotes {
  bool breakers = false;
  bool quote = false;
};

struct ByteKinds {
  uint8_t kinds[256] = {};
  static constexpr uint8_t kBreaker = 1;
  static constexpr uint8_t kQuote = 2;
  constexpr ByteKinds() {
    for (char breaker : files::kPlainFieldBreakers) kinds[static_cast<uint8_t>(breaker)] = kBreaker;
    kinds[static_cast<uint8_t>('"')] = kQuote;
  }
};
constexpr ByteKinds kByteKinds;

BreakersAndQuotes FindBreakersAndQuotes(std::string_view line) {
  uint8_t found = 0;
  for (char byte : line) found |= kByteKinds.kinds[static_cast<uint8_t>(byte)];
  return BreakersAndQuotes{(found & ByteKinds::kBreaker) != 0, (found & ByteKinds::kQuote) != 0};
}

// True when no byte of the record's date and slots is a breaker or a
// double quote, as in nearly every record: then no line of it needs a
// closer look. The bytes below 0x20 (TAB, LF, CR, 0x1A and the other
// control bytes, which only make the look closer), the commas and the
// double quotes are sought sixteen bytes a step where the processor has the
// instructions for it (every x86-64), else eight.
bool PlainRecord(const ScheduleRecord& record) {
  const char* bytes = record.date;
  constexpr size_t size = sizeof record - offsetof(ScheduleRecord, date);
#if defined(__SSE2__)
  const __m128i kHighestControl = _mm_set1_epi8(0x1F);
  const __m128i kCommas = _mm_set1_epi8(',');
  const __m128i kQuotes = _mm_set1_epi8('"');
  __m128i found = _mm_setzero_si128();
  auto look = [&](const char* at) {
    const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    found = _mm_or_si128(found, _mm_cmpeq_epi8(_mm_min_epu8(part, kHighestControl), part));
    found = _mm_or_si128(found, _mm_cmpeq_epi8(part, kCommas));
    found = _mm_or_si128(found, _mm_cmpeq_epi8(part, kQuotes));
  };
  for (size_t at = 0; at + 16 <= size; at += 16) look(bytes + at);
  look(bytes + size - 16);  // the last bytes, some of them looked at twice
  return _mm_movemask_epi8(found) == 0;
#else
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  size_t at = 0;
  for (; at + 8 <= size; at += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + at, sizeof word);
    const uint64_t commas = word ^ (kOnes * ',');
    const uint64_t quotes = word ^ (kOnes * '"');
    const uint64_t found = ((word - kOnes * 0x20) & ~word) |
                           ((commas - kOnes) & ~commas) | ((quotes - kOnes) & ~quotes);
    if ((found & kHighBits) != 0) return false;
  }
  for (; at < size; ++at) {
    if (kByteKinds.kinds[static_cast<uint8_t>(bytes[at])] != 0 ||
        static_cast<uint8_t>(bytes[at]) < 0x20) {
      return false;
    }
  }
  return true;
#endif
}

// The line as written, CR LF after it, appended to `text`. A plain line is
// read back as it stands unless it holds a byte that ends or shortens it,
// or starts with a blank (the reader skips leading spaces) or a double
// quote (the reader takes a quoted line). Quotes keep every byte but a
// double quote; a TAB before a plain line is dropped and stops the skipping
// of blanks and the quote rule alike.
void AppendLine(std::string_view line, const BreakersAndQuotes& found, std::string* text) {
  const bool awkward_start = line.front() == ' ' || line.front() == '"';
  if (!found.quote && (awkward_start || found.breakers)) {
    text->append("\"").append(line).append("\"");
  } else if (awkward_start) {
    text->append("\t").append(line);
  } else {
    text->append(line);
  }
  text->append(kLineEnd);
}

// The date line: the date in columns 2-9. A date whose stored text ends in
// its own closing bracket (a short date) is written as it was typed.
std::string DateLine(const char* date) {
  std::string_view stored(date, kDateWidth);
  std::string_view trimmed = TrimTrailingSpaces(stored);
  std::string line = "[";
  if (!trimmed.empty() && trimmed.back() == ']') return line.append(trimmed);
  return line.append(stored).append("]");
}

// A slot's fields at their full widths with a gap between them, the
// trailing spaces cut, in a buffer of its own: no allocation a game.
class SlotLine {
 public:
  SlotLine(const GameSlot& slot, std::string_view gap) {
    Put(std::string_view(slot.visitor, kNameWidth));
    Put(gap);
    Put(std::string_view(slot.home, kNameWidth));
    Put(gap);
    Put(std::string_view(slot.options, kOptionsWidth));
    while (size_ > 0 && bytes_[size_ - 1] == ' ') --size_;
  }
  std::string_view view() const { return std::string_view(bytes_, size_); }

 private:
  static constexpr size_t kGapRoom = 8;
  void Put(std::string_view part) {
    part = part.substr(0, std::min(part.size(), sizeof bytes_ - size_));
    std::memcpy(bytes_ + size_, part.data(), part.size());
    size_ += part.size();
  }
  char bytes_[2 * kNameWidth + kOptionsWidth + 2 * kGapRoom];
  size_t size_ = 0;
};

// What stands in the way of writing a record back.
enum class Obstacle : uint8_t {
  kRepeatedDate,    // the date repeats the date of the record before it
  kUnwritableLine,  // a line holds a double quote and a byte that ends a plain line
  kDateLikeGame,    // a game's visitor name starts with "["
};

// True when `line` can be written so that it reads back as it stands: a
// plain line cannot hold the bytes that end it, and a quoted line ends at
// its next double quote.
bool IsWritableLine(std::string_view line) {
  const BreakersAndQuotes found = FindBreakersAndQuotes(line);
  return !(found.breakers && found.quote);
}

// The write-back rules of `record`, walked in order: the date, then each
// slot. Each obstacle met is told to `meet(slot, obstacle)` (slot 0: the
// date); the walk stops where `meet` answers false, and then answers false
// itself. `kPlain`: the record is plain (PlainRecord), so no line of it can
// hold what would stop its writing, and none is looked at.
template <bool kPlain, typename Meet>
bool WalkWriteBackRules(const ScheduleRecord& record, const char* previous_date, Meet&& meet) {
  if (previous_date != nullptr && std::memcmp(previous_date, record.date, kDateWidth) == 0 &&
      !meet(0, Obstacle::kRepeatedDate)) {
    return false;
  }
  if (!kPlain && !IsWritableLine(DateLine(record.date)) && !meet(0, Obstacle::kUnwritableLine)) {
    return false;
  }
  for (int slot = 1; slot <= kSlotsPerRecord; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    // A visitor that starts with "[" is no blank slot: looked at first, as
    // the cheaper test.
    if (game.visitor[0] == '[') {
      if (!meet(slot, Obstacle::kDateLikeGame)) return false;
      continue;
    }
    if (kPlain || IsBlankSlot(game)) continue;
    if (!IsWritableLine(SlotLine(game, " ").view()) && !meet(slot, Obstacle::kUnwritableLine)) {
      return false;
    }
  }
  return true;
}

// Whether a record meets no obstacle, stopped at the first one met.
template <bool kPlain>
bool MeetsNoObstacle(const ScheduleRecord& record, const char* previous_date) {
  return WalkWriteBackRules<kPlain>(record, previous_date, [](int, Obstacle) { return false; });
}

}  // namespace

std::string GameSlotText(const GameSlot& slot, std::string_view gap) {
  return std::string(SlotLine(slot, gap).view());
}

std::vector<WriteBackProblem> WriteBackProblems(const ScheduleRecord& record,
                                                const char* previous_date) {
  std::vector<WriteBackProblem> problems;
  const auto word = [&problems](int slot, Obstacle obstacle) {
    switch (obstacle) {
      case Obstacle::kRepeatedDate:
        problems.push_back({slot,
                            "the date repeats the date of the record before it; written back, "
                            "the two would make one record"});
        break;
      case Obstacle::kUnwritableLine:
        problems.push_back({slot, std::string(slot == 0 ? "the date line" : "the game") +
                                      " holds a double quote and a comma, TAB, CR, LF or 0x1A "
                                      "byte"});
        break;
      case Obstacle::kDateLikeGame:
        problems.push_back({slot,
                            "the visitor name starts with \"[\"; written back, the game "
                            "would be read as a date line"});
        break;
    }
    return true;
  };
  if (PlainRecord(record)) {
    WalkWriteBackRules<true>(record, previous_date, word);
  } else {
    WalkWriteBackRules<false>(record, previous_date, word);
  }
  return problems;
}

bool IsPlainRecord(const ScheduleRecord& record) { return PlainRecord(record); }

bool CanWriteBack(const ScheduleRecord& record, const char* previous_date) {
  return PlainRecord(record) ? MeetsNoObstacle<true>(record, previous_date)
                             : MeetsNoObstacle<false>(record, previous_date);
}

bool CanWritePlainBack(const ScheduleRecord& record, const char* previous_date) {
  return MeetsNoObstacle<true>(record, previous_date);
}

namespace {

// The text of a plain record, written straight into `out` (room for
// kMaxPlainRecordText bytes), as AppendLine writes each line of it: no
// line holds a breaker or a double quote, so a line is quoted only for a
// leading blank. Returns the end of what was written.
constexpr size_t kMaxPlainRecordText = 16 + kSlotsPerRecord * (sizeof(GameSlot) + 6);

// The length of a slot's game line (visitor, a blank, home, a blank,
// options) without its trailing spaces, found from the slot itself rather
// than from the line just written: the last byte that is no space, sought
// a word at a time from the options back. The slot is no blank one.
constexpr size_t kGameLineLength = 2 * kNameWidth + kOptionsWidth + 2;

inline size_t TrimmedGameLineLength(const GameSlot& game) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kSpaces = 0x2020202020202020u;
    // The highest byte of `word` (from `first` on) that is no space, as a
    // length of the line: its offset in the line plus one; 0 for none.
    const auto last_other = [](uint64_t word, size_t first) -> size_t {
      const uint64_t others = word ^ kSpaces;
      return others == 0 ? 0 : first + 8 - static_cast<size_t>(std::countl_zero(others)) / 8;
    };
    uint64_t word;
    std::memcpy(&word, game.options + kOptionsWidth - 8, sizeof word);
    if (size_t length = last_other(word, 2 * kNameWidth + 2 + kOptionsWidth - 8)) return length;
    uint32_t start = 0;
    std::memcpy(&start, game.options, sizeof start);
    if (size_t length = last_other(start | (kSpaces << 32), 2 * kNameWidth + 2)) return length;
    std::memcpy(&word, game.home, sizeof word);
    if (size_t length = last_other(word, kNameWidth + 1)) return length;
    std::memcpy(&word, game.visitor, sizeof word);
    return last_other(word, 0);
  } else {
    char line[kGameLineLength];
    std::memcpy(line, game.visitor, kNameWidth);
    line[kNameWidth] = ' ';
    std::memcpy(line + kNameWidth + 1, game.home, kNameWidth);
    line[2 * kNameWidth + 1] = ' ';
    std::memcpy(line + 2 * kNameWidth + 2, game.options, kOptionsWidth);
    size_t size = kGameLineLength;
    while (size > 0 && line[size - 1] == ' ') --size;
    return size;
  }
}

char* PutPlainRecordText(const ScheduleRecord& record, int last, char* out) {
  // The date line, as DateLine makes it.
  const std::string_view stored(record.date, kDateWidth);
  const std::string_view trimmed = TrimTrailingSpaces(stored);
  *out++ = '[';
  if (!trimmed.empty() && trimmed.back() == ']') {
    std::memcpy(out, trimmed.data(), trimmed.size());
    out += trimmed.size();
  } else {
    std::memcpy(out, stored.data(), kDateWidth);
    out += kDateWidth;
    *out++ = ']';
  }
  *out++ = '\r';
  *out++ = '\n';
  for (int slot = 1; slot <= last; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    if (!IsBlankSlot(game)) {
      const bool quoted = game.visitor[0] == ' ';
      if (quoted) *out++ = '"';
      std::memcpy(out, game.visitor, kNameWidth);
      out[kNameWidth] = ' ';
      std::memcpy(out + kNameWidth + 1, game.home, kNameWidth);
      out[2 * kNameWidth + 1] = ' ';
      std::memcpy(out + 2 * kNameWidth + 2, game.options, kOptionsWidth);
      out += TrimmedGameLineLength(game);
      if (quoted) *out++ = '"';
    }
    *out++ = '\r';
    *out++ = '\n';
  }
  return out;
}

// Blank slots after the last game are the same as no game at all.
int LastGame(const ScheduleRecord& record) {
  int last_game = kSlotsPerRecord;
  while (last_game > 0 && IsBlankSlot(record.games[last_game - 1])) --last_game;
  return last_game;
}

}  // namespace

void AppendPlainWriteBackText(const ScheduleRecord& record, std::string* text) {
  char bytes[kMaxPlainRecordText];
  text->append(bytes,
               static_cast<size_t>(PutPlainRecordText(record, LastGame(record), bytes) - bytes));
}

void AppendWriteBackText(const ScheduleRecord& record, std::string* text) {
  if (PlainRecord(record)) {
    AppendPlainWriteBackText(record, text);
    return;
  }
  const int last_game = LastGame(record);
  auto append = [&](std::string_view line) {
    AppendLine(line, FindBreakersAndQuotes(line), text);
  };
  append(DateLine(record.date));
  for (int slot = 1; slot <= last_game; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    // A blank line under a date takes a slot and leaves it blank.
    if (IsBlankSlot(game)) {
      text->append(kLineEnd);
    } else {
      append(SlotLine(game, " ").view());
    }
  }
}

std::string_view WriteBackStart(const ScheduleRecord& first_record) {
  return files::LooksLikeUtf16(DateLine(first_record.date)) ? kLineEnd : std::string_view{};
}

std::string WriteBackText(const ScheduleRecord& record) {
  std::string text;
  AppendWriteBackText(record, &text);
  return text;
}

}  // namespace tool
