// export and import --teams-output as a script meets them: a season goes out
// in the public layout and comes back through import as the same schedule
// text, and what cannot go out is refused with its reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/shell_run.h"
#include "testing/temp_dir.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

class ExportTool : public ::testing::Test {
 protected:
  // Runs schedule-tool in the test's folder; standard error with the output.
  testing_support::ShellRun Tool(const std::string& arguments) {
    return testing_support::RunShell("cd '" + dir_.path().string() + "' && { '" +
                                     std::string(ZELTO_SCHEDULE_TOOL) + "' " + arguments + "; } 2>&1");
  }
  std::string File(const std::string& name) { return ReadFileBytes(dir_.File(name)); }
  bool Has(const std::string& name) { return std::filesystem::exists(dir_.File(name)); }

  // Builds SEASON, exports it with TEAMS, imports the export with TEAMS as
  // its MAP, and expects the text dump --format text gives of the build.
  void ExpectRoundTrip(const std::string& season, const std::string& teams, const std::string& year) {
    ASSERT_EQ(Tool("build " + season + " built.SCH").status, 0);
    auto run = Tool("export --teams " + teams + " --year " + year + " --output out.csv built.SCH");
    ASSERT_EQ(run.status, 0) << run.output;
    run = Tool("import --teams " + teams + " --output again.txt out.csv");
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(Tool("dump --format text --output dumped.txt built.SCH").status, 0);
    EXPECT_EQ(File("again.txt"), File("dumped.txt"));
    EXPECT_FALSE(File("dumped.txt").empty());
    // The text itself, and standard output, give the same rows (the text's
    // warnings of games the build leaves out aside).
    EXPECT_EQ(Tool("export --teams " + teams + " --year " + year + " " + season + " 2>/dev/null").output,
              File("out.csv"));
  }

  ScopedTempDir dir_;
};

TEST_F(ExportTool, The1884SeasonGoesOutAndComesBackTheSame) {
  WriteFileBytes(dir_.File("1884SKED.TXT"), ReadFileBytes(ZELTO_SEASON_1884));
  auto run = Tool("import --teams-output teams.csv --output 1884.txt 1884SKED.TXT");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string teams = File("teams.csv");
  EXPECT_EQ(teams.rfind("name,code,league,display\r\n84ualtoo,ALT,UA,Altoona Mountain Citys\r\n", 0), 0u)
      << teams;
  EXPECT_NE(teams.find("\r\n84nbosto,BSN,NL,Boston Braves\r\n"), std::string::npos) << teams;
  ExpectRoundTrip("1884.txt", "teams.csv", "1884");
  // The rows are the public file's, but for the day column and the dates
  // past 15 games that the schedule cannot hold.
  EXPECT_EQ(File("out.csv").substr(0, 60), File("1884SKED.TXT").substr(0, 60));

  // The CSV is a MAP for import: the same names, and the same teams file.
  run = Tool("import --teams teams.csv --teams-output again.csv --output mapped.txt 1884SKED.TXT");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(File("mapped.txt"), File("1884.txt"));
  EXPECT_EQ(File("again.csv"), teams);
}

TEST_F(ExportTool, AGeneratedLeagueGoesOutAndComesBackTheSame) {
  std::string teams = "name,division,display,code,league\n";
  for (int team = 0; team < 8; ++team) {
    teams += "27club" + std::to_string(team) + (team < 4 ? ",east" : ",west") + ",Club \"" +
             std::to_string(team) + "\",C" + std::to_string(team) + (team < 4 ? ",EL\n" : ",WL\n");
  }
  // A quoted display with a comma, as a spreadsheet writes it.
  teams += "27club8,west,\"Club, the 8th\",C8,WL\n";
  WriteFileBytes(dir_.File("league.csv"), teams);
  auto run = Tool("generate league.csv --start 2027-04-01 --meetings 4 --division-meetings 6 "
                  "--output season.txt");
  ASSERT_EQ(run.status, 0) << run.output;
  ExpectRoundTrip("season.txt", "league.csv", "2027");
  EXPECT_NE(File("out.csv").find(",\"C8\",\"WL\","), std::string::npos);
}

