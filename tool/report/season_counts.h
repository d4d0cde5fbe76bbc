// Counting a season: what each team plays, and how often each pair meets,
// as a league's keeper checks a season before it is played. What is held
// grows with the teams and the pairs that meet, never with the games.
#ifndef ZELTO_TOOL_REPORT_SEASON_COUNTS_H_
#define ZELTO_TOOL_REPORT_SEASON_COUNTS_H_

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tool/season/season_reader.h"
#include "tool/season/team_runs.h"
#include "tool/season/team_numbers.h"

namespace tool {

/// One team's season. A team is a stored name with its trailing blanks
/// removed; a game of one named team counts for that team alone.
struct TeamCounts {
  std::string team;
  int64_t games = 0;               ///< home + away
  int64_t home = 0;                ///< games where it is the home team
  int64_t away = 0;                ///< games where it is the visitor
  int64_t doubleheader_dates = 0;  ///< dates on which it plays two games or more
  int64_t longest_home_stand = 0;  ///< the most games in a row at home, in file order
  int64_t longest_road_trip = 0;   ///< the most games in a row away
  int64_t opponents = 0;           ///< the different teams it plays
  /// The days from the season's first date to its last on which it plays
  /// no game (dates written MM/DD/YY; those that are no real day left out).
  int64_t off_days = 0;
};

/// How often `team` plays `opponent`, and where.
struct PairCounts {
  std::string team;
  std::string opponent;
  int64_t games = 0;
  int64_t home = 0;  ///< the games of `team` at home against `opponent`
  int64_t away = 0;
};

/// The season as a whole.
struct SeasonTotals {
  int64_t dates = 0;                ///< date records
  int64_t games = 0;
  int64_t teams = 0;
  int64_t most_games_on_a_date = 0;
};

/// Counts the games a season reader tells it.
class SeasonCounter : public SeasonListener {
 public:
  void DateBegun(std::string_view date, int64_t record) override;
  void GameRead(const SeasonGame& game) override;
  void DateEnded() override;

  /// One row per team, in byte order of the names.
  std::vector<TeamCounts> TeamRows() const;
  /// One row per ordered pair that meets, by team, then opponent.
  std::vector<PairCounts> PairRows() const;
  SeasonTotals Totals() const;

 private:
  struct TeamState {
    TeamCounts counts;
    TeamRuns runs;              // its home stands and road trips, a game a stay
    int64_t date_record = 0;    // the record of its last game
    int64_t games_on_date = 0;  // its games in that record
    int64_t days_played = 0;    // the real days it plays on, a record each
  };
  struct PairState {
    int64_t home = 0;  // of the team at home against the opponent
    int64_t away = 0;
  };

  void CountGame(size_t team, bool at_home);
  void CountPair(size_t team, size_t opponent, bool at_home);
  static uint64_t PairKey(size_t team, size_t opponent) {
    return (static_cast<uint64_t>(team) << 32) | opponent;
  }

  // The pairs that meet, by PairKey: open addressing over a power of two
  // places, for the millions of games of a large season.
  class PairTable {
   public:
    PairState& operator[](uint64_t key);
    const PairState& at(uint64_t key) const { return places_[Find(key)].state; }
    size_t size() const { return count_; }
    template <typename Visit>
    void ForEach(Visit visit) const {
      for (const Place& place : places_) {
        if (place.used) visit(place.key, place.state);
      }
    }

   private:
    struct Place {
      uint64_t key = 0;
      bool used = false;
      PairState state;
    };
    size_t Find(uint64_t key) const;  // its place, or the free place it would take
    std::vector<Place> places_;  // 2^bits_ of them
    int bits_ = 8;
    size_t count_ = 0;
  };

  TeamNumbers team_numbers_;
  std::vector<TeamState> teams_;  // by name number
  PairTable pairs_;
  SeasonTotals totals_;
  int64_t record_ = 0;          // the record being read
  // Whether the date being read is a real day (its two digits read as 20YY:
  // only the days between dates count), and the season's first and last.
  bool real_day_ = false;
  std::chrono::sys_days first_day_{}, last_day_{};
  bool any_day_ = false;
  int64_t games_in_record_ = 0;
};

}  // namespace tool

#endif  // ZELTO_TOOL_REPORT_SEASON_COUNTS_H_
