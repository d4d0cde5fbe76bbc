// A season as the travel search changes it: each team's series round by
// round, and what each series adds to the season's travel, breaks,
// repeaters and runs past the limit, kept up to date a few series at a time.
#ifndef ZELTO_TOOL_GENERATE_TRAVEL_STATE_H_
#define ZELTO_TOOL_GENERATE_TRAVEL_STATE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tool/generate/generate_plan.h"
#include "tool/generate/travel_figures.h"

namespace tool {

/// The opponent of a team that rests in a round.
inline constexpr int16_t kResting = -1;

/// What one series adds to the season's figures, counted from the series
/// before it (rests skipped).
struct SeriesFigures {
  int32_t travel = 0;     ///< the leg to its park from the park before (home at first)
  uint8_t breaks = 0;     ///< 1: at the same park (home or away) as the series before
  uint8_t repeaters = 0;  ///< 1: against the same opponent as the series before
  uint8_t runs_over = 0;  ///< 1: it makes the run at one park longer than the limit
};

/// The season: every team's series, round by round.
struct TravelState {
  int teams = 0;                   ///< the league's teams
  int rounds = 0;                  ///< the season's rounds
  int limit = 0;                   ///< series in a row at one park, at most
  std::vector<int64_t> distance;   ///< teams x teams, [from * teams + to]; empty: no travel
  std::vector<int16_t> opponent;   ///< [team * rounds + round]; kResting
  std::vector<char> at_home;       ///< [team * rounds + round]
  std::vector<int> hosted_games;   ///< [home * teams + visitor]: games at that park
  std::vector<SeriesFigures> part;    ///< [team * rounds + round]
  std::vector<int64_t> trip_home;  ///< per team: the leg home after its last series
  TravelFigures total;
  std::vector<int> broken;         ///< the parts that repeat or run past the limit
  std::vector<int> broken_at;      ///< per part, its place in `broken`, or -1
  /// [team * rounds + round]: the games of the series, when each series keeps
  /// its own (a league's season); empty when a pair's games are dealt into
  /// its series after the search.
  std::vector<int8_t> games;
  std::vector<int> days;           ///< per round, when `games` is kept: its game days
  int most_idle = 0;               ///< the most a series may be shorter than its round
};

/// The state of `rounds` (their games count what each park hosts) with the
/// parts counted.
TravelState MakeTravelState(const std::vector<SeriesRound>& rounds, int teams, int limit,
                            const std::vector<int64_t>& distance);

/// Keeps each series' games of `rounds` in `state` (made from them) and each
/// round's game days: the moves then keep every series within its round's
/// days, at most `most_idle` shorter.
void KeepGames(const std::vector<SeriesRound>& rounds, const std::vector<int>& days,
               int most_idle, TravelState* state);

/// Whether a series of `games` games fits `round` of the state: no longer
/// than its days, and at most `most_idle` shorter. Always, when the state
/// keeps no games.
inline bool FitsRound(const TravelState& state, int games, int round) {
  if (state.games.empty()) return true;
  const int days = state.days[static_cast<size_t>(round)];
  return games <= days && games >= days - state.most_idle;
}

/// What the series of `team` in `round` adds as the state stands.
SeriesFigures PartAt(const TravelState& state, int team, int round);

/// The leg home of `team` after its last series.
int64_t TripHomeOf(const TravelState& state, int team);

/// Counts every part and the total afresh.
void RecountAll(TravelState* state);

/// A recounted part waiting to be kept: `index` into the parts, or, when
/// negative, the leg home of team -1 - index.
struct PendingPart {
  int index = 0;           ///< into the parts, or -1 - team for its leg home
  SeriesFigures part;         ///< the part recounted (index >= 0)
  int64_t trip_home = 0;   ///< the leg home recounted (index < 0)
};

/// Recounts the parts of `team` that a change at the rounds `changed`
/// (ascending, each once) can alter: each such round and the `limit` series
/// after it, and the leg home. Adds new less old to `change` and the new
/// parts to `pending`; the state's parts stay as they were.
void Reweigh(const TravelState& state, int team, const std::vector<int>& changed,
             TravelFigures* change, std::vector<PendingPart>* pending);

/// Keeps the parts of `pending` and adds `change` to the total.
void Keep(TravelState* state, const std::vector<PendingPart>& pending, const TravelFigures& change);

/// The rounds of the state as series (games 0 unless the state keeps them).
std::vector<SeriesRound> RoundsOf(const TravelState& state);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_TRAVEL_STATE_H_
