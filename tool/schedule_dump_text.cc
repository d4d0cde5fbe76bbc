#include "tool/schedule_dump_text.h"

#include "files/read_field.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

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
struct LineLook {
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

LineLook Look(std::string_view line) {
  uint8_t found = 0;
  for (char byte : line) found |= kByteKinds.kinds[static_cast<uint8_t>(byte)];
  return LineLook{(found & ByteKinds::kBreaker) != 0, (found & ByteKinds::kQuote) != 0};
}

// True when no byte of the record's date and slots is a breaker or a
// double quote, as in nearly every record: then no line of it needs a
// closer look. Eight bytes a step: the bytes below 0x20 (TAB, LF, CR, 0x1A
// and the other control bytes, which only make the look closer) and the
// commas and double quotes.
bool PlainRecord(const ScheduleRecord& record) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  const char* bytes = record.date;
  const size_t size = sizeof record - offsetof(ScheduleRecord, date);
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
}

// The line as written, CR LF after it, appended to `text`. A plain line is
// read back as it stands unless it holds a byte that ends or shortens it,
// or starts with a blank (the reader skips leading spaces) or a double
// quote (the reader takes a quoted line). Quotes keep every byte but a
// double quote; a TAB before a plain line is dropped and stops the skipping
// of blanks and the quote rule alike.
void AppendLine(std::string_view line, const LineLook& look, std::string* text) {
  const bool awkward_start = line.front() == ' ' || line.front() == '"';
  if (!look.quote && (awkward_start || look.breakers)) {
    text->append("\"").append(line).append("\"");
  } else if (awkward_start) {
    text->append("\t").append(line);
  } else {
    text->append(line);
  }
  text->append(kLineEnd);
}

// Why `line` cannot be written at all, or an empty string: a plain line
// cannot hold the bytes that end it, and a quoted line ends at its next
// double quote.
std::string LineProblem(std::string_view line, const char* what) {
  const LineLook look = Look(line);  // a plain record never asks
  if (look.breakers && look.quote) {
    return std::string(what) + " holds a double quote and a comma, TAB, CR, LF or 0x1A byte";
  }
  return "";
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

}  // namespace

std::string GameSlotText(const GameSlot& slot, std::string_view gap) {
  return std::string(SlotLine(slot, gap).view());
}

std::vector<WriteBackProblem> WriteBackProblems(const ScheduleRecord& record,
                                                const char* previous_date) {
  std::vector<WriteBackProblem> problems;
  if (previous_date != nullptr && std::memcmp(previous_date, record.date, kDateWidth) == 0) {
    problems.push_back({0,
                        "the date repeats the date of the record before it; written back, "
                        "the two would make one record"});
  }
  const bool plain = PlainRecord(record);
  if (std::string reason = plain ? "" : LineProblem(DateLine(record.date), "the date line");
      !reason.empty()) {
    problems.push_back({0, reason});
  }
  for (int slot = 1; slot <= kSlotsPerRecord; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    if (IsBlankSlot(game)) continue;
    if (game.visitor[0] == '[') {
      problems.push_back({slot,
                          "the visitor name starts with \"[\"; written back, the game "
                          "would be read as a date line"});
      continue;
    }
    if (plain) continue;
    if (std::string reason = LineProblem(SlotLine(game, " ").view(), "the game"); !reason.empty()) {
      problems.push_back({slot, reason});
    }
  }
  return problems;
}

bool CanWriteBack(const ScheduleRecord& record, const char* previous_date) {
  if (!PlainRecord(record)) return WriteBackProblems(record, previous_date).empty();
  if (previous_date != nullptr && std::memcmp(previous_date, record.date, kDateWidth) == 0) {
    return false;
  }
  for (const GameSlot& game : record.games) {
    if (game.visitor[0] == '[' && !IsBlankSlot(game)) return false;
  }
  return true;
}

namespace {

// The text of a plain record, written straight into `out` (room for
// kMaxPlainRecordText bytes), as AppendLine writes each line of it: no
// line holds a breaker or a double quote, so a line is quoted only for a
// leading blank. Returns the end of what was written.
constexpr size_t kMaxPlainRecordText = 16 + kSlotsPerRecord * (sizeof(GameSlot) + 6);

char* PutPlainRecordText(const ScheduleRecord& record, int last, char* out) {
  const std::string date = DateLine(record.date);
  std::memcpy(out, date.data(), date.size());
  out += date.size();
  *out++ = '\r';
  *out++ = '\n';
  for (int slot = 1; slot <= last; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    if (!IsBlankSlot(game)) {
      const bool quoted = game.visitor[0] == ' ';
      if (quoted) *out++ = '"';
      char* line = out;
      std::memcpy(out, game.visitor, kNameWidth);
      out[kNameWidth] = ' ';
      std::memcpy(out + kNameWidth + 1, game.home, kNameWidth);
      out[2 * kNameWidth + 1] = ' ';
      std::memcpy(out + 2 * kNameWidth + 2, game.options, kOptionsWidth);
      out += 2 * kNameWidth + 2 + kOptionsWidth;
      while (out > line && out[-1] == ' ') --out;
      if (quoted) *out++ = '"';
    }
    *out++ = '\r';
    *out++ = '\n';
  }
  return out;
}

}  // namespace

void AppendWriteBackText(const ScheduleRecord& record, std::string* text) {
  const bool plain = PlainRecord(record);
  // Blank slots after the last game are the same as no game at all.
  int last_game = kSlotsPerRecord;
  while (last_game > 0 && IsBlankSlot(record.games[last_game - 1])) --last_game;
  if (plain) {
    char bytes[kMaxPlainRecordText];
    text->append(bytes, static_cast<size_t>(PutPlainRecordText(record, last_game, bytes) - bytes));
    return;
  }
  auto append = [&](std::string_view line) { AppendLine(line, Look(line), text); };
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
