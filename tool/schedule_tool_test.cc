// schedule-tool as a script meets it: exit statuses and what it prints.
// Runs the tool through a POSIX shell (popen), so it is built on POSIX only;
// the Windows .exe is compared with it under Wine by e2e/programs_compared_test.cc.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

using ToolRun = testing_support::ShellRun;

// Runs a shell command line, its standard error with its output.
ToolRun RunLine(const std::string& line) {
  return testing_support::RunShell("{ " + line + "; } 2>&1");
}

ToolRun RunTool(const std::string& arguments) {
  return RunLine(std::string(ZELTO_SCHEDULE_TOOL) + " " + arguments);
}

TEST(ScheduleTool, BuildsAndReportsInPlainWords) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("in.txt"), "x        y\n[04/10/45]\na        b\n");
  ToolRun run = RunTool("build '" + dir.File("in.txt") + "' '" + dir.File("out.SCH") + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("warning: " + dir.File("in.txt") +
                            ":1: game line before the first date skipped: \"x        y\""),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("2 records written"), std::string::npos) << run.output;
  EXPECT_EQ(ReadFileBytes(dir.File("out.SCH")).size(), 860u);

  run = RunTool("build '" + dir.File("missing.txt") + "' '" + dir.File("out.SCH") + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Cannot open input file \"" + dir.File("missing.txt") +
                            "\": File not found"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(ReadFileBytes(dir.File("out.SCH")).size(), 860u);  // untouched

  run = RunTool("build '" + dir.File("in.txt") + "' /dev/null");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Cannot write schedule file \"/dev/null\""), std::string::npos)
      << run.output;
}

TEST(ScheduleTool, UsageHelpAndVersion) {
  EXPECT_EQ(RunTool("").status, 2);
  EXPECT_EQ(RunTool("build only-one").status, 2);
  EXPECT_EQ(RunTool("frobnicate a b").status, 2);
  ToolRun help = RunTool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("schedule-tool build INPUT OUTPUT"), std::string::npos);
  ToolRun version = RunTool("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output.rfind("schedule-tool ", 0), 0u);
  for (const char* command : {"build", "dump", "check"}) {
    ToolRun command_help = RunTool(std::string(command) + " --help");
    EXPECT_EQ(command_help.status, 0);
    EXPECT_EQ(command_help.output.rfind("Usage: schedule-tool " + std::string(command), 0), 0u);
  }
  EXPECT_EQ(RunTool("dump").status, 2);
  EXPECT_EQ(RunTool("dump --format xml x.SCH").status, 2);
  EXPECT_EQ(RunTool("check a b").status, 2);
}

// The words a new user meets first: a mistyped command, help asked for as
// a command, an option left without its value, standard input named twice.
TEST(ScheduleTool, FrontDoorNamesWhatWentWrong) {
  ToolRun run = RunTool("bulid s.txt o.SCH");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output.rfind("schedule-tool: unknown command \"bulid\"; did you mean \"build\"?\n", 0),
            0u) << run.output;
  run = RunTool("xyz");
  EXPECT_EQ(run.output.rfind("schedule-tool: unknown command \"xyz\"\n", 0), 0u) << run.output;
  EXPECT_EQ(RunTool("help").output, RunTool("--help").output);
  EXPECT_EQ(RunTool("help build").output, RunTool("build --help").output);
  EXPECT_EQ(RunTool("help bulid").status, 2);
  run = RunTool("dump x.SCH --format");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output.rfind("schedule-tool: dump: --format needs a value: list, text or csv\n", 0),
            0u) << run.output;
  EXPECT_EQ(RunTool("generate t.txt --start").output.rfind(
                "schedule-tool: generate: --start needs a value\n", 0), 0u);

  // Refused before anything is read: the pipe's bytes are never taken.
  const std::pair<const char*, const char*> twice[] = {
      {"generate - --distances - --start 2028-04-01", "generate: only one of TEAMS, --distances and --matchups"},
      {"import - --teams -", "import: only one of SEASON and --teams"},
      {"export - --teams -", "export: only one of SEASON and --teams"},
      {"calendar - --teams -", "calendar: only one of SEASON and --teams"},
      {"report --distances - -", "report: only one of SEASON, --teams and --distances"}};
  for (const auto& [line, words] : twice) {
    run = RunLine("echo unread | " + std::string(ZELTO_SCHEDULE_TOOL) + " " + line);
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_EQ(run.output, "schedule-tool: " + std::string(words) + " can be standard input\n");
  }

  // An empty name is a bad file name for an option as for an operand, not
  // the option left out.
  run = RunTool("dump --output '' x.SCH");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "schedule-tool: Cannot write file \"\" (--output): Bad file name\n");
  run = RunTool("report --teams '' s.txt");
  EXPECT_EQ(run.output, "schedule-tool: Cannot open file \"\" (--teams): Bad file name\n");
}

