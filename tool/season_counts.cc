#include "tool/season_counts.h"

#include <algorithm>

namespace tool {

void SeasonCounter::DateBegun(std::string_view, int64_t record) {
  record_ = record;
  games_in_record_ = 0;
  ++totals_.dates;
}

void SeasonCounter::GameRead(const SeasonGame& game) {
  ++totals_.games;
  ++games_in_record_;
  // Each named team counts the game once in its role; a team named as both
  // (a team against itself) counts it at home and away.
  if (!game.visitor.empty()) CountGame(game.visitor, false);
  if (!game.home.empty()) CountGame(game.home, true);
  if (!game.visitor.empty() && !game.home.empty()) {
    CountPair(game.visitor, game.home, false);
    CountPair(game.home, game.visitor, true);
  }
}

void SeasonCounter::DateEnded() {
  totals_.most_games_on_a_date = std::max(totals_.most_games_on_a_date, games_in_record_);
}

SeasonCounter::TeamState& SeasonCounter::Team(std::string_view name) {
  auto found = teams_.find(name);
  if (found != teams_.end()) return found->second;
  TeamState& added = teams_[std::string(name)];
  added.counts.team = std::string(name);
  return added;
}

void SeasonCounter::CountGame(std::string_view name, bool at_home) {
  TeamState& team = Team(name);
  TeamCounts& counts = team.counts;
  ++counts.games;
  if (at_home) {
    ++counts.home;
    team.road_run = 0;
    counts.longest_home_stand = std::max(counts.longest_home_stand, ++team.home_run);
  } else {
    ++counts.away;
    team.home_run = 0;
    counts.longest_road_trip = std::max(counts.longest_road_trip, ++team.road_run);
  }
  // Games of one date stand in one record, so a team's games on a date
  // follow one another as the record is read.
  if (team.date_record == record_) {
    if (++team.games_on_date == 2) ++counts.doubleheader_dates;
  } else {
    team.date_record = record_;
    team.games_on_date = 1;
  }
}

void SeasonCounter::CountPair(std::string_view team, std::string_view opponent, bool at_home) {
  PairState& pair = pairs_[{std::string(team), std::string(opponent)}];
  ++(at_home ? pair.home : pair.away);
}

std::vector<TeamCounts> SeasonCounter::TeamRows() const {
  std::vector<TeamCounts> rows;
  rows.reserve(teams_.size());
  for (const auto& [name, state] : teams_) rows.push_back(state.counts);
  // The pairs are sorted by team too, so each team's opponents are a run.
  auto row = rows.begin();
  for (const auto& [key, pair] : pairs_) {
    while (row != rows.end() && row->team < key.first) ++row;
    if (row != rows.end() && row->team == key.first) ++row->opponents;
  }
  return rows;
}

std::vector<PairCounts> SeasonCounter::PairRows() const {
  std::vector<PairCounts> rows;
  rows.reserve(pairs_.size());
  for (const auto& [key, pair] : pairs_) {
    rows.push_back({key.first, key.second, pair.home + pair.away, pair.home, pair.away});
  }
  return rows;
}

SeasonTotals SeasonCounter::Totals() const {
  SeasonTotals totals = totals_;
  totals.teams = static_cast<int64_t>(teams_.size());
  return totals;
}

}  // namespace tool
