// Every input kept in the fuzzers' corpus, the findings among them, replayed
// through the same checks as an ordinary test, so a finding once fixed stays
// fixed in every build, not only in the fuzzing one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/console_fuzz_check.h"
#include "fuzz/report_counts_check.h"
#include "fuzz/schedule_fuzz_check.h"
#include "fuzz/schedule_memory_check.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;

// The files of one corpus folder, in name order.
std::vector<std::filesystem::path> CorpusFiles(const std::string& name) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(ZELTO_FUZZ_CORPUS) + "/" + name)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(FuzzCorpus, EveryScheduleInputBuildsSoundly) {
  ScopedTempDir dir;
  std::vector<std::filesystem::path> files = CorpusFiles("schedule");
  EXPECT_GE(files.size(), 8u);
  for (const auto& file : files) {
    EXPECT_EQ(fuzz::CheckScheduleBuild(ReadFileBytes(file.string()), dir.path().string()), "")
        << file;
    EXPECT_EQ(fuzz::CheckScheduleInMemory(ReadFileBytes(file.string())), "") << file;
    EXPECT_EQ(fuzz::CheckReportCounts(ReadFileBytes(file.string())), "") << file;
  }
}

TEST(FuzzCorpus, EveryConsoleScriptStaysInsideTheScreen) {
  std::vector<std::filesystem::path> files = CorpusFiles("console");
  EXPECT_GE(files.size(), 3u);
  for (const auto& file : files) {
    EXPECT_EQ(fuzz::CheckConsoleSession(ReadFileBytes(file.string())), "") << file;
  }
}

// The checks themselves must catch what they are there for.
TEST(FuzzChecks, CatchBadScheduleFiles) {
  std::string header = "D" + std::string(429, ' ');
  std::string record = "  04/10/45" + std::string(420, ' ');
  std::string input = "[04/10/45]\n";
  EXPECT_EQ(fuzz::CheckScheduleBytes(header + record, 2, input), "");
  EXPECT_NE(fuzz::CheckScheduleBytes(header + record.substr(1), 2, input), "");
  EXPECT_NE(fuzz::CheckScheduleBytes(header + record + record, 3, input + input), "");
  std::string zero_padded = record;
  zero_padded[429] = '\0';
  EXPECT_NE(fuzz::CheckScheduleBytes(header + zero_padded, 2, input), "");
  std::string with_line_end = record;
  with_line_end[12] = '\n';
  EXPECT_NE(fuzz::CheckScheduleBytes(header + with_line_end, 2, input), "");
  EXPECT_NE(fuzz::CheckScheduleBytes(header + record, 2, "[04/11/45]\n"), "");
}

}  // namespace
