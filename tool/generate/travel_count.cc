#include "tool/generate/travel_count.h"

#include <algorithm>

namespace tool {

std::vector<int64_t> TeamTravel(const std::vector<SeriesRound>& rounds,
                                const DistanceTable& distances) {
  const int teams = distances.teams;
  std::vector<int64_t> travel(static_cast<size_t>(teams), 0);
  std::vector<int> park(static_cast<size_t>(teams));  // where each team is: home at first
  for (int team = 0; team < teams; ++team) park[team] = team;
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      for (int team : {series.home, series.visitor}) {
        travel[team] += DistanceBetween(distances, park[team], series.home);
        park[team] = series.home;
      }
    }
  }
  for (int team = 0; team < teams; ++team) travel[team] += DistanceBetween(distances, park[team], team);
  return travel;
}

std::vector<int> TeamRepeaters(const std::vector<SeriesRound>& rounds, int teams) {
  std::vector<int> repeaters(static_cast<size_t>(teams), 0);
  std::vector<int> last(static_cast<size_t>(teams), -1);  // the opponent of the last series
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      repeaters[series.home] += last[series.home] == series.visitor;
      repeaters[series.visitor] += last[series.visitor] == series.home;
      last[series.home] = series.visitor;
      last[series.visitor] = series.home;
    }
  }
  return repeaters;
}

int UnavoidableRepeaters(const std::vector<SeriesRound>& rounds, int teams) {
  std::vector<int> against(static_cast<size_t>(teams * teams), 0);
  std::vector<int> series_of(static_cast<size_t>(teams), 0);
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      ++against[series.home * teams + series.visitor];
      ++against[series.visitor * teams + series.home];
      ++series_of[series.home];
      ++series_of[series.visitor];
    }
  }
  int unavoidable = 0;
  for (int team = 0; team < teams; ++team) {
    for (int other = 0; other < teams; ++other) {
      unavoidable += std::max(0, 2 * against[team * teams + other] - series_of[team] - 1);
    }
  }
  return unavoidable;
}

}  // namespace tool
