// Both programs as a script meets them, each check written once and run on
// every build there is: this build's schedule-tool and schedule-builder
// always, and, when the Windows stage names a Windows build folder in
// ZELTO_WINDOWS_BUILD, its schedule-tool.exe and schedule-builder.exe under
// Wine (through scripts/wine-run.sh). Whatever runs, the files it writes
// must be this build's bytes, its messages this build's words, and its
// exit statuses the same; names, failures and standard streams included.
//
// Under Wine a program's standard output and standard error arrive as one
// stream (wine-run.sh hands them on together), so messages are compared as
// both streams together here for every build.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "testing/temp_dir.h"
#include "testing/tmux_session.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::ShellQuote;
using testing_support::WriteFileBytes;

// The programs of one build and the shell words that start them.
struct Build {
  std::string name;     // for the test's name: "linux" or "windows"
  std::string tool;     // schedule-tool
  std::string builder;  // schedule-builder
  bool wine = false;
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::vector<Build> Builds() {
  std::vector<Build> builds{
      {"linux", ShellQuote(ZELTO_SCHEDULE_TOOL), ShellQuote(ZELTO_SCHEDULE_BUILDER), false}};
  const std::string windows = Environment("ZELTO_WINDOWS_BUILD");
  if (!windows.empty()) {
    const std::string run = ShellQuote(ZELTO_WINE_RUN) + " ";
    builds.push_back({"windows", run + ShellQuote(windows + "/schedule-tool.exe"),
                      run + ShellQuote(windows + "/schedule-builder.exe"), true});
  }
  return builds;
}

struct ProgramRun {
  int status = -1;
  std::string output;  // standard output and standard error as one
};

// Runs `command` in `folder`, its standard input from `input` (none: the
// null device), both output streams into one file.
ProgramRun RunIn(const std::string& folder, const std::string& command, const std::string& input = "") {
  const std::string out = folder + "/.run.out";
  std::string line = "cd " + ShellQuote(folder) + " && " + command + " <" +
                     (input.empty() ? std::string("/dev/null") : ShellQuote(input)) + " >" +
                     ShellQuote(out) + " 2>&1";
  ProgramRun run;
  int status = std::system(line.c_str());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.output = ReadFileBytes(out);
  std::filesystem::remove(out);
  return run;
}

// What a program under Wine writes to a stream ends its lines CR LF.
std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

// A larger season: 600 dates, some past the 15-game limit, repeated dates,
// a game before the first date, options, leading spaces, long names,
// commas, quotes, TABs, blank lines, CR LF, LF and lone CR line ends, and a
// Ctrl+Z near the end.
std::string LargeSeason() {
  std::mt19937 random(1945);
  auto chance = [&random] { return std::uniform_real_distribution<double>(0, 1)(random); };
  auto number = [&random] { return std::uniform_int_distribution<int>(0, 99999)(random); };
  std::string text = "45xearly  45xgames\r\n";
  char buffer[64];
  for (int d = 0; d < 600; ++d) {
    const char* end = d % 3 == 0 ? "\r\n" : d % 3 == 1 ? "\n" : "\r";
    std::snprintf(buffer, sizeof buffer, "[%02d/%02d/45]%s", 4 + d / 100, 1 + d % 28, end);
    text += buffer;
    if (d % 50 == 7) text += buffer;
    int games = static_cast<int>(chance() * 18);
    for (int g = 0; g < games; ++g) {
      std::snprintf(buffer, sizeof buffer, "45n%05d 45a%05d", number(), number());
      std::string line = buffer;
      double r = chance();
      if (r < 0.2) line += " DH";
      else if (r < 0.25) line = "   " + line;
      else if (r < 0.28) line += "\t";
      else if (r < 0.31) line = "45longvisitor 45h" + std::to_string(g);
      else if (r < 0.33) line += ",45next    45comma";
      else if (r < 0.35) line = "\"45quote" + std::to_string(g) + "  45q\"";
      else if (r < 0.37) line.clear();
      text += line + end;
    }
  }
  return text + "\x1a[12/31/45]\r\nafter    ctrlz\r\n";
}

class ProgramsCompared : public ::testing::TestWithParam<Build> {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(linux_);
    std::filesystem::create_directories(other_);
  }

  // The same schedule-tool command in this build's folder and in the
  // tested build's; both results.
  std::pair<ProgramRun, ProgramRun> Tool(const std::string& arguments, const std::string& input = "") {
    return {RunIn(linux_, ShellQuote(ZELTO_SCHEDULE_TOOL) + " " + arguments, input),
            RunIn(other_, GetParam().tool + " " + arguments, input)};
  }

