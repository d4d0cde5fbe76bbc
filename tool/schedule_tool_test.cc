// schedule-tool as a script meets it: exit statuses and what it prints.
// Runs the tool through a POSIX shell (popen), so it is built on POSIX only;
// the Windows .exe is run the same way by scripts/test-windows.sh.
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
  std::string output;  // standard output and standard error together
};

ToolRun RunTool(const std::string& arguments) {
  std::string command = std::string(ZELTO_SCHEDULE_TOOL) + " " + arguments + " 2>&1";
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

TEST(ScheduleTool, BuildsAndReportsInPlainWords) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("in.txt"), "x        y\n[04/10/45]\na        b\n");
  ToolRun run = RunTool("build '" + dir.File("in.txt") + "' '" + dir.File("out.SCH") + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("warning: line 1: game line before the first date skipped: \"x        y\""),
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
