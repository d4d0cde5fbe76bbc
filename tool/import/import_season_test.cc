#include "tool/import/import_season.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "testing/expected_records.h"
#include "schedule/schedule_builder.h"
#include "tool/import/import_test_rows.h"
#include "testing/temp_dir.h"

namespace tool {
namespace {

using testing_support::ReadFileBytes;

// The test's own reading of a CSV line: split at commas, quotes dropped
// (neither file quotes a comma).
std::vector<std::string> CsvFields(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) {
    if (field.size() >= 2 && field.front() == '"') field = field.substr(1, field.size() - 2);
    fields.push_back(field);
  }
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

std::vector<std::vector<std::string>> CsvRows(const std::string& bytes) {
  std::vector<std::vector<std::string>> rows;
  std::stringstream in(bytes);
  for (std::string line; std::getline(in, line);) rows.push_back(CsvFields(line));
  return rows;
}

// The default name, made here from the list's city: year, league letter,
// the city's first five letters.
std::string DefaultName(const std::string& date, const std::string& league, const std::string& city) {
  std::string name = date.substr(2, 2) + static_cast<char>(std::tolower(league[0]));
  for (char c : city) {
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'z' && name.size() < 8) name += lower;
  }
  return name;
}

class Season1884Test : public ::testing::Test {
 protected:
  void SetUp() override {
    season_ = ReadFileBytes(ZELTO_SEASON_1884);
    if (season_.empty()) GTEST_SKIP() << "no season file at " << ZELTO_SEASON_1884 << ": skipped";
    for (const auto& team : CsvRows(ReadFileBytes(ZELTO_TEAM_LIST))) cities_[team[0]] = team[2];
    rows_ = CsvRows(season_);
  }