// A file saved by a spreadsheet as "CSV UTF-8" starts with a byte-order
// mark and ends its lines CR LF: every small file reads as its plain text.
TEST(ScheduleTool, SpreadsheetSavedSmallFilesReadAsPlainOnes) {
  ScopedTempDir dir;
  const std::string bom = "\xEF\xBB\xBF";
  auto both = [&](const std::string& name, const std::string& text) {
    WriteFileBytes(dir.File(name), text);
    WriteFileBytes(dir.File("bom-" + name), bom + text);
  };
  both("teams.csv", "name,code,league,display,latitude,longitude\r\n"
                    "84bbosto,BSU,UA,Boston,42.35,-71.06\r\n84aphila,PHU,UA,Philadelphia,39.95,-75.16\r\n"
                    "84cchica,CNU,UA,Chicago,41.88,-87.63\r\n84dalton,ALT,UA,Altoona,40.52,-78.39\r\n");
  both("map.txt", "ALT,84dalton\r\nBSU,84bbosto\r\nCNU,84cchica\r\nPHU,84aphila\r\nBLU,84ubalti\r\n"
                  "CHU,84uchica\r\nSLU,84ustlou\r\nWSU,84uwashi\r\n");
  both("map.csv", "code,name\r\nALT,84dalton\r\nBSU,84bbosto\r\nCNU,84cchica\r\nPHU,84aphila\r\n"
                  "BLU,84ubalti\r\nCHU,84uchica\r\nSLU,84ustlou\r\nWSU,84uwashi\r\n");
  both("distances.txt", "84bbosto 84aphila 84cchica 84dalton\r\n84bbosto 0 1 2 3\r\n"
                        "84aphila 1 0 4 5\r\n84cchica 2 4 0 6\r\n84dalton 3 5 6 0\r\n");
  const std::string season = std::string("--league UA ") + ZELTO_SEASON_1884;
  const std::string text = "'" + dir.File("s.txt") + "'";
  WriteFileBytes(dir.File("s.txt"), "[04/17/84]\r\n84bbosto 84aphila\r\n84cchica 84dalton\r\n"
                                    "[04/18/84]\r\n84aphila 84bbosto\r\n84dalton 84cchica\r\n");
  const std::string commands[] = {
      "import --teams %smap.txt " + season, "import --teams %smap.csv " + season,
      "generate %steams.csv --start 2027-04-01", "generate %steams.csv --start 2027-04-01 "
      "--distances %sdistances.txt", "report --teams %steams.csv " + text,
      "report --teams %steams.csv --distances %sdistances.txt " + text,
      "calendar --year 1884 --team 84bbosto --teams %steams.csv " + text,
      "export --year 1884 --teams %steams.csv " + text};
  for (const std::string& command : commands) {
    auto run = [&](const std::string& prefix) {
      std::string line = command;
      for (size_t at; (at = line.find("%s")) != std::string::npos;) {
        line.replace(at, 2, dir.File(prefix));
      }
      return RunTool(line + " 2>/dev/null");
    };
    const ToolRun plain = run("");
    const ToolRun marked = run("bom-");
    EXPECT_EQ(plain.status, 0) << command << plain.output;
    EXPECT_EQ(marked.status, 0) << command << marked.output;
    EXPECT_EQ(marked.output, plain.output) << command;
  }
}