  // Puts `bytes` under `name` in both folders.
  void Give(const std::string& name, const std::string& bytes) {
    WriteFileBytes(linux_ + "/" + name, bytes);
    WriteFileBytes(other_ + "/" + name, bytes);
  }

  std::string Linux(const std::string& name) { return ReadFileBytes(linux_ + "/" + name); }
  std::string Other(const std::string& name) { return ReadFileBytes(other_ + "/" + name); }
  bool OtherHas(const std::string& name) { return std::filesystem::exists(other_ + "/" + name); }

  ScopedTempDir dir_;
  const std::string linux_ = dir_.File("linux");
  const std::string other_ = dir_.File("other");
};

// The usage example and the large season: exit status 0, the schedule file
// byte for byte (an older, longer one of the same name cut to size), the
// same warnings.
TEST_P(ProgramsCompared, BuildsGiveTheSameScheduleAndWords) {
  Give("usage.txt", ReadFileBytes(ZELTO_USAGE_EXAMPLE));
  Give("large.txt", LargeSeason());
  for (const std::string season : {"usage", "large"}) {
    WriteFileBytes(other_ + "/" + season + ".SCH", std::string(1000000, 'o'));
    auto [linux_run, run] = Tool("build " + season + ".txt " + season + ".SCH");
    EXPECT_EQ(run.status, 0) << season << ": " << run.output;
    EXPECT_EQ(Other(season + ".SCH"), Linux(season + ".SCH")) << season;
    EXPECT_EQ(WithoutCarriageReturns(run.output), linux_run.output) << season;
  }
  EXPECT_EQ(Linux("large.SCH").size() % 430, 0u);
  EXPECT_GT(Linux("large.SCH").size(), 430u * 500);
}

// Dumps to a redirected standard output are the bytes --output writes (CR
// LF, not CR CR LF), and the text dump builds the same schedule again.
// report counts the season as this build does, from the text and the file.
TEST_P(ProgramsCompared, DumpsAndReportsGiveTheSameBytes) {
  Give("large.txt", LargeSeason());
  Tool("build large.txt large.SCH");
  for (const std::string format : {"text", "csv"}) {
    auto [linux_file, file] = Tool("dump --format " + format + " --output written." + format +
                                   " large.SCH");
    EXPECT_EQ(file.status, 0) << file.output;
    EXPECT_EQ(Other("written." + format), Linux("written." + format)) << format;
    // Standard output alone: its standard error is empty for a sound file.
    ProgramRun redirected = RunIn(other_, GetParam().tool + " dump --format " + format + " large.SCH");
    EXPECT_EQ(redirected.output, Linux("written." + format)) << format;
  }
  auto [linux_again, again] = Tool("build written.text again.SCH");
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(Other("again.SCH"), Linux("large.SCH"));
  for (const std::string counted : {"large.SCH", "large.txt"}) {
    for (const std::string by : {"team", "pair"}) {
      Tool("report --by " + by + " --format csv --output " + by + ".csv " + counted);
      EXPECT_FALSE(Linux(by + ".csv").empty());
      EXPECT_EQ(Other(by + ".csv"), Linux(by + ".csv")) << counted << " by " << by;
    }
  }
}

