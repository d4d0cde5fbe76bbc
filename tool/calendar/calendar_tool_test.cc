// schedule-tool calendar as a script meets it: its exit statuses, messages,
// and the bytes it writes. Run through a POSIX shell (popen).
#include <gtest/gtest.h>

#include <string>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

using ToolRun = testing_support::ShellRun;

// Runs schedule-tool with `arguments`, its environment set as `environment`
// ("NAME=VALUE ...") says.
ToolRun RunTool(const std::string& arguments, const std::string& environment = "") {
  return testing_support::RunShell(environment + " " + ZELTO_SCHEDULE_TOOL + " " + arguments);
}

bool Holds(const ToolRun& run, const std::string& piece) {
  return run.output.find(piece) != std::string::npos;
}

constexpr char kSeason[] =
    "[04/17/84]\r\n84nbosto 84nprovi\r\n84nprovi 84nbosto\r\n84nchica 84ndetro\r\n"
    "[02/30/84]\r\n84nbosto 84nchica\r\n"
    "[04/19/84]\r\n84ndetro 84nbosto\r\n";

TEST(CalendarTool, UsageErrorsAndNamesNoGameHoldsAreRefusedNamingWhatIsWrong) {
  ScopedTempDir dir;
  const std::string season = "'" + dir.File("s.txt") + "'";
  WriteFileBytes(dir.File("s.txt"), kSeason);
  EXPECT_EQ(RunTool("calendar --year 84 " + season + " 2>&1").status, 2);
  EXPECT_EQ(RunTool("calendar --format pdf " + season + " 2>&1").status, 2);
  EXPECT_EQ(RunTool("calendar --year 1884 --year 1884 " + season + " 2>&1").status, 2);
  EXPECT_EQ(RunTool("calendar 2>&1").status, 2);

  ToolRun run = RunTool("calendar --team 84nbosto --team 84nchicago --team 84nprovi " + season +
                        " 2>&1");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Holds(run, "schedule-tool: --team \"84nchicago\": no game holds this team; the "
                         "closest names: \"84nchica\""))
      << run.output;
  EXPECT_FALSE(Holds(run, "<html"));

  run = RunTool("calendar --year 1885 " + season + " 2>&1");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Holds(run, "--year 1885 is not the year of the season's first date")) << run.output;

  run = RunTool("calendar --format ics " + season + " 2>&1");  // 84 is 1984 until 2083
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Holds(run, "DTSTART;VALUE=DATE:19840417")) << run.output;
  EXPECT_TRUE(Holds(run, "s.txt:6: date \"02/30/84\" is no real day in 1984: its game is left out"))
      << run.output;
}

TEST(CalendarTool, OutputIsWrittenWholeOrNotAtAllAndTheSameSeasonGivesTheSameBytes) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("s.txt"), kSeason);
  WriteFileBytes(dir.File("out.ics"), "keep");
  const std::string in = "'" + dir.File("s.txt") + "'";
  const std::string out = "'" + dir.File("out.ics") + "'";
  EXPECT_EQ(RunTool("calendar --team nobody --output " + out + " " + in + " 2>/dev/null").status, 1);
  EXPECT_EQ(RunTool("calendar --year 1885 --output " + out + " " + in + " 2>/dev/null").status, 1);
  EXPECT_EQ(RunTool("calendar --format ics --output " + out + " " + in + " 2>/dev/null",
                    "SOURCE_DATE_EPOCH=yesterday")
                .status,
            1);
  EXPECT_EQ(ReadFileBytes(dir.File("out.ics")), "keep");
  // Set empty, the stamp is as if unset.
  EXPECT_EQ(RunTool("calendar --format ics " + in, "SOURCE_DATE_EPOCH=").status, 0);
  // The season itself as the output is a file in use: it keeps its bytes.
  EXPECT_EQ(RunTool("calendar --output " + in + " " + in + " 2>/dev/null").status, 1);
  EXPECT_EQ(ReadFileBytes(dir.File("s.txt")), kSeason);

  // The text, the schedule file built from it and standard input give the
  // same bytes, on standard output as in a file, with the same stamp.
  ASSERT_EQ(RunTool("build " + in + " '" + dir.File("s.SCH") + "' >/dev/null 2>&1").status, 0);
  const std::string epoch = "SOURCE_DATE_EPOCH=86400";
  const std::string ics = "calendar --year 1884 --format ics --team 84nbosto ";
  const ToolRun text = RunTool(ics + in + " 2>/dev/null", epoch);
  EXPECT_EQ(text.status, 0);
  EXPECT_TRUE(Holds(text, "DTSTAMP:19700102T000000Z\r\n")) << text.output;
  EXPECT_EQ(RunTool(ics + "'" + dir.File("s.SCH") + "' 2>/dev/null", epoch).output, text.output);
  EXPECT_EQ(RunTool(ics + "- <" + in + " 2>/dev/null", epoch).output, text.output);
  EXPECT_EQ(RunTool(ics + "--output " + out + " " + in + " 2>/dev/null", epoch).status, 0);
  EXPECT_EQ(ReadFileBytes(dir.File("out.ics")), text.output);

  const ToolRun page = RunTool("calendar --year 1884 --output - " + in + " 2>/dev/null");
  EXPECT_EQ(page.status, 0);
  EXPECT_EQ(RunTool("calendar --year 1884 --output " + out + " " + in + " 2>/dev/null").status, 0);
  EXPECT_EQ(ReadFileBytes(dir.File("out.ics")), page.output);
}

// A teams file with a bad line is refused by its file and line before the
// season is read, and one named as the output too: nothing is written.
TEST(CalendarTool, ABadTeamsFileIsRefusedByItsLineAndNothingIsWritten) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("s.txt"), kSeason);
  WriteFileBytes(dir.File("bad.csv"), "name,display\n84nbosto,Boston\n84nbosto,Again\n");
  WriteFileBytes(dir.File("good.csv"), "name,display\n84nbosto,Boston\n");
  WriteFileBytes(dir.File("out.html"), "keep");
  const std::string in = " '" + dir.File("s.txt") + "' 2>&1";
  ToolRun bad = RunTool("calendar --teams '" + dir.File("bad.csv") + "' --output '" +
                        dir.File("out.html") + "'" + in);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.output, "schedule-tool: " + dir.File("bad.csv") +
                            ":3: team \"84nbosto\" was already named on line 2\n");
  EXPECT_EQ(ReadFileBytes(dir.File("out.html")), "keep");
  ToolRun onto = RunTool("calendar --teams '" + dir.File("good.csv") + "' --output '" +
                         dir.File("good.csv") + "'" + in);
  EXPECT_EQ(onto.status, 1);
  EXPECT_TRUE(Holds(onto, "it is --teams too, which keeps its bytes")) << onto.output;
  EXPECT_EQ(ReadFileBytes(dir.File("good.csv")), "name,display\n84nbosto,Boston\n");
  EXPECT_EQ(RunTool("calendar --teams - - <" + in).status, 2);
}

}  // namespace