// A two-digit year's century, taken by a rule, is said where it decides
// the weekdays: generate's summary gives the --year, and calendar and
// export without it say what they took.
TEST(ScheduleTool, TheCenturyOfTwoDigitYearsIsSaid) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("teams.csv"), "name,code,league\naa,AAA,NL\nbb,BBB,NL\n");
  const std::string teams = "'" + dir.File("teams.csv") + "'";
  const std::string text = "'" + dir.File("s.txt") + "'";
  ToolRun run = RunTool("generate " + teams + " --start 2028-02-27 --output " + text);
  EXPECT_NE(run.output.find("calendar and export read them with --year 2028\n"), std::string::npos)
      << run.output;
  const std::string note = "schedule-tool: " + dir.File("s.txt") +
                           ": dates read as 1928 (two-digit year 28); give --year 2028 for another "
                           "century\n";
  EXPECT_EQ(RunLine(std::string(ZELTO_SCHEDULE_TOOL) + " calendar " + text + " 2>&1 >/dev/null").output,
            note);
  EXPECT_EQ(RunLine(std::string(ZELTO_SCHEDULE_TOOL) + " export --teams " + teams + " " + text +
                    " 2>&1 >/dev/null").output, note);
  run = RunLine(std::string(ZELTO_SCHEDULE_TOOL) + " export --year 2028 --teams " + teams + " " +
                text + " 2>&1");
  EXPECT_EQ(run.output.find("dates read as"), std::string::npos);
  EXPECT_EQ(run.output.rfind("\"20280227\",\"0\",\"Sun\"", 0), 0u) << run.output;
}

// What the build leaves out of a text is said by every command that reads
// the text, in the build's words, and is in none of their counts.
TEST(ScheduleTool, GamesATextLosesAreWarnedOfAsTheBuildWarns) {
  ScopedTempDir dir;
  std::string text = "x        y\r\n[04/10/45]\r\n";
  std::string teams = "name,code,league\n";
  for (int game = 1; game <= 16; ++game) {
    const std::string number = std::to_string(game);
    text += "v" + number + std::string(8 - number.size(), ' ') + "h" + number + "\r\n";
    teams += "v" + number + ",V" + number + ",NL\nh" + number + ",H" + number + ",NL\n";
  }
  text += "[04/11/45]\r\nv1       h1\r\n";
  WriteFileBytes(dir.File("s.txt"), text);
  WriteFileBytes(dir.File("teams.csv"), teams);
  const std::string season = "'" + dir.File("s.txt") + "'";
  const std::string warnings =
      "schedule-tool: warning: " + dir.File("s.txt") +
      ":1: game line before the first date skipped: \"x        y\"\n"
      "schedule-tool: warning: " + dir.File("s.txt") +
      ":18: date \"04/10/45\" has 16 games: a date holds 15; this one is left out\n";
  auto errors = [](const std::string& line) {
    return RunLine(std::string(ZELTO_SCHEDULE_TOOL) + " " + line + " 2>&1 >/dev/null").output;
  };
  EXPECT_EQ(errors("build " + season + " '" + dir.File("s.SCH") + "'"), warnings);
  EXPECT_EQ(errors("report " + season), warnings);
  EXPECT_EQ(errors("calendar --year 1945 " + season), warnings);
  EXPECT_EQ(RunLine(std::string(ZELTO_SCHEDULE_TOOL) + " report " + season + " 2>/dev/null")
                .output.rfind(dir.File("s.txt") + ": 2 dates, 16 games, 30 teams, at most 15 "
                              "games on one date\n", 0),
            0u);
  EXPECT_EQ(errors("export --year 1945 --teams '" + dir.File("teams.csv") + "' " + season),
            warnings);

  // Past the first hundred they are counted: a text of no season must not
  // flood the screen, nor fill the disk with warnings held for later.
  std::string log;
  for (int line = 0; line < 103; ++line) log += "y\n";
  WriteFileBytes(dir.File("log.txt"), log + "[04/10/45]\nv1       h1\n");
  for (const std::string command : {"report ", "calendar --year 1945 "}) {
    const std::string said = errors(command + "'" + dir.File("log.txt") + "'");
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 101) << command;
    EXPECT_NE(said.find(dir.File("log.txt") + ":100: game line before"), std::string::npos);
    EXPECT_EQ(said.substr(said.rfind("warning: ")),
              "warning: " + dir.File("log.txt") +
                  ": 3 more warnings like these, of games the build leaves out, not shown\n")
        << command;
  }
}

