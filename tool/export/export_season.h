// Exporting a season as a season file of the public layout that import
// reads: one row a game, in the season's order,
//   "YYYYMMDD","N","Www","VIS","VL",n,"HOM","HL",n,"d","",""
// the real day, the game number (0; 1 and 2 for two games of one pair on a
// date), the weekday, each team's code, league and game number in the
// season, then a day game with no postponement note or makeup date, CR LF.
//
// The rows must import back into the very games the season holds: what
// would import differently is refused (a team TEAMS gives no code or league,
// a date that is no real day, out of order or repeated, three games of a
// pair on a date, a game with one team), and what the layout has no place
// for is warned of (options, blank slots, dates with no game). The exporter
// holds one date's games and the season's teams, never the rows.
#ifndef ZELTO_TOOL_EXPORT_EXPORT_SEASON_H_
#define ZELTO_TOOL_EXPORT_EXPORT_SEASON_H_

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tool/season/season_days.h"
#include "tool/season/season_reader.h"
#include "tool/season/teams_file.h"

namespace tool {

/// Errors, and warnings, shown at most; the rest are counted.
inline constexpr int kMaxShownExportLines = 50;

/// What an export found.
struct ExportReport {
  std::vector<std::string> errors;    ///< "FILE:LINE: message", the first kMaxShownExportLines
  int error_count = 0;                ///< every error, shown or not
  std::vector<std::string> warnings;  ///< the same for warnings
  int warning_count = 0;
  int64_t rows = 0;                   ///< rows made
  /// True when nothing stopped the export: the rows are whole and may be kept.
  bool Succeeded() const { return error_count == 0; }
};

/// Where the rows go, piece by piece, in order.
using RowSink = std::function<void(std::string_view)>;

/// Turns the games of a season, told by ReadOpenSeason, into rows. Once an
/// error is found no more rows go to the sink, but the season is still
/// checked, so that every error is told at once; the rows the sink got by
/// then must be thrown away.
class SeasonExporter : public SeasonListener {
 public:
  /// `path` names the season in messages; `teams`, read from `teams_path`,
  /// gives each team's code and league and must outlive this; `days` turns
  /// stored dates into real days.
  SeasonExporter(std::string path, const TeamsFile& teams, std::string teams_path, SeasonDays days,
                 RowSink sink);

  void DateBegun(std::string_view date, int64_t record) override;
  void GameRead(const SeasonGame& game) override;
  void DateEnded() override;
  void GamesLost(const std::string& warning) override { Warn(warning); }

  /// Ends the season: a season of no game is refused, and what was not
  /// shown is counted.
  void Finish();

  /// The real days the dates were read as (for the century they took).
  const SeasonDays& days() const { return days_; }

  /// What was found so far; complete after Finish.
  const ExportReport& report() const { return report_; }

 private:
  // A game of the date being read, kept until the date is whole.
  struct Game {
    std::string visitor, home;
    std::string place;  // as messages name it
  };
  // A team of the season: its entry in TEAMS (null: none) and its games so far.
  struct Team {
    const TeamEntry* entry = nullptr;
    int64_t games = 0;
    bool refused = false;  // told once
  };

  // The team named `name`, checked to have a code and league the first
  // time; null when it is refused.
  Team* TeamFor(std::string_view name, const std::string& place);
  // Writes the rows of the date just read.
  void WriteDate();
  void Error(const std::string& message);
  void Warn(const std::string& message);

  std::string path_;
  std::string teams_path_;
  SeasonDays days_;
  RowSink sink_;
  ExportReport report_;
  std::map<std::string, const TeamEntry*, std::less<>> entries_;  // name -> its TEAMS entry
  std::map<std::string, Team, std::less<>> teams_;                // the season's teams
  bool stopped_ = false;  // --year disagrees: nothing more can be placed

  // The date being read.
  std::string date_;  // as stored, trailing blanks removed
  bool day_known_ = false;
  std::chrono::sys_days day_{};
  std::string day_problem_;
  std::vector<Game> games_;
  int next_slot_ = 1;

  // The last date written.
  bool have_last_ = false;
  std::chrono::sys_days last_day_{};
  std::string last_date_;
  std::string last_place_;
  std::string row_;  // a row being made, kept for its buffer
};

}  // namespace tool

#endif  // ZELTO_TOOL_EXPORT_EXPORT_SEASON_H_
