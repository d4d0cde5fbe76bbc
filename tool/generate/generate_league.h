// A league's season from its matchups: each park's games of a pair split
// into series of MIN to MAX games so that every team plays the same number
// of series, and those series dealt into rounds in which every team plays
// one (one rests when the league is odd). A round lasts as long as its
// longest series; its series start on its first game day, so that a team
// is idle only at a round's end, at most the spread of its series' lengths.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_LEAGUE_H_
#define ZELTO_TOOL_GENERATE_GENERATE_LEAGUE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "tool/generate/generate_plan.h"

namespace tool {

/// How long a league's series are: MIN to MAX games, and the most that
/// a series may be shorter than its round (the days a team is idle).
struct SeriesLengths {
  int least = 2;
  int most = 4;
  /// The most days a team may be idle at a round's end.
  int most_idle = 2;
};

/// The rounds of a league's season and each round's length in game days.
struct LeagueRounds {
  std::vector<SeriesRound> rounds;
  std::vector<int> days;  ///< per round: its longest series' games, or more when room was given
};

/// Splits the games of `hosted` (teams x teams, [home * teams + visitor])
/// into series by `lengths`, every team the same number of them, and deals
/// them into rounds (the seed picks among the ways). False, with the
/// reason, when the games do not split or no dealing was found.
bool LeagueSeries(const std::vector<int>& hosted, int teams, const SeriesLengths& lengths,
                  uint64_t seed, LeagueRounds* league, std::string* problem);

/// Lengthens rounds shorter than the longest series, first to last, while
/// the season's game days stay within `window`: room for the travel search
/// to move longer series into them. The days a round lengthens by stay
/// within `lengths.most_idle` of its shortest series.
void GiveRoom(const SeriesLengths& lengths, int window, LeagueRounds* league);

/// The season's game days: the sum of the rounds' days.
int LeagueDays(const LeagueRounds& league);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_LEAGUE_H_