TEST(ScheduleTool, DumpedTextBuildsTheSameFileAndDamageFailsTheDump) {
  ScopedTempDir dir;
  // Lines the text must quote or escape to give them back as they were.
  WriteFileBytes(dir.File("in.txt"), "[04/10/45]\r\n\"  a,b      c\"\r\n\r\n\t\"q       h\r\n");
  ASSERT_EQ(RunTool("build '" + dir.File("in.txt") + "' '" + dir.File("a.SCH") + "'").status, 0);
  ToolRun dump = RunTool("dump --format text '" + dir.File("a.SCH") + "' >'" +
                         dir.File("again.txt") + "'");
  ASSERT_EQ(dump.status, 0) << dump.output;
  ASSERT_EQ(RunTool("build '" + dir.File("again.txt") + "' '" + dir.File("b.SCH") + "'").status,
            0);
  EXPECT_EQ(ReadFileBytes(dir.File("b.SCH")), ReadFileBytes(dir.File("a.SCH")));

  // --output writes the same bytes, and nothing at all for a refused file.
  ASSERT_EQ(RunTool("dump --format=text --output '" + dir.File("out.txt") + "' '" +
                    dir.File("a.SCH") + "'").status,
            0);
  EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), ReadFileBytes(dir.File("again.txt")));
  WriteFileBytes(dir.File("short.SCH"), ReadFileBytes(dir.File("a.SCH")).substr(0, 500));
  dump = RunTool("dump --output '" + dir.File("none.txt") + "' '" + dir.File("short.SCH") + "'");
  EXPECT_EQ(dump.status, 1);
  EXPECT_EQ(dump.output, "schedule-tool: " + dir.File("short.SCH") +
                             ": record 2 (offset 430): the file's 500 bytes are no whole number "
                             "of 430-byte records: this record has only 70 bytes\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.txt")));
  // A dump never takes the place of the file it shows.
  EXPECT_EQ(RunTool("dump --output '" + dir.File("a.SCH") + "' '" + dir.File("a.SCH") + "'").status,
            1);
  EXPECT_EQ(ReadFileBytes(dir.File("a.SCH")), ReadFileBytes(dir.File("b.SCH")));
}

TEST(ScheduleTool, CheckPrintsFileAndLineAndExitsOneOnFindings) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("clean.txt"), "[04/10/45]\n45nnewyo 45nstlou\n");
  ToolRun clean = RunTool("check '" + dir.File("clean.txt") + "'");
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.output, "");
  WriteFileBytes(dir.File("odd.txt"), "[04/10/45]\n45nnewyo 45nstlou\n\n");
  ToolRun odd = RunTool("check '" + dir.File("odd.txt") + "'");
  EXPECT_EQ(odd.status, 1);
  EXPECT_EQ(odd.output, dir.File("odd.txt") + ":3: a blank line takes game slot 2 of date "
                                              "\"04/10/45\" and leaves it blank\n");
  EXPECT_EQ(RunTool("check '" + dir.File("none.txt") + "'").status, 1);
}

}  // namespace

