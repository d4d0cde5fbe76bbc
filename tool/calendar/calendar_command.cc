// schedule-tool calendar: reads the season once, keeping the games of the
// teams asked alone (and every team's name), then writes the page or the
// iCalendar file all or nothing: to a new file put in place only when every
// byte is written, or to standard output once nothing but the writing can
// fail. What is held grows with the teams asked and their games, never with
// the season's other games, and the output is written a piece at a time.
// Past a batch's worth of games (a calendar of every team of a long season)
// the games go to a temporary file instead, and the teams are written a
// batch at a time, each batch's games read back from it: what is held is
// then one batch, however long the season.
#include "tool/calendar/calendar_command.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "frame/run_time_errors.h"
#include "schedule/messages.h"
#include "schedule/shown_text.h"
#include "tool/calendar/calendar_html.h"
#include "tool/calendar/calendar_ics.h"
#include "tool/calendar/calendar_season.h"
#include "tool/calendar/calendar_spill.h"
#include "tool/calendar/calendar_teams.h"
#include "tool/line_spool.h"
#include "tool/output_batcher.h"
#include "tool/season/display_names.h"
#include "tool/season/season_days.h"
#include "tool/season/season_reader.h"
#include "tool/tool_input.h"
#include "tool/tool_output.h"

namespace tool {

namespace {

// The season is read as kToolInputFile and the output written as
// kToolOutputFile; warnings wait under the next file number when there are
// many, and games past a batch's worth under the next; the teams file is
// read as kToolTeamsFile.
constexpr int16_t kHeldWarnings = 3;
constexpr int16_t kSpilledGames = 4;

// The stamp of every event: SOURCE_DATE_EPOCH when it is set, so that the
// same season gives the same bytes again, else now. False when it is set to
// something that is no time.
bool EventStamp(std::chrono::sys_seconds* stamp) {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  // Set empty is as if unset, as the tools that honour it take it.
  if (epoch == nullptr || *epoch == '\0') {
    *stamp = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    return true;
  }
  if (ParseSourceDateEpoch(epoch, stamp)) return true;
  PrintFailure("SOURCE_DATE_EPOCH is not a number of seconds since 1970 up to the year 9999: " +
               schedule::Quoted(epoch));
  return false;
}

// Reads the season open as kToolInputFile into `collector`, which hands its
// warnings to `warnings`, and takes the season from it; false when it could
// not be read or --year does not fit it (each reason printed). The warnings
// are shown only once it was read whole.
bool ReadSeason(const std::string& path, CalendarCollector* collector, LineSpool* warnings,
                const CalendarSpill& spill, CalendarSeason* season) {
  SeasonKind kind = SeasonKind::kText;
  std::string failure;
  const bool read = ReadOpenSeason(path, collector, &kind, &failure);
  if (!read) {
    PrintFailure(failure);
    return false;
  }
  if (std::string note = collector->days().CenturyNote(path); !note.empty()) PrintFailure(note);
  const int held = warnings->PutOut(
      [](const std::string& warning) { PrintFailure("warning: " + warning); });
  if (held != 0) {
    PrintFailure(schedule::TemporaryFileText(schedule::FailedStep::kWrite, "calendar's warnings", held));
    return false;
  }
  if (!collector->failure().empty()) {
    PrintFailure(collector->failure());
    return false;
  }
  if (spill.failure() != 0) {
    PrintFailure(schedule::TemporaryFileText(schedule::FailedStep::kWrite, "calendar's games",
                                             spill.failure()));
    return false;
  }
  *season = collector->TakeSeason();
  if (season->teams.empty()) {
    PrintFailure(path + ": no game on a real day: no calendar to make");
    return false;
  }
  return true;
}

// Writes the calendar made by `write` to standard output or to the output
// file open as kToolOutputFile, a piece at a time. `write` answers
// false when something other than the writing failed (printed already):
// then the file is not put in place (standard output has what it was given).
int WriteOutput(const std::string& output, const std::function<bool(OutputBatcher*)>& write) {
  OutputBatcher out(ToToolOutput(kToolOutputFile, output));
  if (!write(&out)) {
    files::CloseAllFiles();
    return 1;
  }
  return FinishToolOutput(kToolOutputFile, output, out.Finish());
}

// Writes the calendar of `shown` a batch at a time, each batch's games read
// back from the spill into season->games. False when they could not be.
bool WriteInBatches(bool ics, std::chrono::sys_seconds stamp, const std::vector<int32_t>& shown,
                    size_t batch_games, CalendarCollector* collector, CalendarSeason* season,
                    OutputBatcher* out) {
  if (ics) {
    WriteCalendarIcsStart(out);
  } else {
    WriteCalendarHtmlHead(*season, shown, out);
  }
  for (const CalendarBatch& batch : PlanBatches(shown, season->team_games, batch_games)) {
    const size_t teams = season->teams.size();
    const CalendarKeep keep =
        ics ? EventsOfBatch(shown, batch, teams) : GamesOfBatch(shown, batch, teams);
    if (int code = collector->TakeSpilled(keep, &season->games)) {
      PrintFailure(schedule::TemporaryFileText(schedule::FailedStep::kRead, "calendar's games", code));
      return false;
    }
    if (ics) {
      WriteCalendarIcsEvents(*season, season->games, stamp, out);
    } else {
      const std::vector<int32_t> part(shown.begin() + static_cast<std::ptrdiff_t>(batch.first),
                                      shown.begin() + static_cast<std::ptrdiff_t>(batch.end));
      WriteCalendarHtmlTeams(*season, part, out);
    }
    if (out->failure() != 0) break;  // the writing failed: the rest is not wanted
  }
  if (ics) {
    WriteCalendarIcsEnd(out);
  } else {
    WriteCalendarHtmlEnd(out);
  }
  return true;
}

}  // namespace

int RunCalendar(const std::string& season_path, const CalendarArguments& arguments) {
  std::optional<SeasonDays> days;
  if (std::string problem; !SeasonDays::FromYearOption(arguments.year, &days, &problem)) {
    PrintFailure(problem);
    return kUsageError;
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
  // The teams file is read before the season and held open, so that naming
  // it as the output is refused as a file in use.
  DisplayNames display;
  if (!arguments.teams_file.empty()) {
    std::vector<std::string> failures;
    if (!ReadDisplayNames(kToolTeamsFile, arguments.teams_file, &display, &failures)) {
      for (const std::string& line : failures) PrintFailure(line);
      files::CloseAllFiles();
      return 1;
    }
  }
  if (failure = OpenToolOutput(kToolOutputFile, arguments.output); !failure.empty()) {
    files::CloseAllFiles();
    PrintFailure(failure);
    return 1;
  }
  LineSpool warnings(kHeldWarnings);
  CalendarCollector collector(season_path, *days, arguments.teams,
                              [&warnings](std::string warning) { warnings.Add(std::move(warning)); });
  CalendarSpill spill(kSpilledGames);
  collector.SpillPast(arguments.batch_games, &spill);
  CalendarSeason season;
  std::vector<int32_t> teams;
  std::vector<std::string> problems;
  bool ready = ReadSeason(season_path, &collector, &warnings, spill, &season);
  if (ready && !PickTeams(season.teams, arguments.teams, &teams, &problems)) {
    for (const std::string& problem : problems) PrintFailure(problem);
    ready = false;
  }
  if (!ready) {
    files::CloseAllFiles();
    return 1;
  }
  if (!arguments.teams_file.empty()) {
    season.display.reserve(season.teams.size());
    for (const std::string& name : season.teams) {
      season.display.emplace_back(DisplayNameOf(display, name));
    }
  }
  if (collector.spilled()) {
    return WriteOutput(arguments.output, [&](OutputBatcher* out) {
      return WriteInBatches(ics, stamp, teams, arguments.batch_games, &collector, &season, out);
    });
  }
  // The games kept are those of the teams asked, in the order of the
  // season: the iCalendar file's events as they are.
  return WriteOutput(arguments.output, [&](OutputBatcher* out) {
    if (ics) {
      WriteCalendarIcs(season, season.games, stamp, out);
    } else {
      WriteCalendarHtml(season, teams, out);
    }
    return true;
  });
}

namespace {

/// calendar --help.
constexpr char kHelp[] =
    "Usage: schedule-tool calendar [--team NAME]... [--year YYYY] [--format html|ics]\n"
    "                              [--teams TEAMS] [--output OUT] SEASON\n"
    "\n"
    "Writes the games of teams of the season SEASON (a schedule file or a\n"
    "schedule text, - for standard input) as a calendar.\n"
    "\n"
    "  --team NAME    a team to show; give it again for more teams. Without\n"
    "                 it, every team, in byte order of the names. A name no\n"
    "                 game holds fails, naming the closest names that exist\n"
    "  --year YYYY    the year of the season's first date; later dates follow\n"
    "                 it, and a 99 year followed by a 00 year is the next\n"
    "                 century. Without it, the first date's year YY is 20YY\n"
    "                 when that is no later than next year, otherwise 19YY\n"
    "                 (in 2026: 45 is 1945, 19 is 2019, 27 is 2027), and the\n"
    "                 year taken is said on standard error\n"
    "  --format html  one page, its style inline, for each team its name and\n"
    "                 counts, a legend, and each month of its season as a grid\n"
    "                 of weeks from Sunday: home games \"vs\" in filled boxes,\n"
    "                 road games \"at\" in dashed ones, a doubleheader as two\n"
    "                 games in its day, off days empty. Printed, each team\n"
    "                 starts a new page (the default)\n"
    "  --format ics   an iCalendar file: one all-day event \"VISITOR at HOME\"\n"
    "                 per game (\" (game 2)\" for a doubleheader's second), a game\n"
    "                 of two teams shown once; each event's UID is the same\n"
    "                 whenever the same game is exported. Events are stamped\n"
    "                 with SOURCE_DATE_EPOCH when it is set, else with now\n"
    "  --teams TEAMS  shows each team by its name for people, from the teams\n"
    "                 file TEAMS (CSV whose header names its columns, name and\n"
    "                 display among them): the headings, the page's title,\n"
    "                 the game boxes and the events' summaries. In a day's\n"
    "                 box a name wraps onto up to three lines, between words\n"
    "                 or at a hyphen, and what does not fit is cut with an\n"
    "                 ellipsis; the whole name shows\n"
    "                 when the pointer rests on the box. A team TEAMS gives no\n"
    "                 display name shows its file name. UIDs are made of the\n"
    "                 file names still, and do not change\n"
    "  --output OUT   write to the file OUT (- is standard output); on a\n"
    "                 failure nothing is written\n"
    "\n"
    "A date that is not written MM/DD/YY or is no real day in its year is\n"
    "skipped with a warning naming it. A bad TEAMS line is refused as\n"
    "TEAMS:LINE: message, and nothing is written.\n"
    "\n"
    "Exit status: 0 written (warnings on standard error), 1 failed, 2 usage.\n";

}  // namespace

Command CalendarCommand() {
  return {.name = "calendar",
          .synopsis = {"schedule-tool calendar [--team NAME]... [--year YYYY] [--format html|ics]",
                       "                       [--teams TEAMS] [--output OUT] SEASON"},
          .summary = "Writes teams' seasons as a page of month grids to look at and\n"
                     "print, or as an iCalendar file for a calendar program.",
          .help = kHelp,
          .options = {RepeatableOption("--team"),
                      ValueOption("--year"),
                      ValueOption("--format", "html", {"html", "ics"}),
                      ValueOption("--output"),
                      ValueOption("--teams")},
          .inputs = {OperandInput("SEASON"), OptionInput("--teams")},
          .outputs = {OptionInput("--output")},
          .operands = 1,
          .operands_wrong = "calendar takes one SEASON file",
          .run = [](const CommandLine& line) {
            CalendarArguments arguments;
            arguments.teams = line.Values("--team");
            arguments.year = line.Value("--year");
            arguments.format = line.Value("--format");
            arguments.output = line.Value("--output");
            arguments.teams_file = line.Value("--teams");
            return RunCalendar(line.operands[0], arguments);
          }};
}

}  // namespace tool
