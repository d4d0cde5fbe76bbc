// How far each team of a season travels, counted as a team travels: it
// starts the season at home, goes to each game's park straight from the
// park of its game before (home or away; a day off does not send it home),
// and after its last game goes home. The teams' parks and the distances
// between them come from a table (a distances file, or the places of a
// teams file).
#ifndef ZELTO_TOOL_SEASON_SEASON_TRAVEL_H_
#define ZELTO_TOOL_SEASON_SEASON_TRAVEL_H_

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tool/season/distance_table.h"
#include "tool/season/season_reader.h"
#include "tool/season/teams_file.h"

namespace tool {

/// One team's travel, followed as it goes: from home to each park in turn,
/// and home at the end. The one count of travel: report's counter of a
/// season's text, generate's summary and its travel search's running
/// figures are held to it.
class TravelWalk {
 public:
  /// `table` outlives the walk; the team starts at its park, `home`.
  TravelWalk(const DistanceTable& table, int home) : table_(&table), home_(home), at_(home) {}

  /// Goes on to the park of team `park`.
  void GoTo(int park) {
    travelled_ += DistanceBetween(*table_, at_, park);
    at_ = park;
  }
  /// The travel so far and the way home from where it is.
  int64_t WithTripHome() const { return travelled_ + DistanceBetween(*table_, at_, home_); }

 private:
  const DistanceTable* table_;
  int home_;
  int at_;
  int64_t travelled_ = 0;
};

/// The table of great-circle distances in kilometres between the teams a
/// teams file places (latitude and longitude), in the file's order; the
/// teams it does not place are not in it.
DistanceTable DistancesOfPlaces(const TeamsFile& teams);

/// Counts each team's travel as a season reader tells its games. A game
/// with a team the table does not place counts for neither of its teams;
/// the teams not placed are told by unplaced().
class SeasonTravel : public SeasonListener {
 public:
  /// `table` outlives the counter.
  explicit SeasonTravel(const DistanceTable& table);

  void DateBegun(std::string_view, int64_t) override {}
  void GameRead(const SeasonGame& game) override;
  void DateEnded() override {}

  /// The teams of the season that the table does not place, in the order
  /// the season first names them.
  const std::vector<std::string>& unplaced() const { return unplaced_; }
  /// Each team's travel, the way home after its last game included, by its
  /// name; only the teams that played.
  std::map<std::string, int64_t, std::less<>> TravelByTeam() const;
  /// The season's travel: the sum over its teams.
  int64_t Total() const;

 private:
  // The table's index of `name`, or -1 (noted once as unplaced).
  int ParkOf(std::string_view name);

  const DistanceTable& table_;
  std::map<std::string, int, std::less<>> index_of_;
  std::vector<TravelWalk> walks_;  // per table index
  std::vector<char> played_;       // per table index: a game seen
  std::vector<std::string> unplaced_;
};

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_SEASON_TRAVEL_H_
