#include "tool/report/season_counts.h"

#include <algorithm>

#include "schedule/schedule_text.h"
#include "schedule/written_date.h"

namespace tool {

size_t SeasonCounter::PairTable::Find(uint64_t key) const {
  // The top bits of one multiplication, which both numbers of the pair move.
  const size_t last = places_.size() - 1;
  size_t place = static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> (64 - bits_));
  while (places_[place].used && places_[place].key != key) place = (place + 1) & last;
  return place;
}

SeasonCounter::PairState& SeasonCounter::PairTable::operator[](uint64_t key) {
  if (places_.empty()) places_.resize(size_t{1} << bits_);
  size_t place = Find(key);
  if (places_[place].used) return places_[place].state;
  if ((count_ + 1) * 2 > places_.size()) {
    // Half full: twice the places, every pair placed again.
    ++bits_;
    std::vector<Place> old(size_t{1} << bits_);
    old.swap(places_);
    for (const Place& moved : old) {
      if (moved.used) places_[Find(moved.key)] = moved;
    }
    place = Find(key);
  }
  ++count_;
  places_[place].used = true;
  places_[place].key = key;
  return places_[place].state;
}

void SeasonCounter::DateBegun(std::string_view date, int64_t record) {
  record_ = record;
  real_day_ = false;
  if (const auto parsed = schedule::ParseWrittenDate(schedule::TrimTrailingSpaces(date))) {
    const std::chrono::year_month_day day =
        schedule::DayIn(*parsed, std::chrono::year{2000 + parsed->two_digit_year});
    if (day.ok()) {
      real_day_ = true;
      const std::chrono::sys_days real{day};
      first_day_ = any_day_ ? std::min(first_day_, real) : real;
      last_day_ = any_day_ ? std::max(last_day_, real) : real;
      any_day_ = true;
    }
  }
  games_in_record_ = 0;
  ++totals_.dates;
}

void SeasonCounter::GameRead(const SeasonGame& game) {
  ++totals_.games;
  ++games_in_record_;
  // Each named team counts the game once in its role; a team named as both
  // (a team against itself) counts it at home and away.
  const bool visitor = !game.visitor.empty(), home = !game.home.empty();
  const size_t visitor_team = visitor ? team_numbers_.Number(game.visitor) : 0;
  const size_t home_team = home ? team_numbers_.Number(game.home) : 0;
  if (teams_.size() < team_numbers_.size()) teams_.resize(team_numbers_.size());
  if (visitor) CountGame(visitor_team, false);
  if (home) CountGame(home_team, true);
  if (visitor && home) {
    CountPair(visitor_team, home_team, false);
    CountPair(home_team, visitor_team, true);
  }
}

void SeasonCounter::DateEnded() {
  totals_.most_games_on_a_date = std::max(totals_.most_games_on_a_date, games_in_record_);
}

void SeasonCounter::CountGame(size_t number, bool at_home) {
  TeamState& team = teams_[number];
  TeamCounts& counts = team.counts;
  ++counts.games;
  ++(at_home ? counts.home : counts.away);
  team.runs.Take(at_home, 1);
  counts.longest_home_stand = team.runs.home_stand().games;
  counts.longest_road_trip = team.runs.road_trip().games;
  // Games of one date stand in one record, so a team's games on a date
  // follow one another as the record is read.
  if (team.date_record == record_) {
    if (++team.games_on_date == 2) ++counts.doubleheader_dates;
  } else {
    team.date_record = record_;
    team.games_on_date = 1;
    team.days_played += real_day_;
  }
}

void SeasonCounter::CountPair(size_t team, size_t opponent, bool at_home) {
  PairState& pair = pairs_[PairKey(team, opponent)];
  ++(at_home ? pair.home : pair.away);
}

std::vector<TeamCounts> SeasonCounter::TeamRows() const {
  std::vector<int64_t> opponents(teams_.size(), 0);
  pairs_.ForEach([&](uint64_t key, const PairState&) { ++opponents[key >> 32]; });
  std::vector<TeamCounts> rows;
  rows.reserve(teams_.size());
  for (size_t number : team_numbers_.InByteOrder()) {
    rows.push_back(teams_[number].counts);
    rows.back().team = team_numbers_.Name(number);
    rows.back().opponents = opponents[number];
    if (any_day_) {
      const int64_t span = (last_day_ - first_day_).count() + 1;
      rows.back().off_days = std::max<int64_t>(0, span - teams_[number].days_played);
    }
  }
  return rows;
}

std::vector<PairCounts> SeasonCounter::PairRows() const {
  // The pairs by team, then opponent, as their names sort.
  std::vector<size_t> rank(team_numbers_.size());
  std::vector<size_t> order = team_numbers_.InByteOrder();
  for (size_t place = 0; place < order.size(); ++place) rank[order[place]] = place;
  std::vector<uint64_t> keys;
  keys.reserve(pairs_.size());
  pairs_.ForEach([&](uint64_t key, const PairState&) {
    keys.push_back(PairKey(rank[key >> 32], rank[key & 0xFFFFFFFF]));
  });
  std::sort(keys.begin(), keys.end());
  std::vector<PairCounts> rows;
  rows.reserve(keys.size());
  for (uint64_t ranked : keys) {
    size_t team = order[ranked >> 32], opponent = order[ranked & 0xFFFFFFFF];
    const PairState& pair = pairs_.at(PairKey(team, opponent));
    rows.push_back({team_numbers_.Name(team), team_numbers_.Name(opponent),
                    pair.home + pair.away, pair.home, pair.away});
  }
  return rows;
}

SeasonTotals SeasonCounter::Totals() const {
  SeasonTotals totals = totals_;
  totals.teams = static_cast<int64_t>(team_numbers_.size());
  return totals;
}

}  // namespace tool
