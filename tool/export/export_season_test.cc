#include "tool/export/export_season.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tool {
namespace {

// A season told game by game, as a schedule file tells it.
struct Told {
  std::string date;
  std::vector<std::vector<std::string>> games;  // visitor, home[, options[, slot]]
};

struct Exported {
  std::string rows;
  ExportReport report;
};

Exported Export(const std::vector<Told>& dates, const std::string& teams_csv, int first_year = 1884) {
  TeamsFile teams;
  std::vector<std::string> errors;
  EXPECT_TRUE(ReadTeamsFile(teams_csv, "t.csv", &teams, &errors)) << errors.front();
  Exported exported;
  SeasonExporter exporter("s.SCH", teams, "t.csv",
                          SeasonDays(std::chrono::year{first_year}, std::chrono::year{2026}),
                          [&](std::string_view row) { exported.rows += row; });
  int64_t record = 1;
  for (const Told& date : dates) {
    exporter.DateBegun(date.date, ++record);
    int slot = 0;
    for (const std::vector<std::string>& game : date.games) {
      SeasonGame told;
      told.date = date.date;
      told.visitor = game[0];
      told.home = game[1];
      told.options = game.size() > 2 ? std::string_view(game[2]) : std::string_view();
      told.record = record;
      told.slot = game.size() > 3 ? std::stoi(game[3]) : ++slot;
      slot = told.slot;
      exporter.GameRead(told);
    }
    exporter.DateEnded();
  }
  exporter.Finish();
  exported.report = exporter.report();
  return exported;
}

const std::string kTeams =
    "name,code,league\n84nbosto,BSN,NL\n84nprovi,PRO,NL\n84nnewyo,NY1,NL\n84nphila,PHI,NL\n";

TEST(SeasonExporter, RowsNumberDoubleheadersAndEachTeamsGames) {
  Exported out = Export({{"05/30/84", {{"84nbosto", "84nprovi"}, {"84nnewyo", "84nphila"},
                                       {"84nprovi", "84nbosto"}}},
                         {"05/31/84", {{"84nphila", "84nbosto"}}}},
                        kTeams);
  EXPECT_TRUE(out.report.Succeeded());
  EXPECT_TRUE(out.report.warnings.empty());
  EXPECT_EQ(out.rows,
            "\"18840530\",\"1\",\"Fri\",\"BSN\",\"NL\",1,\"PRO\",\"NL\",1,\"d\",\"\",\"\"\r\n"
            "\"18840530\",\"0\",\"Fri\",\"NY1\",\"NL\",1,\"PHI\",\"NL\",1,\"d\",\"\",\"\"\r\n"
            "\"18840530\",\"2\",\"Fri\",\"PRO\",\"NL\",2,\"BSN\",\"NL\",2,\"d\",\"\",\"\"\r\n"
            "\"18840531\",\"0\",\"Sat\",\"PHI\",\"NL\",2,\"BSN\",\"NL\",3,\"d\",\"\",\"\"\r\n");
}

TEST(SeasonExporter, RefusesWhatWouldImportDifferentlyAndWarnsOfWhatHasNoRow) {
  Exported out = Export(
      {{"05/30/84", {{"84nbosto", "84nprovi", "DH"}, {"84nnewyo", "84nphila", "", "4"}}},
       {"05/30/84", {{"84nbosto", "84nprovi"}, {"84nbosto", "84nprovi"}, {"84nprovi", "84nbosto"}}},
       {"05/29/84", {{"84nbosto", "84xunknw"}, {"84nbosto", ""}}},
       {"5/31/84 ", {{"84nbosto", "84nnocod"}}},
       {"06/01/84", {}}},
      kTeams + "84nnocod,,NL\n");
  EXPECT_FALSE(out.report.Succeeded());
  EXPECT_TRUE(out.rows.size() < 200) << "no row after the first error";
  const std::vector<std::string> errors = {
      "s.SCH: record 3 slot 1: date \"05/30/84\" comes again after the date's games at s.SCH: "
      "record 2 slot 1: importing the export would make the two dates one",
      "s.SCH: record 4 slot 1: team \"84xunknw\" is not in TEAMS \"t.csv\": give it a row there "
      "with its code and league",
      "s.SCH: record 4 slot 2: a game with only one team name: a season file's row names two teams",
      "s.SCH: record 4 slot 1: date \"05/29/84\" is earlier than \"05/30/84\" at s.SCH: record 2 "
      "slot 1: a season file's rows go in date order, and import refuses them out of it",
      "s.SCH: record 5 slot 1: team \"84nnocod\" has no code in TEAMS \"t.csv\" (line 6): give it "
      "its code and league there",
      "s.SCH: record 5 slot 1: date \"5/31/84\" is not written MM/DD/YY: a season file's row needs "
      "a real day"};
  EXPECT_EQ(out.report.errors, errors);
  const std::vector<std::string> warnings = {
      "s.SCH: record 2 slot 1: game \"84nbosto\" at \"84nprovi\" on \"05/30/84\" has options \"DH\": "
      "a season file has no place for them, and importing the export leaves them out",
      "s.SCH: record 2 slot 4: 2 slots before this game on \"05/30/84\" hold no game (a blank "
      "line, or options with no teams): a season file has no row for it, and importing the export "
      "gives no blank slot back",
      "s.SCH: date \"06/01/84\" holds no game: a season file has no row for it, and importing the "
      "export leaves it out"};
  EXPECT_EQ(out.report.warnings, warnings);

  Exported third = Export({{"05/30/84", {{"84nbosto", "84nprovi"}, {"84nbosto", "84nprovi"},
                                         {"84nprovi", "84nbosto"}}}},
                          kTeams);
  ASSERT_EQ(third.report.errors.size(), 1u);
  EXPECT_EQ(third.report.errors[0],
            "s.SCH: record 2 slot 3: game \"84nprovi\" at \"84nbosto\" is the third game of the "
            "two teams on \"05/30/84\": a season file numbers a pair's games on one date 1 and 2, "
            "no more");
  EXPECT_EQ(Export({{"05/30/84", {}}}, kTeams).report.errors,
            std::vector<std::string>{"s.SCH: no game: nothing to export"});
}

}  // namespace
}  // namespace tool
