// What every command that makes a text does with --output when the disk
// fills: it says so, names the file, exits 1, and the older file keeps its
// bytes with nothing left beside it. And an input too large to be a teams
// file is refused by its size, not read into memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::RunShell;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

std::string Quote(const std::string& path) { return "'" + path + "'"; }

TEST(ToolOutput, AFullDiskLeavesTheOlderOutputAsItWas) {
  ScopedTempDir dir;
  const std::string tool = ZELTO_SCHEDULE_TOOL;
  WriteFileBytes(dir.File("league.txt"), "lions\ntigers\nbears\nwolves\n");
  const std::string generate =
      tool + " generate " + Quote(dir.File("league.txt")) + " --start 2027-04-01";
  ASSERT_EQ(RunShell(generate + " --output " + Quote(dir.File("season.txt")) + " 2>/dev/null").status, 0);

  const std::string season = Quote(dir.File("season.txt"));
  for (const std::string& command :
       {generate + " --output", tool + " report " + season + " --output",
        tool + " calendar " + season + " --output",
        tool + " calendar --format ics " + season + " --output"}) {
    WriteFileBytes(dir.File("out.txt"), "older bytes");
    // A limit of no blocks at all: the first write of the new file fails.
    testing_support::ShellRun run =
        RunShell("(ulimit -f 0; " + command + " " + Quote(dir.File("out.txt")) + ") 2>&1");
    EXPECT_EQ(run.status, 1) << command << "\n" << run.output;
    EXPECT_NE(run.output.find("Cannot write file \"" + dir.File("out.txt") + "\": Disk full"),
              std::string::npos)
        << command << "\n" << run.output;
    EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), "older bytes") << command;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      (void)entry;
      ++files;
    }
    EXPECT_EQ(files, 3) << command << ": league, season and the older output alone";
  }
}

TEST(ToolOutput, ATeamsFileOverItsLimitIsRefusedByItsSize) {
  ScopedTempDir dir;
  WriteFileBytes(dir.File("big.txt"), std::string(1024 * 1024 + 1, 'a'));
  testing_support::ShellRun run =
      RunShell(std::string(ZELTO_SCHEDULE_TOOL) + " generate " + Quote(dir.File("big.txt")) +
               " --start 2027-04-01 2>&1 >/dev/null");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Cannot read teams file \"" + dir.File("big.txt") +
                            "\": it is larger than 1024 KiB"),
            std::string::npos)
      << run.output;
}

}  // namespace