// A public season imported gives this build's text, to a file and to a
// redirected standard output, and that text through build - its schedule;
// the season's calendar, a page and an iCalendar file with a fixed stamp,
// is this build's bytes too.
TEST_P(ProgramsCompared, ImportAndCalendarGiveTheSameBytes) {
  Give("season.csv", ReadFileBytes(ZELTO_SEASON_1884));
  auto [linux_import, import] = Tool("import season.csv --output 1884.txt");
  EXPECT_EQ(import.status, 0) << import.output;
  EXPECT_EQ(Other("1884.txt"), Linux("1884.txt"));
  // The NL alone has no date of more than 15 games, so no warning joins
  // the text on the way.
  Tool("import --league NL --output nl.txt season.csv");
  ProgramRun piped = RunIn(other_, GetParam().tool + " import --league NL season.csv");
  EXPECT_EQ(piped.output, Linux("nl.txt"));
  WriteFileBytes(other_ + "/nl.piped", piped.output);
  Tool("build nl.txt nl.SCH");
  ProgramRun built = RunIn(other_, GetParam().tool + " build - piped.SCH", other_ + "/nl.piped");
  EXPECT_EQ(built.status, 0) << built.output;
  EXPECT_EQ(Other("piped.SCH"), Linux("nl.SCH"));

  const std::string stamp = "SOURCE_DATE_EPOCH=1700000000 ";
  for (const std::string format : {"html", "ics"}) {
    RunIn(linux_, stamp + ShellQuote(ZELTO_SCHEDULE_TOOL) + " calendar --year 1884 --format " +
                      format + " --output 1884." + format + " 1884.txt");
    RunIn(other_, stamp + GetParam().tool + " calendar --year 1884 --format " + format +
                      " --output 1884." + format + " 1884.txt");
    EXPECT_FALSE(Linux("1884." + format).empty());
    EXPECT_EQ(Other("1884." + format), Linux("1884." + format)) << format;
  }
  ProgramRun ics = RunIn(other_, stamp + GetParam().tool + " calendar --year 1884 --format ics 1884.txt");
  // The run's standard error comes first: the warnings of the two dates of
  // 28 games, whose games past the 15th the season leaves out.
  const std::string expected = Linux("1884.ics");
  ASSERT_GE(ics.output.size(), expected.size());
  EXPECT_EQ(ics.output.substr(ics.output.size() - expected.size()), expected);
  std::istringstream warnings(ics.output.substr(0, ics.output.size() - expected.size()));
  for (std::string line; std::getline(warnings, line);) {
    EXPECT_EQ(line.rfind("schedule-tool: warning: 1884.txt:", 0), 0u) << line;
  }
}

// People's names from a teams file, with letters past ASCII: report's table
// and CSV, and the calendar's page and iCalendar file, are this build's
// bytes.
TEST_P(ProgramsCompared, DisplayNamesGiveTheSameBytes) {
  Give("season.csv", ReadFileBytes(ZELTO_SEASON_1884));
  Give("teams.csv", "name,display\r\n84nbosto,Boston Braves\r\n"
                    "84nprovi,\"Providence Grays, R\u00f6de \u00cesland\"\r\n"
                    "84nbuffa,B\u00fcffalo Bis\u00f8ns & <Co>\r\n");
  Tool("import --league NL --output nl.txt season.csv");
  const std::string stamp = "SOURCE_DATE_EPOCH=1700000000 ";
  const std::string commands[][2] = {
      {"report --teams teams.csv --output", "report.txt nl.txt"},
      {"report --by pair --format csv --teams teams.csv --output", "pairs.csv nl.txt"},
      {"calendar --year 1884 --team 84nbosto --teams teams.csv --output", "boston.html nl.txt"},
      {"calendar --year 1884 --format ics --teams teams.csv --output", "nl.ics nl.txt"},
  };
  for (const auto& [command, files] : commands) {
    const std::string written = files.substr(0, files.find(' '));
    ProgramRun linux_run =
        RunIn(linux_, stamp + ShellQuote(ZELTO_SCHEDULE_TOOL) + " " + command + " " + files);
    ProgramRun run = RunIn(other_, stamp + GetParam().tool + " " + command + " " + files);
    EXPECT_EQ(run.status, 0) << command << ": " << run.output;
    EXPECT_NE(Linux(written).find("R\u00f6de \u00cesland"), std::string::npos) << written;
    EXPECT_EQ(Other(written), Linux(written)) << written;
  }
}

// A season's teams (import --teams-output) and the season exported are this
// build's bytes, to a file and to a redirected standard output; the export
// imports back into this build's text, and an export onto its season is
// refused with the same words.
TEST_P(ProgramsCompared, ExportAndTeamsOutputGiveTheSameBytes) {
  Give("season.csv", ReadFileBytes(ZELTO_SEASON_1884));
  auto [linux_import, import] = Tool("import --teams-output teams.csv --output 1884.txt season.csv");
  EXPECT_EQ(import.status, 0) << import.output;
  EXPECT_FALSE(Linux("teams.csv").empty());
  EXPECT_EQ(Other("teams.csv"), Linux("teams.csv"));
  // The NL alone warns of nothing, so its teams alone reach the stream.
  Tool("import --league NL --teams-output nl.csv --output nl.txt season.csv");
  ProgramRun teams = RunIn(other_, GetParam().tool +
                                       " import --league NL --teams-output - --output nl.txt season.csv");
  EXPECT_EQ(teams.output, Linux("nl.csv"));

  Tool("build 1884.txt 1884.SCH");
  auto [linux_export, exported] = Tool("export --teams teams.csv --year 1884 --output out.csv 1884.SCH");
  EXPECT_EQ(exported.status, 0) << exported.output;
  EXPECT_FALSE(Linux("out.csv").empty());
  EXPECT_EQ(Other("out.csv"), Linux("out.csv"));
  ProgramRun piped = RunIn(other_, GetParam().tool + " export --teams teams.csv --year 1884 1884.SCH");
  EXPECT_EQ(piped.output, Linux("out.csv"));
  Tool("import --teams teams.csv --output again.txt out.csv");
  EXPECT_FALSE(Linux("again.txt").empty());
  EXPECT_EQ(Other("again.txt"), Linux("again.txt"));

  auto [linux_refused, refused] = Tool("export --teams teams.csv --output 1884.SCH 1884.SCH");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(WithoutCarriageReturns(refused.output), linux_refused.output);
  EXPECT_EQ(Other("1884.SCH"), Linux("1884.SCH"));
}

