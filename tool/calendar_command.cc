// schedule-tool calendar: reads the season once, keeping the games of the
// teams asked alone (and every team's name), then writes the page or the
// iCalendar file all or nothing: to a new file put in place only when every
// byte is written, or to standard output once nothing but the writing can
// fail. What is held grows with the teams asked and their games, never with
// the season's other games, and the output is written a piece at a time.
#include "tool/calendar_command.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "frame/run_time_errors.h"
#include "schedule/build_report.h"
#include "schedule/shown_text.h"
#include "tool/calendar_html.h"
#include "tool/calendar_ics.h"
#include "tool/calendar_output.h"
#include "tool/calendar_season.h"
#include "tool/calendar_teams.h"
#include "tool/calendar_year.h"
#include "tool/held_lines.h"
#include "tool/season_reader.h"
#include "tool/tool_commands.h"
#include "tool/tool_output.h"

namespace tool {

namespace {

// The season is read as kSeasonFile, the output written as this one, and
// warnings wait under the last when there are many.
constexpr int16_t kCalendarOutputFile = 2;
constexpr int16_t kHeldWarnings = 3;

bool ParseYear(const std::string& text, std::chrono::year* year) {
  if (text.size() != 4) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *year = std::chrono::year{value};
  return true;
}

// The stamp of every event: SOURCE_DATE_EPOCH when it is set, so that the
// same season gives the same bytes again, else now. False when it is set to
// something that is no time.
bool EventStamp(std::chrono::sys_seconds* stamp) {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch == nullptr) {
    *stamp = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    return true;
  }
  if (ParseSourceDateEpoch(epoch, stamp)) return true;
  PrintFailure("SOURCE_DATE_EPOCH is not a number of seconds since 1970 up to the year 9999: " +
               schedule::Quoted(epoch));
  return false;
}

// Reads the season open as kSeasonFile, keeping the games of the teams
// `asked` (every game when none is); false when it could not be read or
// --year does not fit it (each reason printed). Its warnings are shown
// only once it was read whole.
bool ReadSeason(const std::string& path, std::optional<std::chrono::year> first_year,
                const std::vector<std::string>& asked, CalendarSeason* season) {
  const auto today = std::chrono::year_month_day{
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())}.year();
  HeldLines warnings(kHeldWarnings);
  CalendarCollector collector(path, SeasonDays(first_year, today), asked,
                              [&warnings](std::string warning) { warnings.Add(std::move(warning)); });
  SeasonKind kind = SeasonKind::kText;
  std::string failure;
  const bool read = ReadOpenSeason(path, &collector, &kind, &failure);
  if (!read) {
    PrintFailure(failure);
    return false;
  }
  const int held = warnings.PutOut(
      [](const std::string& warning) { PrintFailure("warning: " + warning); });
  if (held != 0) {
    PrintFailure(std::string("Cannot keep calendar's warnings in a temporary file: ") +
                 frame::ErrorMessage(held));
    return false;
  }
  if (!collector.failure().empty()) {
    PrintFailure(collector.failure());
    return false;
  }
  *season = collector.TakeSeason();
  if (season->teams.empty()) {
    PrintFailure(path + ": no game on a real day: no calendar to make");
    return false;
  }
  return true;
}

// Writes the calendar made by `write` to standard output or to the output
// file open as kCalendarOutputFile, a piece at a time.
int WriteOutput(const std::string& output, const std::function<void(CalendarOutput*)>& write) {
  CalendarOutput out([&output](std::string_view bytes) {
    return PutToolOutput(kCalendarOutputFile, output, bytes);
  });
  write(&out);
  return FinishToolOutput(kCalendarOutputFile, output, out.Finish());
}

}  // namespace

int RunCalendar(const std::string& season_path, const CalendarArguments& arguments) {
  std::optional<std::chrono::year> first_year;
  if (!arguments.year.empty()) {
    std::chrono::year year;
    if (!ParseYear(arguments.year, &year)) {
      PrintFailure("--year takes a year of four digits, e.g. 1884, not " +
                   schedule::Quoted(arguments.year));
      return kUsageError;
    }
    first_year = year;
  }
  const bool ics = arguments.format == "ics";
  std::chrono::sys_seconds stamp{};
  if (ics && !EventStamp(&stamp)) return 1;

  // The season is opened first: an output that is the season file itself is
  // then refused as a file in use, and the season keeps its bytes. The
  // output stays open, unwritten, while the season is read.
  std::string failure;
  if (!OpenSeason(season_path, &failure)) {
    PrintFailure(failure);
    return 1;
  }
  if (failure = OpenToolOutput(kCalendarOutputFile, arguments.output); !failure.empty()) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  CalendarSeason season;
  std::vector<int32_t> teams;
  std::vector<std::string> problems;
  bool ready = ReadSeason(season_path, first_year, arguments.teams, &season);
  if (ready && !PickTeams(season.teams, arguments.teams, &teams, &problems)) {
    for (const std::string& problem : problems) PrintFailure(problem);
    ready = false;
  }
  if (!ready) {
    files::CloseAllFiles();
    return 1;
  }
  // The games kept are those of the teams asked, in the order of the
  // season: the iCalendar file's events as they are.
  return WriteOutput(arguments.output, [&](CalendarOutput* out) {
    if (ics) {
      WriteCalendarIcs(season, season.games, stamp, out);
    } else {
      WriteCalendarHtml(season, teams, out);
    }
  });
}

}  // namespace tool