  std::string season_;
  std::map<std::string, std::string> cities_;
  std::vector<std::vector<std::string>> rows_;
};

// The whole season imported, built with the schedule builder and compared
// record by record with records made here from the rows.
TEST_F(Season1884Test, BuildsIntoTheGamesOfEveryDateUnderDefaultNames) {
  ASSERT_EQ(rows_.size(), 1556u);
  std::vector<std::pair<std::string, std::vector<std::string>>> dates;
  std::vector<int> sixteenth_lines;  // where each long date's left-out games start
  for (size_t i = 0; i < rows_.size(); ++i) {
    const auto& row = rows_[i];
    ASSERT_EQ(row.size(), 12u);
    std::string date = row[0].substr(4, 2) + "/" + row[0].substr(6, 2) + "/" + row[0].substr(2, 2);
    if (dates.empty() || dates.back().first != date) dates.push_back({date, {}});
    auto& games = dates.back().second;
    games.push_back(schedule::Game(DefaultName(row[0], row[4], cities_.at(row[3])),
                                   DefaultName(row[0], row[7], cities_.at(row[6]))));
    if (games.size() == 16) sixteenth_lines.push_back(static_cast<int>(i) + 1);
  }

  Imported imported = Import(season_, ImportOptions{{}, {}, "1884SKED.TXT"});
  ASSERT_TRUE(imported.report.Succeeded()) << imported.report.errors.front();
  EXPECT_EQ(imported.report.rows, 1556);
  EXPECT_EQ(imported.report.games, 1556);
  EXPECT_EQ(imported.report.dates, static_cast<int>(dates.size()));
  EXPECT_EQ(imported.report.teams, 28);

  testing_support::ScopedTempDir dir;
  testing_support::WriteFileBytes(dir.File("1884.txt"), imported.text);
  schedule::BuildOutcome built = schedule::BuildSchedule(dir.File("1884.txt"), dir.File("1884.SCH"));
  ASSERT_TRUE(built.Succeeded());
  std::string records = ReadFileBytes(dir.File("1884.SCH"));
  ASSERT_EQ(records.size(), (dates.size() + 1) * schedule::kRecordLength);
  EXPECT_EQ(records.substr(0, schedule::kRecordLength), schedule::kHeader);
  for (size_t i = 0; i < dates.size(); ++i) {
    std::vector<std::string> kept = dates[i].second;
    if (kept.size() > 15) kept.resize(15);
    EXPECT_EQ(records.substr((i + 1) * schedule::kRecordLength, schedule::kRecordLength),
              schedule::DateRecord(dates[i].first, kept))
        << "record " << i + 2 << ", date " << dates[i].first;
  }

  // A warning per date of more than 15 games, where its 16th game stands.
  ASSERT_EQ(imported.report.warnings.size(), sixteenth_lines.size());
  EXPECT_EQ(imported.report.warnings[0],
            "1884SKED.TXT:" + std::to_string(sixteenth_lines[0]) +
                ": date \"05/30/84\" has 28 games: the text keeps them all, but a date holds 15 and the build "
                "leaves out this one and the 12 after it");
}

// Any pieces, LF line ends and a closing Ctrl+Z give the same text.
TEST_F(Season1884Test, PiecesLineEndsAndCtrlZChangeNothing) {
  std::string whole = Import(season_).text;
  ImportOptions options{{}, {}, "in.txt"};
  std::string pieced;
  SeasonImporter importer(options, [&](std::string_view piece) { pieced += piece; });
  for (size_t at = 0; at < season_.size(); at += 97) importer.TakeBytes(std::string_view(season_).substr(at, 97));
  importer.Finish();
  EXPECT_TRUE(importer.report().Succeeded());
  EXPECT_EQ(pieced, whole);

  std::string lf;
  for (char c : season_) {
    if (c != '\r') lf += c;
  }
  EXPECT_EQ(Import(lf + "\x1A").text, whole);
}

// --league keeps the games between teams of those leagues in that row;
// --teams names replace the made ones.
TEST_F(Season1884Test, LeaguesAndMapNames) {
  size_t national = 0;
  for (const auto& row : rows_) national += row[4] == "NL" && row[7] == "NL";
  ImportOptions options{{"nl"}, {{"NY1", "giants", 1}}, "in.txt"};
  Imported imported = Import(season_, options);
  ASSERT_TRUE(imported.report.Succeeded());
  EXPECT_EQ(imported.report.games, static_cast<int>(national));
  EXPECT_EQ(imported.report.teams, 8);
  std::stringstream lines(imported.text);
  size_t games = 0, giants = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line[0] == '[') continue;
    ++games;
    std::string visitor = line.substr(0, 8), home = line.substr(9, 8);
    giants += visitor == "giants  " || home == "giants\r";
    for (const std::string& name : {visitor, home}) {
      EXPECT_TRUE(name.starts_with("giants") || name.starts_with("84n")) << line;
    }
  }
  EXPECT_EQ(games, national);
  EXPECT_GT(giants, 100u);
  EXPECT_EQ(imported.text.find("84nnewyo"), std::string::npos);
}

TEST(ImportSeasonTest, WritesDateLinesAndPaddedGameLines) {
  std::string season = Row("18840417", "ALT", "UA", "CNU", "UA") + "\r\n" +
                       Row("18840417", "BSU", "UA", "PHU", "UA", "1") + Row("18840418", "BSU", "UA", "PHU", "UA", "2");
  ImportOptions options{{}, {{"BSU", "bos", 0}}, "in.txt"};
  Imported imported = Import(season, options);
  ASSERT_TRUE(imported.report.Succeeded());
  EXPECT_EQ(imported.text,
            "[04/17/84]\r\n84ualtoo 84ucinci\r\nbos      84uphila\r\n[04/18/84]\r\nbos      84uphila\r\n");
  EXPECT_TRUE(imported.report.warnings.empty());
  // The league letter is the row's: a team that moves leagues changes names;
  // the year is the season's first, so a season across New Year keeps them.
  imported = Import(Row("19451230", "NY1", "NL", "SLA", "AL") + Row("19460101", "NY1", "NL", "SLA", "AL") +
                    Row("20000229", "NY1", "xL", "SLA", "AL"));
  ASSERT_TRUE(imported.report.Succeeded());
  EXPECT_EQ(imported.text, "[12/30/45]\r\n45nnewyo 45astlou\r\n[01/01/46]\r\n45nnewyo 45astlou\r\n"
                           "[02/29/00]\r\n45xnewyo 45astlou\r\n");
}