// A generated season is the same bytes from every build, seed for seed.
TEST_P(ProgramsCompared, GenerateGivesTheSameSeason) {
  std::string teams;
  for (int team = 0; team < 12; ++team) {
    teams += "27team" + std::to_string(team) + (team < 6 ? " east\n" : " west\n");
  }
  Give("teams.txt", teams);
  for (const std::string seed : {"1", "7"}) {
    auto [linux_run, run] = Tool("generate teams.txt --start 2027-04-01 --meetings 6 "
                                 "--division-meetings 12 --off-day Mon --seed " + seed +
                                 " --output season.txt");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(Linux("season.txt").empty());
    EXPECT_EQ(Other("season.txt"), Linux("season.txt")) << "seed " << seed;
    EXPECT_EQ(WithoutCarriageReturns(run.output), linux_run.output) << "seed " << seed;
  }
}

// A league laid out by least travel, from places in TEAMS (great-circle
// kilometres) and from a distances table, is the same season and summary
// from every build: the search steers by whole numbers and its own random
// numbers alone. report counts the same travel from it.
TEST_P(ProgramsCompared, GenerateByTravelGivesTheSameSeason) {
  Give("places.csv",
       "name,division,latitude,longitude\r\nbos,East,42.35,-71.10\r\nnyc,East,40.83,-73.93\r\n"
       "phi,East,39.91,-75.17\r\nwas,East,38.87,-77.01\r\nchi,West,41.95,-87.66\r\n"
       "stl,West,38.62,-90.19\r\nkc,West,39.05,-94.48\r\nden,West,39.76,-104.99\r\n");
  Give("six.txt", "a\nb\nc\nd\ne\nf\n");
  Give("six.dist", "   a  b  c  d  e  f\na  0  5 12 30 41  7\nb  5  0  8 25 33 12\nc 12  8  0 16 29 20\n"
                   "d 30 25 16  0 13 36\ne 41 33 29 13  0 44\nf  7 12 20 36 44  0\n");
  // A league's own matchups: pairs of one division meeting 7 times, 4 and 3
  // at the parks, the others 5, 3 and 2; series of 2 to 4 in a window.
  const char* const names[] = {"bos", "nyc", "phi", "was", "chi", "stl", "kc", "den"};
  std::string matchups = "team,opponent,games,home,away\r\n";
  for (int a = 0; a < 8; ++a) {
    for (int b = a + 1; b < 8; ++b) {
      matchups += std::string(names[a]) + "," + names[b] +
                  (a / 4 == b / 4 ? ",7,4,3\r\n" : ",5,2,3\r\n");
    }
  }
  Give("matchups.csv", matchups);
  const std::string commands[][2] = {
      {"generate places.csv --start 2027-04-01 --meetings 4 --division-meetings 6 --series 2 "
       "--output", "placed.txt"},
      {"generate places.csv --matchups matchups.csv --start 2027-04-01 --end 2027-06-30 "
       "--no-games 2027-05-10..2027-05-12 --series 2..4 --most-in-a-row 4 --output",
       "league.txt"},
      {"generate six.txt --distances six.dist --start 2027-04-01 --meetings 2 --series 1 "
       "--effort 2 --seed 5 --output", "six.txt.season"},
  };
  for (const auto& [command, written] : commands) {
    auto [linux_run, run] = Tool(command + " " + written);
    EXPECT_EQ(run.status, 0) << command << ": " << run.output;
    EXPECT_NE(linux_run.output.find("travel (from home"), std::string::npos) << linux_run.output;
    EXPECT_FALSE(Linux(written).empty());
    EXPECT_EQ(Other(written), Linux(written)) << command;
    EXPECT_EQ(WithoutCarriageReturns(run.output), linux_run.output) << command;
  }
  Tool("report --teams places.csv --output report.txt placed.txt");
  EXPECT_EQ(Other("report.txt"), Linux("report.txt"));
}

