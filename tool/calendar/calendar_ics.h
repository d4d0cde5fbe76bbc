// A team's games as an iCalendar file, for a calendar program: one all-day
// event per game, each with an identifier that stays the same whenever the
// same game is exported again, so that importing a new export replaces the
// events of an older one instead of doubling them.
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_ICS_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_ICS_H_

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "tool/calendar/calendar_season.h"
#include "tool/output_batcher.h"

namespace tool {

/// Writes the iCalendar file of `games` (of `season`), in their order, each
/// event stamped `stamp`, to `out` an event at a time. Lines end CR LF and
/// are folded at 75 octets.
void WriteCalendarIcs(const CalendarSeason& season, const CalendarGames& games,
                      std::chrono::sys_seconds stamp, OutputBatcher* out);

/// The iCalendar file written in parts, for a season whose games are kept
/// a batch of teams at a time: the start, then the events of some games
/// as often as there are batches, then the end.
void WriteCalendarIcsStart(OutputBatcher* out);
void WriteCalendarIcsEvents(const CalendarSeason& season, const CalendarGames& games,
                            std::chrono::sys_seconds stamp, OutputBatcher* out);
void WriteCalendarIcsEnd(OutputBatcher* out);

/// The iCalendar file of `games` as one string.
std::string CalendarIcs(const CalendarSeason& season, const CalendarGames& games,
                        std::chrono::sys_seconds stamp);

/// `text` as an iCalendar TEXT value: backslash, semicolon, comma and line
/// ends escaped.
std::string IcsText(std::string_view text);

/// The content line `line` folded so that no line is longer than 75 octets
/// (a continuation starts with a blank), never inside a UTF-8 character,
/// each piece ending CR LF.
std::string FoldedLine(std::string_view line);

/// The identifier of `game`: its day, the bytes of its two names and its
/// number on the day, in characters any calendar program keeps.
std::string GameUid(const CalendarSeason& season, const CalendarGame& game);

/// Reads SOURCE_DATE_EPOCH's value, whole seconds since 1970 in decimal
/// digits, up to the last second of the year 9999; false when it is none.
bool ParseSourceDateEpoch(std::string_view value, std::chrono::sys_seconds* stamp);

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_ICS_H_
