#include "tool/generate/travel_count.h"

#include <algorithm>

#include "tool/season/season_travel.h"

namespace tool {

std::vector<int64_t> TeamTravel(const std::vector<SeriesRound>& rounds,
                                const DistanceTable& distances) {
  std::vector<TravelWalk> walks;
  for (int team = 0; team < distances.teams; ++team) walks.emplace_back(distances, team);
  for (const SeriesRound& round : rounds) {
    for (const Series& series : round) {
      for (int team : {series.home, series.visitor}) walks[team].GoTo(series.home);
    }
  }
  std::vector<int64_t> travel;
  for (const TravelWalk& walk : walks) travel.push_back(walk.WithTripHome());
  return travel;
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
