// import and check together: whatever import writes, check reads as the
// build will take it.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "testing/temp_dir.h"
#include "tool/check/check_text.h"
#include "tool/import/import_test_rows.h"

namespace tool {
namespace {

using testing_support::ReadFileBytes;

// What check finds in `text`, written as a file.
std::vector<CheckFinding> CheckText(const std::string& text) {
  testing_support::ScopedTempDir dir;
  testing_support::WriteFileBytes(dir.File("imported.txt"), text);
  std::vector<CheckFinding> findings;
  std::string failure;
  EXPECT_TRUE(CheckScheduleFile(dir.File("imported.txt"), &findings, &failure)) << failure;
  return findings;
}

// The 1884 season as imported: check finds its dates of more than 15 games
// (import warned of the same seven) and, besides them, only the three dates
// where teams really played two opponents in one day (Decoration Day's
// morning and afternoon games among them).
TEST(ImportAndCheck, The1884SeasonHasOnlyItsFullDatesAndThreeDatesOfTwoOpponents) {
  const std::string season = ReadFileBytes(ZELTO_SEASON_1884);
  ASSERT_FALSE(season.empty()) << ZELTO_SEASON_1884;
  Imported imported = Import(season, ImportOptions{{}, {}, "1884SKED.TXT"});
  ASSERT_TRUE(imported.report.Succeeded());
  std::vector<CheckFinding> findings = CheckText(imported.text);
  size_t full_dates = 0;
  std::set<std::string> two_opponent_dates;
  for (const auto& finding : findings) {
    if (finding.message.find("a date holds 15") != std::string::npos) {
      ++full_dates;
    } else if (finding.message.find("two opponents on one date") != std::string::npos) {
      two_opponent_dates.insert(finding.message.substr(finding.message.find(" on ") + 4, 8));
    } else {
      ADD_FAILURE() << finding.line << ": " << finding.message;
    }
  }
  EXPECT_EQ(full_dates, imported.report.warnings.size());
  EXPECT_EQ(two_opponent_dates, (std::set<std::string>{"05/30/84", "06/17/84", "09/14/84"}));
}

// Whatever the bytes, a text the importer gives as whole builds as it reads:
// check finds nothing in it but long dates, and the build makes one record
// per date line. Small seasons with random bytes changed, put in or cut.
TEST(ImportAndCheck, MutatedSeasonsGiveTextThatBuildsAsItReadsOrAnError) {
  std::string base = Row("18840417", "ALT", "UA", "CNU", "UA") + Row("18840417", "NY1", "NL", "CHN", "NL", "1") +
                     Row("18840418", "SLA", "AL", "BSU", "UA", "2");
  const std::string alphabet = std::string("\",0129ADLNUXZ[] \t\r\n\x1A\x1B\x7F\xC3\xFF" "\0", 25);  // NUL too
  std::mt19937 random(1884);
  ImportOptions options{{}, {{"ZZZ", "z", 1}}, "in.txt"};
  int whole = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string season = base;
    for (int change = 1 + static_cast<int>(random() % 4); change > 0; --change) {
      size_t at = random() % season.size();
      char byte = alphabet[random() % alphabet.size()];
      switch (random() % 3) {
        case 0: season[at] = byte; break;
        case 1: season.insert(season.begin() + static_cast<long>(at), byte); break;
        default: season.erase(at, 1 + random() % 3); break;
      }
    }
    Imported imported = Import(season, options);
    if (!imported.report.Succeeded()) {
      EXPECT_FALSE(imported.report.errors.empty());
      continue;
    }
    ++whole;
    std::vector<CheckFinding> findings = CheckText(imported.text);
    EXPECT_TRUE(findings.empty()) << findings.front().line << ": " << findings.front().message << "\n"
                                  << imported.text;
    size_t date_lines = 0;
    for (size_t at = 0; (at = imported.text.find("\r\n[", at)) != std::string::npos; ++at) ++date_lines;
    EXPECT_EQ(static_cast<int>(date_lines) + 1, imported.report.dates);
  }
  EXPECT_GT(whole, 150);  // enough of them stay whole to mean something
}

}  // namespace
}  // namespace tool
