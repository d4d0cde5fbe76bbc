// schedule-tool calendar: reads the season whole, then writes the page or
// the iCalendar file all or nothing: to a new file put in place only when
// every byte is known, or to standard output once nothing can fail.
#include "tool/calendar_command.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "frame/run_time_errors.h"
#include "schedule/build_report.h"
#include "schedule/shown_text.h"
#include "tool/calendar_html.h"
#include "tool/calendar_ics.h"
#include "tool/calendar_season.h"
#include "tool/calendar_teams.h"
#include "tool/calendar_year.h"
#include "tool/season_reader.h"
#include "tool/tool_commands.h"

namespace tool {

namespace {

// The season is read as kSeasonFile, the output written as this one.
constexpr int16_t kCalendarOutputFile = 2;

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

bool ToStandardOutput(const std::string& output) { return output.empty() || output == "-"; }

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

// Reads the season open as kSeasonFile; false when it could not be read
// or --year does not fit it (each reason printed).
bool ReadSeason(const std::string& path, std::optional<std::chrono::year> first_year,
                CalendarSeason* season) {
  const auto today = std::chrono::year_month_day{
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())}.year();
  CalendarCollector collector(path, SeasonDays(first_year, today));
  SeasonKind kind = SeasonKind::kText;
  std::string failure;
  const bool read = ReadOpenSeason(path, &collector, &kind, &failure);
  if (!read) {
    PrintFailure(failure);
    return false;
  }
  for (const std::string& warning : collector.warnings()) PrintFailure("warning: " + warning);
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

int WriteOutput(const std::string& output, const std::string& bytes) {
  if (ToStandardOutput(output)) {
    files::CloseAllFiles();
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return FinishStandardOutput();
  }
  int code = files::WriteBytes(kCalendarOutputFile, reinterpret_cast<const uint8_t*>(bytes.data()),
                               static_cast<uint32_t>(bytes.size()));
  if (code == 0) code = files::CommitOutput(kCalendarOutputFile);
  files::CloseAllFiles();  // an output not committed is removed
  if (code != 0) {
    PrintFailure(schedule::CannotText(schedule::FailedStep::kWrite, "file", output, code));
    return 1;
  }
  return 0;
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
  if (!ToStandardOutput(arguments.output)) {
    if (int code = files::OpenForOutput(kCalendarOutputFile, arguments.output)) {
      files::CloseAllFiles();
      PrintFailure(schedule::CannotText(schedule::FailedStep::kOpen, "file", arguments.output, code));
      return 1;
    }
  }
  CalendarSeason season;
  std::vector<int32_t> teams;
  std::vector<std::string> problems;
  bool ready = ReadSeason(season_path, first_year, &season);
  if (ready && !PickTeams(season.teams, arguments.teams, &teams, &problems)) {
    for (const std::string& problem : problems) PrintFailure(problem);
    ready = false;
  }
  if (!ready) {
    files::CloseAllFiles();
    return 1;
  }
  const std::string bytes = ics ? CalendarIcs(season, GamesOfTeams(season, teams), stamp)
                                : CalendarHtml(season, teams);
  return WriteOutput(arguments.output, bytes);
}

}  // namespace tool
