// The games of a season as a calendar shows them: each on its real day,
// between two named teams, numbered among the games those two teams play
// on that day (2 for the second game of a doubleheader).
#ifndef ZELTO_TOOL_CALENDAR_SEASON_H_
#define ZELTO_TOOL_CALENDAR_SEASON_H_

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tool/calendar_year.h"
#include "tool/season_reader.h"

namespace tool {

/// One game on its real day. Names are indexes into CalendarSeason::teams.
struct CalendarGame {
  std::chrono::sys_days day;
  int32_t visitor = 0;
  int32_t home = 0;
  int number = 1;  ///< among the games of these two teams on `day`, from 1
};

/// A season's games in the order of the file, and every team named in it.
struct CalendarSeason {
  std::vector<std::string> teams;  ///< every name a game holds, in byte order
  std::vector<CalendarGame> games;
};

/// Collects a season as it is read: each date turned into its real day
/// (a date that is none is skipped, with a warning naming it), each game
/// kept with its two names. A game with a blank name is left out with a
/// warning: it is no game between two teams.
class CalendarCollector : public SeasonListener {
 public:
  /// `path` names the season in warnings.
  CalendarCollector(std::string path, SeasonDays days) : path_(std::move(path)), days_(days) {}

  void DateBegun(std::string_view date, int64_t record) override;
  void GameRead(const SeasonGame& game) override;
  void DateEnded() override;

  /// The season read, teams in byte order and games numbered; call once,
  /// after the season was read.
  CalendarSeason TakeSeason();

  const std::vector<std::string>& warnings() const { return warnings_; }
  /// The reason no calendar can be made (--year disagrees), or empty.
  const std::string& failure() const { return failure_; }

 private:
  int32_t TeamNumber(std::string_view name);

  std::string path_;
  SeasonDays days_;
  std::map<std::string, int32_t, std::less<>> numbers_;  // each name, by its first game
  std::vector<CalendarGame> read_;  // named by those numbers
  std::vector<std::string> warnings_;
  std::string failure_;
  // The date begun last, and what became of it.
  bool day_known_ = false;
  std::chrono::sys_days day_;
  std::string problem_;       // why the date has no day
  std::string first_skipped_; // where its first game left out stands
  int skipped_ = 0;
};

/// A team's name as a calendar shows it: byte for byte, but a byte no page
/// or calendar can show (a control byte, a byte of no UTF-8 character) as
/// \xNN, as dump shows it. A backslash stays one: the name is read, not
/// typed back.
std::string CalendarName(std::string_view name);

/// The games of `season` that `teams` (indexes into season.teams) play, in
/// the order of the season: a game of two of them once.
std::vector<CalendarGame> GamesOfTeams(const CalendarSeason& season,
                                       const std::vector<int32_t>& teams);

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_SEASON_H_
