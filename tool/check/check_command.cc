#include "tool/check/check_command.h"

#include <cstdint>
#include <ostream>

#include "tool/check/check_text.h"
#include "tool/output_batcher.h"
#include "tool/tool_output.h"

namespace tool {

int RunCheck(const std::string& input) {
  // Each finding goes out as it is found, gathered into pieces: a text may
  // hold one on every line.
  OutputBatcher gathered(ToToolOutput(kToolOutputFile, ""));
  std::ostream out(&gathered);
  int64_t found = 0;
  std::string failure;
  bool read = CheckScheduleFile(input, [&](const CheckFinding& finding) {
    out << input << ':' << finding.line << ": " << finding.message << '\n';
    ++found;
  }, &failure);
  gathered.Finish();
  if (!read) {
    PrintFailure(failure);
    return 1;
  }
  int written = FinishStandardOutput();
  return found == 0 ? written : 1;
}

namespace {

/// check --help.
constexpr char kHelp[] =
    "Usage: schedule-tool check INPUT\n"
    "\n"
    "Lists every line of the schedule text file INPUT (- for standard input)\n"
    "that the build takes in a way you may not expect, one per line as\n"
    "FILE:LINE: message, with what the build stores instead:\n"
    "  - a team name longer than 8 characters, or text in the unread columns\n"
    "    9 and 18, or beyond column 30\n"
    "  - a home team name that does not start in column 10, or no home team\n"
    "    name in columns 10-17\n"
    "  - a blank inside columns 1-8 followed by more text (one visitor name)\n"
    "  - a date line whose \"]\" is not in column 10 (a four-digit year,\n"
    "    [4/10/45]), a date not written MM/DD/YY, or no real day\n"
    "  - dates out of order or used twice (12/31/99 then 01/01/00 is the next\n"
    "    century, not out of order)\n"
    "  - more than 15 games on a date; game lines before the first date;\n"
    "    blank lines that take a game slot\n"
    "  - commas, double quotes or TAB bytes that split or change a line, a\n"
    "    double quote left open to the end of the file\n"
    "  - a Ctrl+Z byte (0x1A) before the end, a UTF-8 byte-order mark, a line\n"
    "    longer than 1 MiB, and a text with no date line\n"
    "and what is wrong with the season the lines make, as report finds it:\n"
    "  - a team that plays itself; a game with only one team name\n"
    "  - a team in games against two different opponents on one date, or in\n"
    "    three games or more on one date (two games of one pair on a date are\n"
    "    a doubleheader), naming where the other game is\n"
    "  - a likely misspelling: a name that plays at most 2 games and is one\n"
    "    byte (replaced, added or removed) away from a team that plays at\n"
    "    least 10\n"
    "\n"
    "Exit status: 0 nothing found, 1 something found or INPUT unreadable, 2 usage.\n";

}  // namespace

Command CheckCommand() {
  return {.name = "check",
          .synopsis = {"schedule-tool check INPUT"},
          .summary = "Lists the lines of the schedule text file INPUT that the build\n"
                     "takes in a way you may not expect.",
          .help = kHelp,
          .options = {},
          .inputs = {},
          .outputs = {},
          .operands = 1,
          .operands_wrong = "check takes one INPUT file",
          .run = [](const CommandLine& line) { return RunCheck(line.operands[0]); }};
}

}  // namespace tool