namespace {

// Every command reads its command line one way.
TEST(ScheduleTool, OneCommandLineConvention) {
  ScopedTempDir dir;
  const std::string in = "'" + dir.File("in.txt") + "'";
  const std::string sch = "'" + dir.File("x.SCH") + "'";
  WriteFileBytes(dir.File("in.txt"), "[04/10/45]\r\na        b\r\n");
  // --help anywhere shows that command's help and writes nothing.
  ToolRun help = RunTool("build " + in + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: schedule-tool build", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir.File("--help")));
  EXPECT_EQ(RunTool("dump " + sch + " --help").output.rfind("Usage: schedule-tool dump", 0), 0u);
  // Options after the file names, -- before a file name, - for standard
  // input and for standard output.
  ASSERT_EQ(RunTool("build -- " + in + " " + sch).status, 0);
  EXPECT_EQ(RunTool("dump -- " + sch).status, 0);
  ToolRun piped = RunTool("dump --format csv - < " + sch);
  EXPECT_EQ(piped.status, 0) << piped.output;
  EXPECT_NE(piped.output.find("2,04/10/45,1,a,b,"), std::string::npos) << piped.output;
  EXPECT_EQ(RunTool("dump " + sch + " --format csv --output -").output, piped.output);
  EXPECT_FALSE(std::filesystem::exists("-"));
  ToolRun built = RunTool("build - '" + dir.File("y.SCH") + "' < " + in);
  EXPECT_EQ(built.status, 0) << built.output;
  EXPECT_EQ(ReadFileBytes(dir.File("y.SCH")), ReadFileBytes(dir.File("x.SCH")));
  // Unknown and repeated options are usage errors that name them.
  ToolRun unknown = RunTool("check " + in + " --bogus");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.output.find("--bogus"), std::string::npos) << unknown.output;
  ToolRun repeated = RunTool("dump --format text --format csv " + sch);
  EXPECT_EQ(repeated.status, 2);
  EXPECT_NE(repeated.output.find("--format"), std::string::npos) << repeated.output;
  EXPECT_EQ(RunTool("check --").status, 2);
}

// One name gets one answer, whichever command reads it.
TEST(ScheduleTool, EveryCommandAnswersANameTheSameWay) {
  ScopedTempDir dir;
  const std::string folder = "'" + dir.path().string() + "'";
  const std::string missing = "'" + dir.File("none.txt") + "'";
  // A 355-byte path through folders that do not exist is taken whole, by
  // every command.
  std::string deep;
  while (deep.size() < 340) deep += "folder/";
  const std::string long_name = "'" + dir.File(deep + "in.txt") + "'";
  for (const std::string& command : {"build %s '" + dir.File("o.SCH") + "'", std::string("check %s"),
                                     std::string("dump %s"), std::string("import %s")}) {
    auto run = [&](const std::string& name) {
      std::string line = command;
      line.replace(line.find("%s"), 2, name);
      return RunTool(line);
    };
    ToolRun on_folder = run(folder);
    EXPECT_EQ(on_folder.status, 1) << command;
    EXPECT_NE(on_folder.output.find("It is a folder"), std::string::npos) << on_folder.output;
    EXPECT_NE(run(missing).output.find("File not found"), std::string::npos) << command;
    EXPECT_NE(run(long_name).output.find("Folder not found"), std::string::npos) << command;
  }
}

// A season imported and built in one pipe; an error writes no text file.
// What can be read only once (a pipe) is shown or imported as a file is,
// and a damaged one shows nothing: it waits in a temporary file, which
// leaves nothing behind.
TEST(ScheduleTool, PipesAreShownWholeOrNotAtAll) {
  ScopedTempDir dir;
  const std::string tool = ZELTO_SCHEDULE_TOOL;
  std::string text = "[04/10/45]\r\n";
  for (int game = 0; game < 15; ++game) text += "45nnewyo 45nbosto\r\n";
  for (int date = 11; date < 99; ++date) text += "[04/" + std::to_string(date) + "/45]\r\n";
  WriteFileBytes(dir.File("in.txt"), text);
  ASSERT_EQ(RunTool("build '" + dir.File("in.txt") + "' '" + dir.File("a.SCH") + "'").status, 0);
  const std::string env = "TMPDIR='" + dir.File("tmp") + "' ";
  std::filesystem::create_directory(dir.File("tmp"));
  for (const char* format : {"text", "list", "csv"}) {
    ToolRun file = RunTool(std::string("dump --format ") + format + " '" + dir.File("a.SCH") + "'");
    ToolRun piped = RunLine("cat '" + dir.File("a.SCH") + "' | " + env + tool +
                             " dump --format " + format + " -");
    EXPECT_EQ(piped.status, 0) << format;
    EXPECT_EQ(piped.output, std::string(format) == "list" ? file.output.substr(file.output.find(':'))
                                                           .insert(0, "-")
                                                     : file.output)
        << format;
  }
  ToolRun cut = RunLine("head -c 1000 '" + dir.File("a.SCH") + "' | " + env + tool +
                         " dump --format text -");
  EXPECT_EQ(cut.status, 1);
  EXPECT_EQ(cut.output.find("[04/10/45]"), std::string::npos) << cut.output;

  WriteFileBytes(dir.File("season.csv"),
                 "\"19450417\",\"0\",\"Tue\",\"NY1\",\"NL\",1,\"BSN\",\"NL\",1,\"d\",\"\",\"\"\r\n");
  ToolRun imported = RunTool("import '" + dir.File("season.csv") + "'");
  ToolRun piped = RunLine("cat '" + dir.File("season.csv") + "' | " + env + tool + " import -");
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.output, imported.output);
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("tmp")));
}

