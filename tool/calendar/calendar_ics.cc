#include "tool/calendar/calendar_ics.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "schedule/whole_number.h"
#include "tool/output_batcher.h"
#include "tool/season/season_days.h"

namespace tool {

using std::chrono::sys_days;

namespace {

constexpr size_t kMaxLineOctets = 75;
constexpr std::string_view kLineEnd = "\r\n";
// The names are the identifier's own: a bytes-for-bytes record of the game,
// whatever the names hold, under this program's domain.
constexpr std::string_view kUidDomain = "@schedule-tool.zelto";
// 9999-12-31T23:59:59Z: the last stamp with a four-digit year.
constexpr int64_t kLastStamp = 253402300799;

std::string StampValue(std::chrono::sys_seconds stamp) {
  const sys_days day = std::chrono::floor<std::chrono::days>(stamp);
  const std::chrono::hh_mm_ss time{stamp - day};
  char text[16];
  std::snprintf(text, sizeof text, "T%02d%02d%02dZ", static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  return DigitsDate(day) + text;
}

// A name's bytes as characters any identifier keeps: letters, digits, '.'
// and '_' as they are, every other byte as =XX. No '%': a parser of
// iCalendar files in wide use takes %2C and %3B in a value for the
// characters they encode.
std::string UidPart(std::string_view name) {
  std::string part;
  for (unsigned char byte : name) {
    bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                 (byte >= '0' && byte <= '9') || byte == '.' || byte == '_';
    if (plain) {
      part += static_cast<char>(byte);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "=%02X", byte);
      part += hex;
    }
  }
  return part;
}

// The identifier of the game of `number` on `day` between the names
// whose UidParts are given.
std::string Uid(sys_days day, std::string_view visitor, std::string_view home, int number) {
  return DigitsDate(day) + "-" + std::string(visitor) + "-at-" + std::string(home) + "-" +
         std::to_string(number) + std::string(kUidDomain);
}

}  // namespace

std::string IcsText(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case ';': escaped += "\\;"; break;
      case ',': escaped += "\\,"; break;
      case '\n': escaped += "\\n"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string FoldedLine(std::string_view line) {
  std::string folded;
  size_t room = kMaxLineOctets;
  while (line.size() > room) {
    // A piece ends before a UTF-8 continuation byte's lead, never inside.
    size_t cut = room;
    while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    folded.append(line.substr(0, cut));
    folded.append(kLineEnd);
    folded += ' ';
    line.remove_prefix(cut);
    room = kMaxLineOctets - 1;
  }
  folded.append(line);
  folded.append(kLineEnd);
  return folded;
}

std::string GameUid(const CalendarSeason& season, const CalendarGame& game) {
  return Uid(game.day, UidPart(season.teams[static_cast<size_t>(game.visitor)]),
             UidPart(season.teams[static_cast<size_t>(game.home)]), game.number);
}

bool ParseSourceDateEpoch(std::string_view value, std::chrono::sys_seconds* stamp) {
  // Digits alone: an unsigned number takes no sign, and no blank is skipped.
  if (value.empty() || value.size() > 12) return false;
  uint64_t seconds = 0;
  if (!schedule::IsWholeNumber(value, static_cast<uint64_t>(kLastStamp), &seconds)) return false;
  *stamp = std::chrono::sys_seconds{std::chrono::seconds{static_cast<int64_t>(seconds)}};
  return true;
}

void WriteCalendarIcsStart(OutputBatcher* out) {
  out->Add(FoldedLine("BEGIN:VCALENDAR"));
  out->Add(FoldedLine("VERSION:2.0"));
  out->Add(FoldedLine("PRODID:-//Zelto//schedule-tool calendar//EN"));
  out->Add(FoldedLine("CALSCALE:GREGORIAN"));
}

void WriteCalendarIcsEvents(const CalendarSeason& season, const CalendarGames& games,
                            std::chrono::sys_seconds stamp, OutputBatcher* out) {
  // Each team's name as an event shows it (its display name, when it has
  // one) and as an identifier holds it (always its file name, so that an
  // export with display names gives every game the UID it had without):
  // made once, not once a game.
  std::vector<std::string> shown, uid_parts;
  for (size_t team = 0; team < season.teams.size(); ++team) {
    shown.push_back(CalendarShownName(season, static_cast<int32_t>(team)));
    uid_parts.push_back(UidPart(season.teams[team]));
  }
  const std::string stamp_line = FoldedLine("DTSTAMP:" + StampValue(stamp));
  std::string event;
  for (const CalendarGame& game : games) {
    const auto visitor = static_cast<size_t>(game.visitor), home = static_cast<size_t>(game.home);
    std::string summary = shown[visitor] + " at " + shown[home];
    if (game.number > 1) summary += " (game " + std::to_string(game.number) + ")";
    event = FoldedLine("BEGIN:VEVENT");
    event += FoldedLine("UID:" + Uid(game.day, uid_parts[visitor], uid_parts[home], game.number));
    event += stamp_line;
    event += FoldedLine("DTSTART;VALUE=DATE:" + DigitsDate(game.day));
    event += FoldedLine("DTEND;VALUE=DATE:" + DigitsDate(game.day + std::chrono::days{1}));
    event += FoldedLine("SUMMARY:" + IcsText(summary));
    // A game day is no busy time of the one who keeps the calendar.
    event += FoldedLine("TRANSP:TRANSPARENT");
    event += FoldedLine("END:VEVENT");
    out->Add(event);
  }
}

void WriteCalendarIcsEnd(OutputBatcher* out) { out->Add(FoldedLine("END:VCALENDAR")); }

void WriteCalendarIcs(const CalendarSeason& season, const CalendarGames& games,
                      std::chrono::sys_seconds stamp, OutputBatcher* out) {
  WriteCalendarIcsStart(out);
  WriteCalendarIcsEvents(season, games, stamp, out);
  WriteCalendarIcsEnd(out);
}

std::string CalendarIcs(const CalendarSeason& season, const CalendarGames& games,
                        std::chrono::sys_seconds stamp) {
  std::string ics;
  OutputBatcher out(AppendTo(&ics));
  WriteCalendarIcs(season, games, stamp, &out);
  out.Finish();
  return ics;
}

}  // namespace tool
