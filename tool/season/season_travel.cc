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
    : table_(table), played_(static_cast<size_t>(table.teams), 0) {
  walks_.reserve(static_cast<size_t>(table.teams));
  for (int t = 0; t < table.teams; ++t) {
    index_of_.emplace(table.names[static_cast<size_t>(t)], t);
    walks_.emplace_back(table, t);
  }
}

int SeasonTravel::ParkOf(std::string_view name) {
  auto found = index_of_.find(name);
  if (found != index_of_.end()) return found->second;
  // Noted once: a later game of the team finds it here as no park.
  unplaced_.emplace_back(name);
  index_of_.emplace(std::string(name), -1);
  return -1;
}

void SeasonTravel::GameRead(const SeasonGame& game) {
  if (game.visitor.empty() || game.home.empty()) return;
  const int visitor = ParkOf(game.visitor), home = ParkOf(game.home);
  if (visitor < 0 || home < 0) return;
  for (int team : {visitor, home}) {
    walks_[static_cast<size_t>(team)].GoTo(home);
    played_[static_cast<size_t>(team)] = 1;
  }
}

std::map<std::string, int64_t, std::less<>> SeasonTravel::TravelByTeam() const {
  std::map<std::string, int64_t, std::less<>> travel;
  for (int t = 0; t < table_.teams; ++t) {
    if (!played_[static_cast<size_t>(t)]) continue;
    travel.emplace(table_.names[static_cast<size_t>(t)],
                   walks_[static_cast<size_t>(t)].WithTripHome());
  }
  return travel;
}

int64_t SeasonTravel::Total() const {
  int64_t total = 0;
  for (const auto& [team, travel] : TravelByTeam()) total += travel;
  return total;
}

}  // namespace tool
