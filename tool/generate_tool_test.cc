// schedule-tool generate as a script meets it: through a POSIX shell, its
// text fed to build and check, its refusals writing nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

struct ToolRun {
  int status;
  std::string output;  // what the command line sends to standard output
};

// Runs schedule-tool with `arguments` through the shell, which may redirect.
ToolRun RunTool(const std::string& arguments) {
  std::string command = std::string(ZELTO_SCHEDULE_TOOL) + " " + arguments;
  ToolRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[512];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

TEST(GenerateTool, TheTextBuildsChecksCleanAndTheSummaryComesOnStandardError) {
  ScopedTempDir dir;
  const std::string teams = Quote(dir.File("teams.txt"));
  WriteFileBytes(dir.File("teams.txt"), "# four\nant\nbee\ncat\ndog\n");
  ToolRun summary = RunTool("generate " + teams +
                            " --start 2027-04-05 --meetings 1 --series 1 2>&1 >/dev/null");
  EXPECT_EQ(summary.status, 0);
  EXPECT_EQ(summary.output,
            "4 teams, 3 games a team, 6 games in all\n"
            "home games a team: 1 to 2; away games a team: 1 to 2\n"
            "3 dates from 04/05/27 to 04/07/27\n"
            "breaks (two series in a row both at home or both away): 0 to 1 a team, 2 in all\n"
            "longest home stand: 2 series, 2 games; longest road trip: 2 series, 2 games\n");

  const std::string options =
      " --start 2027-04-05 --meetings 6 --off-day Mon --off-day=thu --no-games 2027-04-10..2027-04-11 ";
  ToolRun piped = RunTool("generate " + teams + options + "2>/dev/null | " +
                          std::string(ZELTO_SCHEDULE_TOOL) + " build - " +
                          Quote(dir.File("s.SCH")));
  EXPECT_EQ(piped.status, 0) << piped.output;
  ASSERT_EQ(RunTool("generate" + options + "--output " + Quote(dir.File("s.txt")) + " " + teams +
                    " 2>/dev/null")
                .status,
            0);
  ToolRun check = RunTool("check " + Quote(dir.File("s.txt")) + " 2>&1");
  EXPECT_EQ(check.status, 0);
  EXPECT_EQ(check.output, "");
  // 18 games a team, 2 a date: 18 dates, and the header.
  EXPECT_EQ(ReadFileBytes(dir.File("s.SCH")).size(), 19u * 430u);
  EXPECT_EQ(RunTool("generate " + teams + options + "2>/dev/null").output,
            ReadFileBytes(dir.File("s.txt")));
}

TEST(GenerateTool, RefusalsSayWhyAndWriteNothing) {
  ScopedTempDir dir;
  const std::string teams = Quote(dir.File("teams.txt"));
  const std::string out = dir.File("out.txt");
  WriteFileBytes(dir.File("teams.txt"), "ant East\nbee East\ncat West\ndog West\n");
  WriteFileBytes(out, "older");
  auto refused = [&](const std::string& arguments, int status, const std::string& words) {
    ToolRun run = RunTool("generate " + arguments + " --output " + Quote(out) + " 2>&1");
    EXPECT_EQ(run.status, status) << arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(words), std::string::npos) << arguments << "\n" << run.output;
    EXPECT_EQ(ReadFileBytes(out), "older") << arguments;
  };
  refused(teams + " --start 2027-02-30", 1, "--start: \"2027-02-30\" is no real day");
  refused(teams + " --start 2027-04-05 --most-in-a-row 1", 1, "at most 1 series in a row");
  refused(teams + " --start 2027-04-05 --off-day Mon --off-day Tue --off-day Wed --off-day Thu "
                  "--off-day Fri --off-day Sat --off-day Sun",
          1, "no day is left for games");
  refused(teams + " --start 2027-04-05 --no-games 2027-05-02..2027-05-01", 1, "ends before");
  refused(teams, 2, "needs --start");
  refused(teams + " --start 2027-04-05 --seed 1 --seed 2", 2, "--seed is given 2 times");
  refused(teams + " --start 2027-04-05 --meetings two", 2, "--meetings: \"two\" is no whole number");
  refused(teams + " --start 2027-04-05 --off-day Funday", 2, "no weekday");
  WriteFileBytes(dir.File("bad.txt"), "ant East\nant West\n");
  refused(Quote(dir.File("bad.txt")) + " --start 2027-04-05", 1,
          dir.File("bad.txt") + ":2: team \"ant\" was already named on line 1");
  // The TEAMS file itself is no output: it is in use.
  ToolRun onto_teams = RunTool("generate " + teams + " --start 2027-04-05 --output " + teams +
                               " 2>&1");
  EXPECT_EQ(onto_teams.status, 1) << onto_teams.output;
  EXPECT_EQ(ReadFileBytes(dir.File("teams.txt")), "ant East\nbee East\ncat West\ndog West\n");
  ToolRun help = RunTool("generate --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: schedule-tool generate TEAMS", 0), 0u);
}

}  // namespace
