// schedule-tool as a script meets it: exit statuses and what it prints.
// Runs the tool through a POSIX shell (popen), so it is built on POSIX only;
// the Windows .exe is run the same way by scripts/test-windows.sh.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
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
  EXPECT_NE(run.output.find("warning: Game line before the first date skipped: \"x        y\""),
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
}

}  // namespace