// schedule-builder with no terminal or console (setsid) reads the names as
// lines of standard input: the same schedule and the same transcript.
TEST_P(ProgramsCompared, TheInteractiveProgramWithNoConsoleGivesTheSameFile) {
  Give("large.txt", LargeSeason());
  Give("names.txt", "large.txt\nlarge.SCH\n\n");
  ProgramRun linux_run = RunIn(linux_, "setsid -w " + ShellQuote(ZELTO_SCHEDULE_BUILDER), linux_ + "/names.txt");
  ProgramRun run = RunIn(other_, "timeout 120 setsid -w " + GetParam().builder, other_ + "/names.txt");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(Other("large.SCH"), Linux("large.SCH"));
  EXPECT_EQ(WithoutCarriageReturns(run.output), linux_run.output);
}

// Failures named and explained, nothing clobbered; a name with a letter the
// ANSI code page lacks (L-stroke) is refused, never taken as its look-alike
// (Lodz), and one with a letter it has (e-acute) is used.
TEST_P(ProgramsCompared, FailuresAreNamedAndNothingIsClobbered) {
  const std::string usage = ReadFileBytes(ZELTO_USAGE_EXAMPLE);
  Give("usage.txt", usage);
  struct Expected {
    std::string arguments;
    int status;
    std::string words;
  };
  const Expected expected[] = {
      {"build missing.txt x.SCH", 1, "Cannot open input file \"missing.txt\": File not found"},
      {"build usage.txt usage.txt", 1,
       "Cannot write OUTPUT \"usage.txt\": it is INPUT too, which keeps its bytes"},
      {"build usage.txt 'out*.SCH'", 1, "Bad file name"},
      {"build only-one", 2, "Usage: schedule-tool build INPUT OUTPUT"},
  };
  for (const Expected& failure : expected) {
    auto [linux_run, run] = Tool(failure.arguments);
    EXPECT_EQ(run.status, failure.status) << failure.arguments;
    EXPECT_NE(run.output.find(failure.words), std::string::npos)
        << failure.arguments << ": " << run.output;
  }
  EXPECT_FALSE(OtherHas("x.SCH"));
  EXPECT_EQ(Other("usage.txt"), usage);

  // The names go to the program as UTF-8, which Wine reads right.
  const std::string utf8 = "LC_ALL=C.UTF-8 ";
  Give("Lodz.txt", usage);
  Give("Lodz.SCH", "keep");
  ProgramRun refused_in = RunIn(other_, utf8 + GetParam().tool + " build Łodz.txt x.SCH");
  ProgramRun refused_out = RunIn(other_, utf8 + GetParam().tool + " build usage.txt Łodz.SCH");
  if (GetParam().wine) {
    EXPECT_EQ(refused_in.status, 1);
    EXPECT_NE(refused_in.output.find("Bad file name"), std::string::npos) << refused_in.output;
    EXPECT_EQ(refused_out.status, 1);
    EXPECT_NE(refused_out.output.find("Bad file name"), std::string::npos) << refused_out.output;
  } else {
    // POSIX names are bytes: the UTF-8 name is a file of its own, not Lodz.
    EXPECT_EQ(refused_in.status, 1);
    EXPECT_NE(refused_in.output.find("File not found"), std::string::npos) << refused_in.output;
  }
  EXPECT_FALSE(OtherHas("x.SCH"));
  EXPECT_EQ(Other("Lodz.SCH"), "keep");
  Give("café.txt", usage);
  ProgramRun accepted = RunIn(other_, utf8 + GetParam().tool + " build café.txt café.SCH");
  EXPECT_EQ(accepted.status, 0) << accepted.output;
  EXPECT_EQ(Other("café.SCH").size(), 3u * 430);
}

INSTANTIATE_TEST_SUITE_P(EveryBuild, ProgramsCompared, ::testing::ValuesIn(Builds()),
                         [](const ::testing::TestParamInfo<Build>& info) { return info.param.name; });

}  // namespace
