// schedule-tool calendar: a team's season as a page to look at and print,
// or as an iCalendar file for a calendar program.
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_COMMAND_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_COMMAND_H_

#include <cstddef>
#include <string>
#include <vector>

#include "tool/calendar/calendar_batches.h"
#include "tool/tool_command.h"

namespace tool {

/// The command line of `calendar`, as given.
struct CalendarArguments {
  std::vector<std::string> teams;  ///< --team NAME, each time given
  std::string year;                ///< --year YYYY, empty when not given
  std::string format = "html";     ///< --format html|ics
  std::string output;              ///< --output OUT ("-" or empty: standard output)
  std::string teams_file;          ///< --teams TEAMS, empty when not given
  /// The games held at once; past them the teams are written a batch at a
  /// time. No option sets it: a test makes it small to cut a small season.
  size_t batch_games = kCalendarBatchGames;
};

/// `calendar [--team NAME]... [--year YYYY] [--format html|ics] [--teams
/// TEAMS] [--output OUT] SEASON`: SEASON "-" is standard input; TEAMS a
/// teams file whose display names the calendar shows. The exit status: 0
/// written, 1 failed, 2 usage (a --year of other than four digits).
int RunCalendar(const std::string& season, const CalendarArguments& arguments);

/// The calendar command as the command table holds it.
Command CalendarCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_COMMAND_H_
