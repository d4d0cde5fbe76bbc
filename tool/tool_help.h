// The words of schedule-tool's --help, one text per command.
#ifndef ZELTO_TOOL_TOOL_HELP_H_
#define ZELTO_TOOL_TOOL_HELP_H_

namespace tool {

/// The synopsis of every command, shown with a usage error too.
inline constexpr char kSynopsis[] =
    "Usage: schedule-tool build INPUT OUTPUT\n"
    "       schedule-tool dump [--format list|text|csv] [--output OUT] FILE\n"
    "       schedule-tool check INPUT\n"
    "       schedule-tool import [--league LIST] [--teams MAP] [--output TEXT] SEASON\n"
    "       schedule-tool generate --start YYYY-MM-DD [options] TEAMS\n"
    "       schedule-tool COMMAND --help\n"
    "       schedule-tool --help | --version\n";

/// What --help adds to the synopsis.
inline constexpr char kOverview[] =
    "\n"
    "build   Converts the schedule text file INPUT into the schedule file OUTPUT\n"
    "        (430-byte records; by convention named with the .SCH extension).\n"
    "dump    Shows what the schedule file FILE holds.\n"
    "check   Lists the lines of the schedule text file INPUT that the build\n"
    "        takes in a way you may not expect.\n"
    "import  Writes the schedule text of a season file of Retrosheet's (one\n"
    "        game per row).\n"
    "generate\n"
    "        Writes the schedule text of a balanced season for the teams of\n"
    "        a league, in series, on a calendar.\n"
    "\n"
    "Input format: date lines in brackets, e.g. [04/10/45], each followed by\n"
    "the games of that date, one per line: visitor file name in columns 1-8,\n"
    "home file name in columns 10-17, options (if any) in columns 19-30.\n"
    "\n"
    "Options go before or after the file names; -- ends the options; a file\n"
    "named - is standard input (standard output for --output).\n"
    "\n"
    "Exit status: 0 done, 1 failed (check: something found), 2 usage.\n";

/// build --help.
inline constexpr char kBuildHelp[] =
    "Usage: schedule-tool build INPUT OUTPUT\n"
    "\n"
    "Converts the schedule text file INPUT (- for standard input) into the\n"
    "schedule file OUTPUT: a header record, then one 430-byte record per date\n"
    "with up to 15 games. A complete build replaces OUTPUT; a build that fails\n"
    "leaves OUTPUT as it was. An INPUT with no date line, in UTF-16, or that\n"
    "is itself a schedule file (the two names swapped) builds nothing.\n"
    "\n"
    "Exit status: 0 built (warnings go to standard error), 1 failed, 2 usage.\n";

/// dump --help.
inline constexpr char kDumpHelp[] =
    "Usage: schedule-tool dump [--format list|text|csv] [--output OUT] FILE\n"
    "\n"
    "Shows what the schedule file FILE (- for standard input) holds. Names are\n"
    "shown byte for byte as stored.\n"
    "\n"
    "  --format list  one block per date with its games, blank slots left out\n"
    "                 (the default)\n"
    "  --format text  the schedule text, CR LF line ends, that builds exactly\n"
    "                 this file again; a file no text can build again is\n"
    "                 refused, naming the record and slot\n"
    "  --format csv   one row per game: record, date, slot, visitor, home,\n"
    "                 options\n"
    "  --output OUT   writes the dump to the file OUT, byte for byte, instead of\n"
    "                 standard output (- is standard output); nothing is\n"
    "                 written when FILE is refused\n"
    "\n"
    "A file whose size is no whole number of 430-byte records, whose first\n"
    "record is not the header, or with a later record that is no date record\n"
    "is reported with the record number and its offset, and nothing is shown.\n"
    "\n"
    "Exit status: 0 shown, 1 not shown (the reasons go to standard error), 2 usage.\n";

/// check --help: every finding check makes.
inline constexpr char kCheckHelp[] =
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
    "\n"
    "Exit status: 0 nothing found, 1 something found or INPUT unreadable, 2 usage.\n";

/// import --help.
inline constexpr char kImportHelp[] =
    "Usage: schedule-tool import [--league LIST] [--teams MAP] [--output TEXT] SEASON\n"
    "\n"
    "Writes the schedule text for the season file SEASON (- for standard\n"
    "input), one game per row as Retrosheet publishes them: for each date, in\n"
    "the file's order, a line [MM/DD/YY] and its games, the visitor in columns\n"
    "1-8 and the home team from column 10, CR LF line ends. Every game is kept\n"
    "on its date, postponed or not. A team's name is the two-digit year, the\n"
    "first letter of its league, and the first five letters of its city, in\n"
    "lower case: the 1945 New York Giants are 45nnewyo.\n"
    "\n"
    "  --league LIST  keep the games between teams of these leagues, e.g. NL,AA\n"
    "  --teams MAP    name teams from the file MAP: lines CODE,NAME (names of at\n"
    "                 most 8 bytes, no blank, comma, double quote or control\n"
    "                 byte); blank lines and lines starting with # are skipped\n"
    "  --output TEXT  write the text to TEXT (- is standard output); on an\n"
    "                 error nothing is written\n"
    "\n"
    "Errors, as FILE:LINE: message: a row of other than 12 fields, a date that\n"
    "is no real day or goes backwards, an unknown team code (name it with\n"
    "--teams), a game number other than 0, 1, 2, two teams of one season with\n"
    "the same name. A date of more than 15 games is a warning: a schedule keeps\n"
    "its first 15.\n"
    "\n"
    "The information used here was obtained free of charge from and is\n"
    "copyrighted by Retrosheet. Interested parties may contact Retrosheet at\n"
    "www.retrosheet.org.\n"
    "\n"
    "Exit status: 0 written (warnings on standard error), 1 an error, 2 usage.\n";

/// generate --help.
inline constexpr char kGenerateHelp[] =
    "Usage: schedule-tool generate TEAMS --start YYYY-MM-DD [--meetings N]\n"
    "         [--division-meetings M] [--series L] [--off-day DAY]...\n"
    "         [--no-games FROM[..TO]]... [--most-in-a-row K] [--seed S]\n"
    "         [--output TEXT]\n"
    "\n"
    "Writes the schedule text, CR LF, of a balanced season for the league in\n"
    "TEAMS (- for standard input): one team a line, NAME or NAME DIVISION;\n"
    "blank lines and lines starting with # are skipped. A name is 1 to 8\n"
    "bytes, no blank, comma, double quote, TAB or control byte, not starting\n"
    "with [. 2 to 30 teams; either every team names a division or none does.\n"
    "\n"
    "  --start YYYY-MM-DD       the first day games may be played (needed)\n"
    "  --meetings N             games of two teams of different divisions, or\n"
    "                           of every two teams without divisions (2)\n"
    "  --division-meetings M    games of two teams of one division (N)\n"
    "  --series L               games of a series on consecutive game days (3)\n"
    "  --off-day DAY            no games on this weekday, Mon to Sun; again\n"
    "                           for more\n"
    "  --no-games FROM[..TO]    no games on this day or these days; again for\n"
    "                           more (an all-star break)\n"
    "  --most-in-a-row K        series in a row at home or on the road, at\n"
    "                           most (3)\n"
    "  --seed S                 another of the schedules that keep the rules\n"
    "                           (1); the same seed gives the same bytes\n"
    "  --output TEXT            write the text to TEXT (- is standard output);\n"
    "                           when refused nothing is written\n"
    "\n"
    "A pair's meetings are played half at each park (an odd one where it keeps\n"
    "every team's home and away games within one), each half in series of L\n"
    "games and one shorter series for the rest. In a round of series every\n"
    "team plays at most one; with an odd number of teams one rests. No team\n"
    "plays twice on a date, and the schedule has as few breaks (two series in\n"
    "a row both at home or both away) as the generator finds. A summary on\n"
    "standard error gives games, home and away, dates, breaks and the longest\n"
    "home stand and road trip.\n"
    "\n"
    "Refused, with the reason: a bad TEAMS line (TEAMS:LINE: message), a day\n"
    "that is no real day, off days that leave no game day, rules that cannot\n"
    "all be met.\n"
    "\n"
    "Exit status: 0 written, 1 refused (nothing written), 2 usage.\n";

}  // namespace tool

#endif  // ZELTO_TOOL_TOOL_HELP_H_
