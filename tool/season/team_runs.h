// A team's home stands and road trips, followed as its games come in order.
// report counts them a game at a time; generate a series at a time, where a
// stay at one park is a series of games, two stays in a row at home (or
// away) are a break, two in a row against one opponent a repeater, and a
// stay that makes a run longer than the league allows is counted as over.
// The one count of these that generate's summary and its travel search's
// own running figures are held to.
#ifndef ZELTO_TOOL_SEASON_TEAM_RUNS_H_
#define ZELTO_TOOL_SEASON_TEAM_RUNS_H_

#include <algorithm>
#include <cstdint>

namespace tool {

/// The longest run of stays at home, or away, in stays and in games.
struct LongestRun {
  int64_t stays = 0;
  int64_t games = 0;
};

/// Follows one team's stays in order: each stay is some games at home or
/// away; a run is the stays in a row at home (a home stand) or away (a road
/// trip).
class TeamRuns {
 public:
  /// No opponent told: the stays make no repeaters.
  static constexpr int kNoOpponent = -1;

  TeamRuns() = default;
  /// Counts the stays that make a run longer than `most_in_a_row` stays.
  explicit TeamRuns(int64_t most_in_a_row) : most_in_a_row_(most_in_a_row) {}

  /// Takes the team's next stay: `games` games, at home or away, against
  /// `opponent` when told.
  void Take(bool at_home, int64_t games, int opponent = kNoOpponent) {
    if (opponent != kNoOpponent && opponent == opponent_) ++repeaters_;
    opponent_ = opponent;
    if (stays_ > 0 && at_home == at_home_) {
      ++repeats_;
      current_.stays += 1;
      current_.games += games;
    } else {
      current_ = LongestRun{1, games};
    }
    at_home_ = at_home;
    ++stays_;
    if (most_in_a_row_ > 0 && current_.stays > most_in_a_row_) ++over_;
    LongestRun& longest = at_home ? home_stand_ : road_trip_;
    longest.stays = std::max(longest.stays, current_.stays);
    longest.games = std::max(longest.games, current_.games);
  }

  /// The longest home stand so far.
  const LongestRun& home_stand() const { return home_stand_; }
  /// The longest road trip so far.
  const LongestRun& road_trip() const { return road_trip_; }
  /// The stays at the same kind of park as the one before (breaks).
  int64_t repeats() const { return repeats_; }
  /// Two stays in a row against one opponent.
  int64_t repeaters() const { return repeaters_; }
  /// The stays that made a run longer than the limit the counter was given.
  int64_t over() const { return over_; }

 private:
  LongestRun home_stand_, road_trip_;
  LongestRun current_;  // the run the last stay belongs to
  bool at_home_ = false;
  int64_t stays_ = 0;
  int64_t repeats_ = 0;
  int64_t most_in_a_row_ = 0;  // 0: no limit
  int opponent_ = kNoOpponent;
  int64_t repeaters_ = 0;
  int64_t over_ = 0;
};

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_TEAM_RUNS_H_