TEST(ImportSeasonTest, EachErrorIsToldWithItsLineAndStopsTheText) {
  struct Case {
    std::string season;
    std::string error;
  };
  const Case cases[] = {
      {"\"18840417\",\"0\",\"Thu\",\"ALT\"\r\n",
       "in.txt:1: a row has 12 fields, this one 4: \"\\\"18840417\\\",\\\"0\\\",\\\"Thu\\\",\\\"ALT\\\"\"; no season file "
       "starts so, and the rest was not read"},
      {Row("18840417", "ALT", "UA", "CNU", "UA") + Row("18840230", "ALT", "UA", "CNU", "UA"),
       "in.txt:2: date 18840230 is not a real day"},
      {Row("19000229", "ALT", "UA", "CNU", "UA"), "in.txt:1: date 19000229 is not a real day"},
      {Row("1884041", "ALT", "UA", "CNU", "UA"), "in.txt:1: date \"1884041\" is not written YYYYMMDD"},
      {Row("18840417", "ALT", "UA", "CNU", "UA") + "\r\n" + Row("18840416", "ALT", "UA", "CNU", "UA"),
       "in.txt:3: date 18840416 is earlier than 18840417 on line 1: the rows must be in date order"},
      {Row("18840417", "ALT", "UA", "XYZ", "UA"),
       "in.txt:1: unknown team code \"XYZ\": name it with --teams (a line XYZ,NAME in the MAP file)"},
      {Row("18840417", "\x1B[1m", "UA", "CNU", "UA"),
       "in.txt:1: unknown team code \"\\x1B[1m\": name it with --teams (a line CODE,NAME in the MAP file)"},
      {Row("18840417", "ALT", "UA", "CNU", "UA", "3"),
       "in.txt:1: game number \"3\" is not 0 (a single game), 1 or 2 (a doubleheader's first or second)"},
      {Row("18840417", "ALT", "", "CNU", "UA"),
       "in.txt:1: team \"ALT\" has no league code in this row: name it with --teams"},
      {Row("18840417", "CHN", "NL", "PHI", "NL") + Row("18840418", "CHU", "NL", "PHI", "NL"),
       "in.txt:2: teams \"CHN\" and \"CHU\" both get the name \"84nchica\": give one of them another name with "
       "--teams"},
      {"\"18840417\",\"0\",\"Thu\",\"ALT\"x,\"UA\",1,\"CNU\",\"UA\",1,\"d\",\"\",\"\"\n",
       "in.txt:1: field 4: text after its closing double quote: \"x\"; no season file starts so, and the rest was "
       "not read"},
      {std::string(5000, 'x') + "\n" + Row("18840417", "XYZ", "UA", "CNU", "UA"),
       "in.txt:1: a row of more than 4096 bytes; a row holds at most 4096, and the rest of the file was not read"},
      {"\r\n" + Row("18840417", "ALT", "UA", "CNU", "UA") + std::string(4097, 'x') + "\n",
       "in.txt:3: a row of more than 4096 bytes; a row holds at most 4096, and the rest of the file was not read"},
      {"", "in.txt: no rows: there is no game to import"},
      {"\r\n\x1A", "in.txt: no rows: there is no game to import"},
  };
  for (const Case& test : cases) {
    Imported imported = Import(test.season);
    EXPECT_FALSE(imported.report.Succeeded()) << test.error;
    EXPECT_EQ(imported.report.errors, std::vector<std::string>{test.error});
  }
  // Once an error is found no more text is written, yet every error is told.
  Imported imported = Import(Row("18840417", "ALT", "UA", "CNU", "UA") + Row("18840417", "ALT", "UA", "XYZ", "UA") +
                             Row("18840418", "ALT", "UA", "CNU", "UA") + Row("18840419", "ALT", "UA", "CNU", "UA", "x"));
  EXPECT_EQ(imported.text, "[04/17/84]\r\n84ualtoo 84ucinci\r\n");
  EXPECT_EQ(imported.report.error_count, 2);
  EXPECT_TRUE(imported.report.errors[1].starts_with("in.txt:4: game number \"x\"")) << imported.report.errors[1];
  // Past 50 errors the rest are counted.
  std::string bad = Row("18840417", "ALT", "UA", "CNU", "UA");
  for (int i = 0; i < 60; ++i) bad += "x\n";
  imported = Import(bad);
  EXPECT_EQ(imported.report.error_count, 60);
  ASSERT_EQ(imported.report.errors.size(), 51u);
  EXPECT_EQ(imported.report.errors.back(), "in.txt: 10 more errors are not shown");
  // A first row that is no season row ends the reading there.
  imported = Import(bad.substr(bad.find('\n') + 1));
  EXPECT_EQ(imported.report.error_count, 1);
}

