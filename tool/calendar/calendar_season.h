// The games of a season as a calendar shows them: each on its real day,
// between two named teams, numbered among the games those two teams play
// on that day (2 for the second game of a doubleheader).
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_SEASON_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_SEASON_H_

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tool/season/season_days.h"
#include "tool/season/season_reader.h"
#include "tool/season/team_numbers.h"

namespace tool {

/// A real day in 4 bytes (sys_days takes 8): a calendar keeps one for each
/// game of its teams. Every day up to the year 9999 fits.
using CalendarDay = std::chrono::time_point<std::chrono::system_clock,
                                            std::chrono::duration<int32_t, std::chrono::days::period>>;

/// One game on its real day. Names are indexes into CalendarSeason::teams.
struct CalendarGame {
  CalendarDay day;
  int32_t visitor = 0;
  int32_t home = 0;
  int number = 1;  ///< among the games of these two teams on `day`, from 1
};

/// Games in pieces rather than one block: a season's games are kept as they
/// are read, and a growing block would for a moment need its old copy and
/// its new one at once.
using CalendarGames = std::deque<CalendarGame>;

/// A season's games (those of the teams kept) in the order of the file, and
/// every team named in it.
struct CalendarSeason {
  std::vector<std::string> teams;  ///< every name a game holds, in byte order
  CalendarGames games;
  /// By index into teams: the games each team plays, kept or not.
  std::vector<uint64_t> team_games;
  /// By index into teams: the name people read, from a teams file; empty
  /// (or shorter than teams) where none is given.
  std::vector<std::string> display;
};

class CalendarSpill;

/// Which of the games read back from a spill are kept.
using CalendarKeep = std::function<bool(const CalendarGame&)>;

/// Takes each warning as it is found.
using CalendarWarningTaker = std::function<void(std::string)>;

/// Collects a season as it is read: each date turned into its real day
/// (a date that is none is skipped, with a warning naming it), each game
/// kept with its two names. A game with a blank name is left out with a
/// warning: it is no game between two teams. Every team's name is known at
/// the end, but only the games of the teams a calendar is asked for are
/// kept, so that a team's calendar of a long season holds that team's
/// games, not the season's.
class CalendarCollector : public SeasonListener {
 public:
  /// `path` names the season in warnings. Keeps the games that a team of
  /// `kept` plays (every game when it is empty) and hands each warning to
  /// `take`.
  CalendarCollector(std::string path, SeasonDays days, const std::vector<std::string>& kept,
                    CalendarWarningTaker take);

  void DateBegun(std::string_view date, int64_t record) override;
  void GameRead(const SeasonGame& game) override;
  void DateEnded() override;
  void GamesLost(const std::string& warning) override { take_(warning); }

  /// Past `games` games kept, writes them and every game kept after them
  /// to `spill` rather than keeping them: what is held then no longer grows
  /// with the season. `spill` must outlive this.
  void SpillPast(size_t games, CalendarSpill* spill);
  /// Whether the games went to the spill: TakeSeason then holds none.
  bool spilled() const { return spilled_; }

  /// The season read, teams in byte order and games numbered; call once,
  /// after the season was read.
  CalendarSeason TakeSeason();

  /// After TakeSeason of a season spilled: the games of the spill that
  /// `keep` takes (teams named as TakeSeason names them), in the order of
  /// the season and numbered, into `games`; 0, or the code of a failure to
  /// read them back. `keep` takes every game of two teams or none: a game's
  /// number counts the games of its two teams on its day.
  int TakeSpilled(const CalendarKeep& keep, CalendarGames* games);

  /// The real days the dates were read as (for the century they took).
  const SeasonDays& days() const { return days_; }

  /// The reason no calendar can be made (--year disagrees), or empty.
  const std::string& failure() const { return failure_; }

 private:
  // The number of `name`, and whether its games are kept.
  int32_t TeamNumber(std::string_view name);

  std::string path_;
  SeasonDays days_;
  std::vector<std::string> kept_names_;  // in byte order; empty: every team
  CalendarWarningTaker take_;
  TeamNumbers team_numbers_;  // each name, numbered by its first game
  std::vector<bool> kept_;   // by name number
  CalendarGames read_;       // named by those numbers
  std::vector<uint64_t> team_games_;  // by name number: the games of each
  size_t spill_past_ = 0;
  CalendarSpill* spill_ = nullptr;
  bool spilled_ = false;
  std::vector<int32_t> place_;  // by name number: its index in byte order
  // A game's number is found as it is read while each date's day comes
  // after every day before it (no earlier game can share it): counted
  // among the games kept of this date alone. A day that comes again, or
  // out of order, leaves the numbering to the end.
  std::vector<std::pair<uint64_t, int>> date_pairs_;  // pair key, games of the date
  std::chrono::sys_days latest_day_;
  bool any_day_ = false;
  bool day_is_new_ = false;  // the date's day is later than every day before
  bool number_at_end_ = false;
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

/// A team's name as a calendar shows it to people: its display name when
/// the season has one for it, else CalendarName of its file name.
std::string CalendarShownName(const CalendarSeason& season, int32_t team);

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_SEASON_H_
