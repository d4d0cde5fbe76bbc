// schedule-tool calendar on a season of more games than it holds at once:
// the teams are written a batch at a time from games kept in a temporary
// file, and the page must be the one a single batch gives, each team's part
// the page of that team alone, and the iCalendar file each game once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "testing/temp_dir.h"
#include "tool/calendar/calendar_command.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::WriteFileBytes;

const std::vector<std::string> kTeams = {"99nfalco", "99nbosto", "99nclevl", "99nalban", "99ndetro", "99nerie_"};

// Dates of three games each in a turning order, a doubleheader every fifth
// date, and the season's first day again at its end: a day out of order,
// whose games are numbered once the season is read whole.
std::string Season() {
  std::string text;
  auto date = [&text](int day) {
    char line[32];
    std::snprintf(line, sizeof line, "[%02d/%02d/99]\n", day / 28 + 4, day % 28 + 1);
    text += line;
  };
  for (int day = 0; day < 60; ++day) {
    date(day);
    for (size_t game = 0; game < 3; ++game) {
      const std::string& a = kTeams[(game * 2 + static_cast<size_t>(day)) % kTeams.size()];
      const std::string& b = kTeams[(game * 2 + 1 + static_cast<size_t>(day) * 5) % kTeams.size()];
      if (a == b) continue;
      text += a + " " + b + "\n";
      if (day % 5 == 0) text += b + " " + a + "\n";
    }
  }
  date(0);
  text += kTeams[0] + " " + kTeams[1] + "\n";
  return text;
}

// Runs calendar on `season` into `out` and hands back what it wrote.
std::string Calendar(const std::string& season, const std::string& out, const std::string& format,
                     size_t batch_games, std::vector<std::string> teams = {}) {
  tool::CalendarArguments arguments;
  arguments.teams = std::move(teams);
  arguments.year = "1999";
  arguments.format = format;
  arguments.output = out;
  arguments.batch_games = batch_games;
  EXPECT_EQ(tool::RunCalendar(season, arguments), 0);
  return ReadFileBytes(out);
}

// The same, the season given on standard input through a pipe: read once,
// so its games must go to the temporary file as they come.
std::string CalendarFromPipe(const std::string& text, const std::string& out,
                             const std::string& format, size_t batch_games) {
  int ends[2];
  EXPECT_EQ(pipe(ends), 0);
  // The season is far smaller than a pipe holds: written whole before it is read.
  EXPECT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(ends[1]);
  const int saved = dup(0);
  dup2(ends[0], 0);
  close(ends[0]);
  std::string written = Calendar("-", out, format, batch_games);
  dup2(saved, 0);
  close(saved);
  return written;
}

std::string SectionOf(const std::string& page, const std::string& team) {
  const size_t start = page.find("<section class=\"team\" data-team=\"" + team + "\">");
  const size_t end = page.find("</section>\n", start);
  if (start == std::string::npos || end == std::string::npos) return "";
  return page.substr(start, end - start);
}

std::vector<std::string> Events(const std::string& ics) {
  std::vector<std::string> events;
  for (size_t at = ics.find("BEGIN:VEVENT"); at != std::string::npos;) {
    const size_t next = ics.find("BEGIN:VEVENT", at + 1);
    events.push_back(ics.substr(at, next == std::string::npos ? ics.find("END:VCALENDAR") - at
                                                              : next - at));
    at = next;
  }
  return events;
}

class CalendarBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SOURCE_DATE_EPOCH", "946684800", 1);
    WriteFileBytes(season_, Season());
  }
  void TearDown() override { unsetenv("SOURCE_DATE_EPOCH"); }

  ScopedTempDir dir_;
  std::string season_ = dir_.File("season.txt");
};

TEST_F(CalendarBatch, APageWrittenInBatchesIsThePageOfOneAndEachTeamsPartItsOwnPage) {
  const std::string whole = Calendar(season_, dir_.File("whole.html"), "html", tool::kCalendarBatchGames);
  // Each team plays some 40 games: a batch of 50 holds one team, or two.
  const std::string batched = Calendar(season_, dir_.File("batched.html"), "html", 50);
  ASSERT_NE(whole.find("Schedules of 6 teams"), std::string::npos);
  EXPECT_EQ(batched, whole);
  for (const std::string& team : kTeams) {
    const std::string alone = Calendar(season_, dir_.File(team + ".html"), "html", 50, {team});
    const std::string section = SectionOf(batched, team);
    EXPECT_FALSE(section.empty()) << team;
    EXPECT_EQ(section, SectionOf(alone, team)) << team;
  }
  // A game of two teams asked, in batches of one team each.
  const std::string two = Calendar(season_, dir_.File("two.html"), "html", 1, {kTeams[2], kTeams[0]});
  EXPECT_EQ(two, Calendar(season_, dir_.File("two-whole.html"), "html", tool::kCalendarBatchGames,
                          {kTeams[2], kTeams[0]}));
}

TEST_F(CalendarBatch, AnIcsWrittenInBatchesHoldsEachGameOnce) {
  const std::string whole = Calendar(season_, dir_.File("whole.ics"), "ics", tool::kCalendarBatchGames);
  const std::string batched = Calendar(season_, dir_.File("batched.ics"), "ics", 50);
  std::vector<std::string> whole_events = Events(whole), batched_events = Events(batched);
  ASSERT_GT(whole_events.size(), 150u);
  // Written a batch at a time, the events come in the batches' order.
  EXPECT_NE(batched_events, whole_events);
  std::sort(whole_events.begin(), whole_events.end());
  std::sort(batched_events.begin(), batched_events.end());
  EXPECT_EQ(batched_events, whole_events);
  EXPECT_EQ(std::set<std::string>(batched_events.begin(), batched_events.end()).size(),
            batched_events.size());
  EXPECT_NE(batched.find("-1@schedule-tool.zelto"), std::string::npos);
  EXPECT_NE(batched.find("(game 2)"), std::string::npos);
  EXPECT_EQ(batched.substr(batched.size() - 15), "END:VCALENDAR\r\n");

  // Two teams asked, one a batch: a game between them is one event.
  const std::vector<std::string> asked = {kTeams[1], kTeams[0]};
  std::vector<std::string> pair = Events(Calendar(season_, dir_.File("pair.ics"), "ics", 1, asked));
  std::vector<std::string> pair_whole =
      Events(Calendar(season_, dir_.File("pair-whole.ics"), "ics", tool::kCalendarBatchGames, asked));
  std::sort(pair.begin(), pair.end());
  std::sort(pair_whole.begin(), pair_whole.end());
  EXPECT_EQ(pair, pair_whole);
}

TEST_F(CalendarBatch, StandardInputThroughAPipeGivesTheBytesOfTheFile) {
  const std::string text = ReadFileBytes(season_);
  EXPECT_EQ(CalendarFromPipe(text, dir_.File("pipe.html"), "html", 50),
            Calendar(season_, dir_.File("file.html"), "html", 50));
  EXPECT_EQ(CalendarFromPipe(text, dir_.File("pipe.ics"), "ics", 50),
            Calendar(season_, dir_.File("file.ics"), "ics", 50));
}

}  // namespace
