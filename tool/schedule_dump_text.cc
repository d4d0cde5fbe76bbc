#include "tool/schedule_dump_text.h"

#include "files/read_field.h"

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

// Bytes a plain line cannot hold.
constexpr std::string_view kPlainBreakers = files::kPlainFieldBreakers;
constexpr std::string_view kLineEnd = "\r\n";

bool HoldsPlainBreakers(std::string_view line) {
  return line.find_first_of(kPlainBreakers) != std::string_view::npos;
}

// The line as written, CR LF after it. A plain line is read back as it
// stands unless it holds a byte that ends or shortens it, or starts with a
// blank (the reader skips leading spaces) or a double quote (the reader
// takes a quoted line). Quotes keep every byte but a double quote; a TAB
// before a plain line is dropped and stops the skipping of blanks and the
// quote rule alike.
std::string WriteLine(std::string_view line) {
  bool awkward_start = line.front() == ' ' || line.front() == '"';
  bool has_quote = line.find('"') != std::string_view::npos;
  std::string written;
  if (!has_quote && (awkward_start || HoldsPlainBreakers(line))) {
    written.append("\"").append(line).append("\"");
  } else if (awkward_start) {
    written.append("\t").append(line);
  } else {
    written.append(line);
  }
  written += kLineEnd;
  return written;
}

// Why `line` cannot be written at all, or an empty string: a plain line
// cannot hold the bytes that end it, and a quoted line ends at its next
// double quote.
std::string LineProblem(std::string_view line, const char* what) {
  if (HoldsPlainBreakers(line) && line.find('"') != std::string_view::npos) {
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

// The game line: the three fields in columns 1-8, 10-17 and 19-30.
std::string GameLine(const GameSlot& slot) { return GameSlotText(slot, " "); }

}  // namespace

std::string GameSlotText(const GameSlot& slot, std::string_view gap) {
  std::string line(slot.visitor, kNameWidth);
  line += gap;
  line.append(slot.home, kNameWidth);
  line += gap;
  line.append(slot.options, kOptionsWidth);
  return std::string(TrimTrailingSpaces(line));
}

std::vector<WriteBackProblem> WriteBackProblems(const ScheduleRecord& record,
                                                const char* previous_date) {
  std::vector<WriteBackProblem> problems;
  if (previous_date != nullptr && std::memcmp(previous_date, record.date, kDateWidth) == 0) {
    problems.push_back({0,
                        "the date repeats the date of the record before it; written back, "
                        "the two would make one record"});
  }
  if (std::string reason = LineProblem(DateLine(record.date), "the date line"); !reason.empty()) {
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
    if (std::string reason = LineProblem(GameLine(game), "the game"); !reason.empty()) {
      problems.push_back({slot, reason});
    }
  }
  return problems;
}

std::string WriteBackText(const ScheduleRecord& record) {
  std::string text = WriteLine(DateLine(record.date));
  // Blank slots after the last game are the same as no game at all.
  int last = kSlotsPerRecord;
  while (last > 0 && IsBlankSlot(record.games[last - 1])) --last;
  for (int slot = 1; slot <= last; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    // A blank line under a date takes a slot and leaves it blank.
    text += IsBlankSlot(game) ? std::string(kLineEnd) : WriteLine(GameLine(game));
  }
  return text;
}

}  // namespace tool