TEST(ImportSeasonTest, MapNamesAreCheckedLikeMadeOnes) {
  std::string season = Row("18840417", "NY1", "NL", "CHN", "NL") + Row("18840418", "CHU", "UA", "ALT", "UA");
  Imported imported = Import(season, ImportOptions{{}, {{"NY1", "x", 1}, {"CHN", "x", 2}}, "in.txt"});
  EXPECT_EQ(imported.report.errors,
            std::vector<std::string>{"in.txt:1: teams \"NY1\" and \"CHN\" both get the name \"x\": give one of them "
                                     "another name with --teams"});
  imported = Import(season, ImportOptions{{}, {{"NY1", "84uchica", 1}}, "in.txt"});
  EXPECT_EQ(imported.report.errors,
            std::vector<std::string>{"in.txt:2: teams \"NY1\" and \"CHU\" both get the name \"84uchica\": give one "
                                     "of them another name with --teams"});
  imported = Import(season, ImportOptions{{}, {{"NY1", "a b", 1}}, "in.txt"});
  EXPECT_EQ(imported.report.errors,
            std::vector<std::string>{"in.txt:1: team \"NY1\": name \"a b\" holds a blank, which a game line cannot "
                                     "carry"});
  // A code the list does not know is fine once the MAP names it.
  imported = Import(Row("18840417", "ZZZ", "NL", "CHN", "NL"), ImportOptions{{}, {{"ZZZ", "zed", 1}}, "in.txt"});
  EXPECT_EQ(imported.text, "[04/17/84]\r\nzed      84nchica\r\n");
}

TEST(ImportSeasonTest, WarnsOfLongDatesAndOfLeaguesInNoRow) {
  std::string season;
  for (int game = 0; game < 17; ++game) season += Row("18840530", "ALT", "UA", "CNU", "UA");
  season += Row("18840531", "NY1", "NL", "CHN", "NL");
  for (int game = 0; game < 16; ++game) season += Row("18840601", "ALT", "UA", "CNU", "UA");
  Imported imported = Import(season);
  ASSERT_TRUE(imported.report.Succeeded());
  EXPECT_EQ(imported.report.warnings,
            (std::vector<std::string>{
                "in.txt:16: date \"05/30/84\" has 17 games: the text keeps them all, but a date holds 15 and "
                "the build leaves out this one and the 1 after it",
                "in.txt:34: date \"06/01/84\" has 16 games: the text keeps them all, but a date holds 15 and "
                "the build leaves out this one"}));

  imported = Import(season, ImportOptions{{"NL", "XX"}, {}, "in.txt"});
  ASSERT_TRUE(imported.report.Succeeded());
  EXPECT_EQ(imported.text, "[05/31/84]\r\n84nnewyo 84nchica\r\n");
  EXPECT_EQ(imported.report.warnings, std::vector<std::string>{"in.txt: league \"XX\" is in no row"});
  // A file with no game of those leagues is refused: the text would be empty.
  imported = Import(season, ImportOptions{{"AA"}, {}, "in.txt"});
  EXPECT_EQ(imported.report.errors,
            std::vector<std::string>{"in.txt: none of its 34 games is between teams of the leagues asked for"});
}

}  // namespace
}  // namespace tool
