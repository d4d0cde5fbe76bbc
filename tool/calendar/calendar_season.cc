#include "tool/calendar/calendar_season.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <utility>

#include "schedule/shown_text.h"
#include "tool/calendar/calendar_spill.h"

namespace tool {

namespace {

// The games of two teams on one day count up in the order of the file,
// whichever of them is at home: the games in order of day, pair and place
// in the file, each number one past the game before it of the same day
// and pair. (An index per game rather than a count per day and pair: far
// smaller than a map's node each.) `games` must hold every game of each
// pair it holds a game of.
void NumberByDay(CalendarGames* games) {
  auto key = [games](size_t index) {
    const CalendarGame& game = (*games)[index];
    const auto pair = std::minmax(game.visitor, game.home);
    return std::make_tuple(game.day, pair.first, pair.second, index);
  };
  std::vector<size_t> by_day(games->size());
  std::iota(by_day.begin(), by_day.end(), size_t{0});
  std::sort(by_day.begin(), by_day.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
  for (size_t at = 0; at < by_day.size(); ++at) {
    int number = 1;
    if (at > 0) {
      const auto [day, first, second, index] = key(by_day[at]);
      const auto [day_before, first_before, second_before, index_before] = key(by_day[at - 1]);
      if (day == day_before && first == first_before && second == second_before) {
        number = (*games)[index_before].number + 1;
      }
    }
    (*games)[by_day[at]].number = number;
  }
}

}  // namespace

CalendarCollector::CalendarCollector(std::string path, SeasonDays days,
                                     const std::vector<std::string>& kept,
                                     CalendarWarningTaker take)
    : path_(std::move(path)), days_(days), kept_names_(kept), take_(std::move(take)) {
  std::sort(kept_names_.begin(), kept_names_.end());
}

void CalendarCollector::DateBegun(std::string_view date, int64_t) {
  skipped_ = 0;
  first_skipped_.clear();
  problem_.clear();
  day_known_ = failure_.empty() && days_.Take(date, &day_, &problem_);
  if (days_.year_refused() && failure_.empty()) failure_ = path_ + ": " + problem_;
  date_pairs_.clear();
  if (day_known_) {
    day_is_new_ = !any_day_ || day_ > latest_day_;
    if (day_is_new_) latest_day_ = day_;
    any_day_ = true;
  }
}

int32_t CalendarCollector::TeamNumber(std::string_view name) {
  const size_t number = team_numbers_.Number(name);
  if (number == kept_.size()) {
    kept_.push_back(kept_names_.empty() ||
                    std::binary_search(kept_names_.begin(), kept_names_.end(), name));
    team_games_.push_back(0);
  }
  return static_cast<int32_t>(number);
}

void CalendarCollector::GameRead(const SeasonGame& game) {
  if (!failure_.empty()) return;
  if (!day_known_) {
    if (skipped_++ == 0) first_skipped_ = GamePlace(path_, game);
    return;
  }
  if (game.visitor.empty() || game.home.empty()) {
    const char* blank = game.visitor.empty() ? "visitor" : "home team";
    take_(GamePlace(path_, game) + ": a game with no " + blank + " name is left out: " +
          schedule::Quoted(game.visitor.empty() ? game.home : game.visitor) +
          " plays nobody there");
    return;
  }
  // Every name is numbered, so that the season's teams are known whole; the
  // game itself only when the calendar shows one of its teams.
  const int32_t visitor = TeamNumber(game.visitor);
  const int32_t home = TeamNumber(game.home);
  ++team_games_[static_cast<size_t>(visitor)];
  if (home != visitor) ++team_games_[static_cast<size_t>(home)];
  if (!kept_[static_cast<size_t>(visitor)] && !kept_[static_cast<size_t>(home)]) return;
  int number = 1;
  if (day_is_new_) {
    const auto pair = std::minmax(visitor, home);
    const uint64_t key = (static_cast<uint64_t>(pair.first) << 32) | static_cast<uint32_t>(pair.second);
    auto found = std::find_if(date_pairs_.begin(), date_pairs_.end(),
                              [key](const auto& counted) { return counted.first == key; });
    if (found == date_pairs_.end()) {
      date_pairs_.emplace_back(key, 1);
    } else {
      number = ++found->second;
    }
  } else {
    number_at_end_ = true;
  }
  if (spilled_) {
    spill_->Add({day_, visitor, home, number});
    return;
  }
  read_.push_back({day_, visitor, home, number});
  if (spill_ != nullptr && read_.size() > spill_past_) {
    for (const CalendarGame& kept : read_) spill_->Add(kept);
    CalendarGames().swap(read_);
    spilled_ = true;
  }
}

void CalendarCollector::SpillPast(size_t games, CalendarSpill* spill) {
  spill_past_ = games;
  spill_ = spill;
}

void CalendarCollector::DateEnded() {
  if (skipped_ == 0) return;
  const std::string games =
      skipped_ == 1 ? std::string("game is") : std::to_string(skipped_) + " games are";
  take_(first_skipped_ + ": " + problem_ + ": its " + games + " left out");
}

CalendarSeason CalendarCollector::TakeSeason() {
  CalendarSeason season;
  // The names in byte order, and where each number read stands among them.
  const std::vector<size_t> order = team_numbers_.InByteOrder();
  place_.assign(order.size(), 0);
  for (size_t number : order) {
    place_[number] = static_cast<int32_t>(season.teams.size());
    season.teams.push_back(team_numbers_.Name(number));
    season.team_games.push_back(team_games_[number]);
  }
  season.games = std::move(read_);
  read_.clear();
  for (CalendarGame& game : season.games) {
    game.visitor = place_[static_cast<size_t>(game.visitor)];
    game.home = place_[static_cast<size_t>(game.home)];
  }
  if (number_at_end_) NumberByDay(&season.games);
  return season;
}

int CalendarCollector::TakeSpilled(const CalendarKeep& keep, CalendarGames* games) {
  games->clear();
  const int code = spill_->ForEach([&](CalendarGame game) {
    game.visitor = place_[static_cast<size_t>(game.visitor)];
    game.home = place_[static_cast<size_t>(game.home)];
    if (keep(game)) games->push_back(game);
  });
  if (code == 0 && number_at_end_) NumberByDay(games);
  return code;
}

std::string CalendarName(std::string_view name) {
  // Escaped doubles every backslash of the name; one that begins \xNN is
  // its own.
  const std::string escaped = schedule::Escaped(name);
  std::string shown;
  for (size_t at = 0; at < escaped.size(); ++at) {
    if (escaped[at] == '\\' && at + 1 < escaped.size() && escaped[at + 1] == '\\') ++at;
    shown += escaped[at];
  }
  return shown;
}

std::string CalendarShownName(const CalendarSeason& season, int32_t team) {
  const auto index = static_cast<size_t>(team);
  if (index < season.display.size() && !season.display[index].empty()) {
    return season.display[index];
  }
  return CalendarName(season.teams[index]);
}

}  // namespace tool
