// The home side and the games of every series of a generated season: each
// pair's meetings split in two halves, one at each park (the odd one, if
// any, where it keeps every team's home and away games within one of each
// other), each half in series of the series length, and the home sides
// changed, meeting for meeting of one pair, until no team plays more series
// in a row at one park than allowed, with as few breaks as the search finds.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_HOME_AWAY_H_
#define ZELTO_TOOL_GENERATE_GENERATE_HOME_AWAY_H_

#include <cstdint>
#include <string>
#include <vector>

#include "tool/generate/generate_plan.h"

namespace tool {

/// What the season must keep to.
struct HomeAwayRules {
  std::vector<int> division_of;  ///< per team; all 0 without divisions
  int meetings_between = 0;      ///< games of a pair of two divisions
  int meetings_within = 0;       ///< games of a pair of one division
  int series_length = 1;         ///< games of a full series
  int most_in_a_row = 3;         ///< series in a row at one park, at most
  uint64_t seed = 1;
};

/// The meetings of teams `a` and `b` by `rules`.
int MeetingsOf(const HomeAwayRules& rules, int a, int b);

/// The series a pair plays when it meets `meetings` times: a half of
/// (meetings + 1) / 2 and one of meetings / 2, each in series of `length`.
int SeriesOfPair(int meetings, int length);

/// Deals each park's games of a pair into its series of `rounds`, in order:
/// full series of `series_length` first, the shorter rest last.
/// `hosted_games` is teams x teams, [home * teams + visitor]: the games of
/// that pair at that park. False when the series do not hold them.
bool DealGames(int teams, int series_length, const std::vector<int>& hosted_games,
               std::vector<SeriesRound>* rounds);

/// Sets the home side and the games of every series of `rounds` (which
/// hold every pair's series, home sides as a first guess). False, with the
/// reason, when no arrangement found keeps every team within the series in
/// a row allowed; `rounds` then holds the closest one.
bool SettleHomeAndAway(const HomeAwayRules& rules, std::vector<SeriesRound>* rounds,
                       std::string* problem);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_HOME_AWAY_H_
