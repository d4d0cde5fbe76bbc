// schedule-tool calendar on a season whose warnings are too many to hold in
// memory: they wait in a temporary file and come out whole and in order,
// and a season read from standard input, which is read once, gives the
// same page and the same warnings as the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::RunShell;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

// Dates of 15 games each: a game of two teams, then 14 with no home team,
// each of which is left out with a warning.
std::string SeasonOfManyWarnings(int dates) {
  std::string text;
  for (int date = 0; date < dates; ++date) {
    char line[32];
    std::snprintf(line, sizeof line, "[%02d/%02d/99]\n", date / 28 + 1, date % 28 + 1);
    text += line;
    text += date % 2 ? "99nbosto 99nprovi\n" : "99nprovi 99nbosto\n";
    for (int game = 0; game < 14; ++game) text += "99nalone\n";
  }
  return text;
}

TEST(CalendarStream, ManyWarningsComeOutInOrderAndStandardInputGivesTheSamePage) {
  ScopedTempDir dir;
  constexpr int kDates = 300;  // 4200 warnings: far past what is held in memory
  WriteFileBytes(dir.File("s.txt"), SeasonOfManyWarnings(kDates));
  const std::string in = "'" + dir.File("s.txt") + "'";
  const std::string tool = std::string(ZELTO_SCHEDULE_TOOL) + " calendar --year 1999 --team 99nprovi ";
  const auto from_file = RunShell(tool + in + " 2>'" + dir.File("file.err") + "'");
  const auto from_input = RunShell(tool + "- <" + in + " 2>'" + dir.File("input.err") + "'");
  ASSERT_EQ(from_file.status, 0);
  EXPECT_EQ(from_input.status, 0);
  EXPECT_EQ(from_input.output, from_file.output);
  EXPECT_NE(from_file.output.find("300 games: 150 home, 150 away"), std::string::npos);

  const std::string warnings = ReadFileBytes(dir.File("file.err"));
  // The warnings name the season as it was given: "-" for standard input.
  const std::string input_warnings = ReadFileBytes(dir.File("input.err"));
  EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), kDates * 14);
  EXPECT_EQ(std::count(input_warnings.begin(), input_warnings.end(), '\n'), kDates * 14);
  // Each date is 16 lines: its games left out are on lines 3 to 16.
  size_t at = 0;
  for (int line = 1; line <= kDates * 16; ++line) {
    if (line % 16 == 1 || line % 16 == 2) continue;
    const std::string place = ":" + std::to_string(line) + ": a game with no home team name";
    at = warnings.find(place, at);
    ASSERT_NE(at, std::string::npos) << "line " << line;
  }
}

}  // namespace
