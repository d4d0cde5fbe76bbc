// What is wrong with a season itself, whatever its lines look like: a team
// that plays itself, a team booked against two opponents on one date or in
// three games, a game with one team, and a name that looks like a mistyped
// one. check (on a text) and report (on a text or a schedule file) both
// listen with this one finder, so they say the same things.
#ifndef ZELTO_TOOL_SEASON_SEASON_FINDINGS_H_
#define ZELTO_TOOL_SEASON_SEASON_FINDINGS_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tool/season/season_reader.h"
#include "tool/season/team_numbers.h"

namespace tool {

/// One finding about a game: where the game stands and what is wrong.
struct SeasonFinding {
  int64_t line = 0;    ///< the text's editor line; 0 in a schedule file
  int64_t record = 0;  ///< the record the game is stored in
  int slot = 0;        ///< its slot
  std::string message;
};

/// A name that plays at most this many games...
inline constexpr int64_t kRareNameGames = 2;
/// ...one byte away from a name that plays at least this many is likely
/// that name mistyped.
inline constexpr int64_t kRegularTeamGames = 10;

/// Where each finding goes as soon as it is found.
using FindingSink = std::function<void(const SeasonFinding&)>;

/// Finds what is wrong with the season a reader tells it.
class SeasonFindings : public SeasonListener {
 public:
  /// `sink` takes each finding as it is found.
  explicit SeasonFindings(FindingSink sink) : sink_(std::move(sink)) {}

  void DateBegun(std::string_view date, int64_t record) override;
  void GameRead(const SeasonGame& game) override;
  void DateEnded() override;

  /// Ends the season: the likely misspellings, known only now, go to the
  /// sink, in the order of their names.
  void Finish();

 private:
  // Where a game stands: its line, or its record and slot.
  struct Place {
    int64_t line = 0;
    int64_t record = 0;
    int slot = 0;
  };
  // A team's games on the date being read: its first opponent, and where
  // its first two games stand (a third is a finding, and so is all after).
  struct TeamOnDate {
    size_t team = 0;
    size_t opponent = 0;
    int games = 0;
    Place places[2];
  };

  void Add(const SeasonGame& game, std::string message);
  void CheckDate(const SeasonGame& game, size_t team, size_t opponent);
  size_t CountName(const SeasonGame& game, std::string_view name);
  static std::string PlacesText(const Place* places, int count);

  FindingSink sink_;
  // The teams of the date being read: a date holds at most 15 games, so a
  // short list looked through is enough.
  std::vector<TeamOnDate> today_;
  std::vector<size_t> today_place_;    // by name number: its place in today_ + 1, or 0
  TeamNumbers team_numbers_;
  std::vector<int64_t> games_;         // by name number
  std::vector<Place> first_places_;    // where each name's first game stands
};

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_SEASON_FINDINGS_H_
