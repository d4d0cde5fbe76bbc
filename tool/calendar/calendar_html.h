// A team's season as a pocket schedule: one self-contained page (its style
// inline, nothing loaded from elsewhere, no script) with, for each team, its
// name and counts, a legend, and each month of its season as a grid of
// weeks from Sunday. Home and road games differ in colour and in a mark
// that survives printing in grey and a reader who tells no colours apart:
// "vs" on a filled box, "at" on a dashed outline. Printed, each team starts
// a new page and no month is split across two.
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_HTML_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_HTML_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tool/calendar/calendar_season.h"
#include "tool/output_batcher.h"

namespace tool {

/// Writes the page of `teams` (indexes into season.teams), in that order,
/// to `out`, a team's section at a time.
void WriteCalendarHtml(const CalendarSeason& season, const std::vector<int32_t>& teams,
                       OutputBatcher* out);

/// The page of `teams` written in parts, for a season whose games are
/// kept a batch of teams at a time: the head (its title naming `teams`,
/// every team the page shows), then the sections of some of them (of
/// `season`, which holds their games), as often as there are batches, then
/// the end.
void WriteCalendarHtmlHead(const CalendarSeason& season, const std::vector<int32_t>& teams,
                           OutputBatcher* out);
void WriteCalendarHtmlTeams(const CalendarSeason& season, const std::vector<int32_t>& teams,
                            OutputBatcher* out);
void WriteCalendarHtmlEnd(OutputBatcher* out);

/// The page of `teams` as one string.
std::string CalendarHtml(const CalendarSeason& season, const std::vector<int32_t>& teams);

/// `text` safe inside an element or a quoted attribute: & < > " ' as
/// entities.
std::string HtmlEscaped(std::string_view text);

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_HTML_H_