TEST_F(ExportTool, ASeasonAcrossNewYearKeepsOneNameAClubAndComesBack) {
  const std::string row_end = ",\"\",\"\"\r\n";
  WriteFileBytes(dir_.File("winter.csv"),
                 "\"19991230\",\"0\",\"Thu\",\"NYA\",\"AL\",1,\"BOS\",\"AL\",1,\"n\"" + row_end +
                     "\"20000101\",\"0\",\"Sat\",\"BOS\",\"AL\",2,\"NYA\",\"AL\",2,\"n\"" + row_end);
  auto run = Tool("import --teams-output teams.csv --output winter.txt winter.csv");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(File("winter.txt"), "[12/30/99]\r\n99anewyo 99abosto\r\n[01/01/00]\r\n99abosto 99anewyo\r\n");
  EXPECT_EQ(File("teams.csv").find("00a"), std::string::npos) << File("teams.csv");
  // The teams file is read back by export and import alike.
  run = Tool("export --teams teams.csv --year 1999 --output out.csv winter.txt");
  ASSERT_EQ(run.status, 0) << run.output;
  run = Tool("import --teams teams.csv --output again.txt winter.csv");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(File("again.txt"), File("winter.txt"));
}

TEST_F(ExportTool, RefusalsNameTheReasonAndWriteNothing) {
  WriteFileBytes(dir_.File("season.txt"),
                 "[04/10/84]\r\n84nbosto 84nprovi\r\n84nnewyo 84nphila\r\n");
  WriteFileBytes(dir_.File("teams.csv"),
                 "name,code,league\n84nbosto,BSN,NL\n84nprovi,PRO,NL\n84nnewyo,NY1,NL\n84nphila,,NL\n");
  WriteFileBytes(dir_.File("bad.csv"), "name,code,league\n84nbosto,BSN,NL\n84nprovi,BSN,NL\n");
  WriteFileBytes(dir_.File("plain.txt"), "84nbosto\n84nprovi\n");
  const struct {
    std::string arguments;
    int status;
    std::string words;
  } refusals[] = {
      {"export --teams teams.csv --output out.csv season.txt", 1,
       "season.txt:3: team \"84nphila\" has no code in TEAMS \"teams.csv\" (line 5)"},
      {"export --teams bad.csv --output out.csv season.txt", 1,
       "bad.csv:3: team \"84nprovi\": code \"BSN\" is team \"84nbosto\"'s already (line 2)"},
      {"export --teams plain.txt --output out.csv season.txt", 1, "plain.txt: no team gives a code"},
      {"export --teams teams.csv --output season.txt season.txt", 1,
       "Cannot write --output \"season.txt\": it is SEASON too, which keeps its bytes"},
      {"export --teams teams.csv --year 84 season.txt", 2, "--year takes a year of four digits"},
      {"export season.txt", 2, "export needs --teams TEAMS"},
      {"import --teams-output season.txt season.txt", 1,
       "Cannot write --teams-output \"season.txt\": it is SEASON too, which keeps its bytes"},
      {"import --output x.txt --teams-output x.txt season.txt", 1,
       "Cannot open file \"x.txt\": Access denied, or the file is in use"},
      {"import --teams-output - season.txt", 2, "the text goes to standard output already"},
  };
  for (const auto& refusal : refusals) {
    auto run = Tool(refusal.arguments);
    EXPECT_EQ(run.status, refusal.status) << refusal.arguments;
    EXPECT_NE(run.output.find(refusal.words), std::string::npos) << refusal.arguments << ": " << run.output;
  }
  EXPECT_FALSE(Has("out.csv"));
  EXPECT_FALSE(Has("x.txt"));
  EXPECT_EQ(File("season.txt"), "[04/10/84]\r\n84nbosto 84nprovi\r\n84nnewyo 84nphila\r\n");
}

}  // namespace