// Endless or foreign input is refused once it is seen to be no schedule
// file (dump) or season file (import), not read for ever nor copied aside
// until the temporary folder fills; nothing is left there.
TEST(ScheduleTool, EndlessInputIsRefusedAtOnce) {
  ScopedTempDir dir;
  std::filesystem::create_directory(dir.File("tmp"));
  const std::string tool = "TMPDIR='" + dir.File("tmp") + "' timeout 20 " + ZELTO_SCHEDULE_TOOL;
  struct Case {
    std::string line;
    std::string message;
  };
  const Case cases[] = {
      {tool + " dump /dev/zero",
       "/dev/zero: record 1 (offset 0): the first record is not the header: its kind bytes are 00 00, "
       "not \"D \"; no schedule file starts so, and the rest was not read"},
      {"yes | " + tool + " dump --format text -", "-: record 1 (offset 0): the first record is not the header"},
      {tool + " import /dev/zero",
       "/dev/zero:1: a row of more than 4096 bytes; a row holds at most 4096, and the rest of the file was not read"},
      {"yes | " + tool + " import --output '" + dir.File("out.txt") + "' -",
       "-:1: a row has 12 fields, this one 1: \"y\"; no season file starts so, and the rest was not read"},
  };
  for (const Case& test : cases) {
    ToolRun run = RunLine(test.line);
    EXPECT_EQ(run.status, 1) << test.line << run.output;
    EXPECT_NE(run.output.find(test.message), std::string::npos) << run.output;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("tmp")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
  // A season with CR alone for its line ends imports as with CR LF.
  const std::string row = "\"19450417\",\"0\",\"Tue\",\"NY1\",\"NL\",1,\"BSN\",\"NL\",1,\"d\",\"\",\"\"";
  WriteFileBytes(dir.File("cr.csv"), row + "\r" + row + "\r");
  WriteFileBytes(dir.File("crlf.csv"), row + "\r\n" + row + "\r\n");
  ToolRun cr = RunTool("import '" + dir.File("cr.csv") + "'");
  EXPECT_EQ(cr.status, 0) << cr.output;
  EXPECT_EQ(cr.output, RunTool("import '" + dir.File("crlf.csv") + "'").output);
}

// "-", and /dev/stdout when it is a pipe, are standard output for build as
// for every --output: the schedule's bytes alone, the summary on standard
// error, and nothing at all when the build fails.
TEST(ScheduleTool, BuildWritesToStandardOutputThroughAPipe) {
  ScopedTempDir dir;
  const std::string tool = ZELTO_SCHEDULE_TOOL;
  WriteFileBytes(dir.File("in.txt"), "[04/10/45]\r\na        b\r\n");
  ASSERT_EQ(RunTool("build '" + dir.File("in.txt") + "' '" + dir.File("a.SCH") + "'").status, 0);
  for (const char* output : {"-", "/dev/stdout"}) {
    ToolRun run = RunLine(tool + " build '" + dir.File("in.txt") + "' " + output + " 2>'" +
                          dir.File("summary") + "' | cat >'" + dir.File("piped.SCH") + "'");
    EXPECT_EQ(run.status, 0) << output << run.output;
    EXPECT_EQ(ReadFileBytes(dir.File("piped.SCH")), ReadFileBytes(dir.File("a.SCH"))) << output;
    EXPECT_EQ(ReadFileBytes(dir.File("summary")), std::string(output) + ": 2 records written (the header and 1 date)\n");
    ToolRun report = RunLine(tool + " report --output " + output + " '" + dir.File("in.txt") + "' | cat");
    EXPECT_EQ(report.status, 0) << report.output;
    EXPECT_NE(report.output.find("1 date, 1 game, 2 teams"), std::string::npos) << report.output;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("-")));
  WriteFileBytes(dir.File("bad.txt"), "no date line\r\n");
  ToolRun failed = RunLine(tool + " build '" + dir.File("bad.txt") + "' - 2>/dev/null | wc -c");
  EXPECT_EQ(failed.output, "0\n");
}

