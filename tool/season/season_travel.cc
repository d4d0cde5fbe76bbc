#include "tool/season/season_travel.h"

#include <algorithm>

namespace tool {

DistanceTable DistancesOfPlaces(const TeamsFile& teams) {
  std::vector<Place> places;
  DistanceTable table;
  for (const TeamEntry& team : teams.teams) {
    if (!team.place) continue;
    table.names.push_back(team.name);
    places.push_back(*team.place);
  }
  table.teams = static_cast<int>(places.size());
  table.unit = "km";
  table.distance.reserve(places.size() * places.size());
  for (const Place& from : places) {
    for (const Place& to : places) table.distance.push_back(GreatCircleKilometres(from, to));
  }
  return table;
}

SeasonTravel::SeasonTravel(const DistanceTable& table)
    : table_(table), at_(static_cast<size_t>(table.teams), -1),
      travelled_(static_cast<size_t>(table.teams), 0) {
  for (int t = 0; t < table.teams; ++t) index_of_.emplace(table.names[static_cast<size_t>(t)], t);
}

int SeasonTravel::ParkOf(std::string_view name) {
  auto found = index_of_.find(name);
  if (found != index_of_.end()) return found->second;
  // Noted once: a later game of the team finds it here as no park.
  unplaced_.emplace_back(name);
  index_of_.emplace(std::string(name), -1);
  return -1;
}

void SeasonTravel::Go(int team, int park) {
  int& at = at_[static_cast<size_t>(team)];
  if (at < 0) at = team;  // the season starts at home
  travelled_[static_cast<size_t>(team)] += DistanceBetween(table_, at, park);
  at = park;
}

void SeasonTravel::GameRead(const SeasonGame& game) {
  if (game.visitor.empty() || game.home.empty()) return;
  const int visitor = ParkOf(game.visitor), home = ParkOf(game.home);
  if (visitor < 0 || home < 0) return;
  Go(visitor, home);
  Go(home, home);
}

std::map<std::string, int64_t, std::less<>> SeasonTravel::TravelByTeam() const {
  std::map<std::string, int64_t, std::less<>> travel;
  for (int t = 0; t < table_.teams; ++t) {
    const int at = at_[static_cast<size_t>(t)];
    if (at < 0) continue;  // no game
    travel.emplace(table_.names[static_cast<size_t>(t)],
                   travelled_[static_cast<size_t>(t)] + DistanceBetween(table_, at, t));
  }
  return travel;
}

int64_t SeasonTravel::Total() const {
  int64_t total = 0;
  for (const auto& [team, travel] : TravelByTeam()) total += travel;
  return total;
}

}  // namespace tool