// A rare name is asked about the regular team it is likely a slip for: one
// of its own length (two bytes swapped) before a shorter one with more games.
TEST(ScheduleTool, ARareNameIsAskedAboutTheNameOfItsLength) {
  ScopedTempDir dir;
  std::string text;
  for (int day = 10; day < 24; ++day) text += "[04/" + std::to_string(day) + "/45]\r\nbal      la\r\n";
  text += "[04/24/45]\r\nx        la\r\n[04/25/45]\r\nbla      la\r\n";
  WriteFileBytes(dir.File("s.txt"), text);
  ToolRun run = RunTool("check '" + dir.File("s.txt") + "'");
  EXPECT_NE(run.output.find("team \"bla\" plays 1 game: is it \"bal\" (14 games)?"), std::string::npos)
      << run.output;
}

TEST(ScheduleTool, ImportFeedsBuildAndWritesNothingOnAnError) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("season.csv"),
                 "\"19450417\",\"0\",\"Tue\",\"NY1\",\"NL\",1,\"BSN\",\"NL\",1,\"d\",\"\",\"\"\r\n");
  ToolRun piped = RunTool("import '" + dir.File("season.csv") + "' | " +
                          std::string(ZELTO_SCHEDULE_TOOL) + " build - '" + dir.File("s.SCH") + "'");
  EXPECT_EQ(piped.status, 0) << piped.output;
  std::string bytes = ReadFileBytes(dir.File("s.SCH"));
  ASSERT_EQ(bytes.size(), 860u);
  EXPECT_EQ(bytes.substr(430 + 2, 8 + 16), "04/17/45" + std::string("45nnewyo45nbosto"));
  WriteFileBytes(dir.File("bad.csv"),
                 "\"19450417\",\"0\",\"Tue\",\"XXX\",\"NL\",1,\"BSN\",\"NL\",1,\"d\",\"\",\"\"\r\n");
  ToolRun bad = RunTool("import --output '" + dir.File("bad.txt") + "' '" + dir.File("bad.csv") + "'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.output.find(":1:"), std::string::npos) << bad.output;
  EXPECT_FALSE(std::filesystem::exists(dir.File("bad.txt")));
}

}  // namespace

namespace {

// Seventy bad rows after a good one: the first 50 are told, then one line
// of how many more, the same words whether the text goes to a file or to
// standard output.
TEST(ScheduleTool, ManyErrorsEndWithOneCountOfTheRest) {
  ScopedTempDir dir;
  std::string rows = "\"19450417\",\"0\",\"Tue\",\"NY1\",\"NL\",1,\"BSN\",\"NL\",1,\"d\",\"\",\"\"\r\n";
  for (int row = 0; row < 70; ++row) rows += "\"19450417\",\"0\",\"Tue\",\"NY1\"\r\n";
  WriteFileBytes(dir.File("bad.csv"), rows);
  for (const std::string& output : {std::string(), " --output '" + dir.File("bad.txt") + "'"}) {
    ToolRun run = RunTool("import" + output + " '" + dir.File("bad.csv") + "'");
    EXPECT_EQ(run.status, 1);
    size_t lines = 0, counts = 0;
    for (size_t at = 0; (at = run.output.find('\n', at)) != std::string::npos; ++at) ++lines;
    for (size_t at = 0; (at = run.output.find("not shown", at)) != std::string::npos; ++at) ++counts;
    EXPECT_EQ(lines, 51u) << run.output;
    EXPECT_EQ(counts, 1u) << run.output;
    EXPECT_NE(run.output.find("schedule-tool: " + dir.File("bad.csv") +
                              ": 20 more errors are not shown\n"),
              std::string::npos)
        << run.output;
  }
}

}  // namespace
