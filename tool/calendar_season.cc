#include "tool/calendar_season.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "schedule/shown_text.h"

namespace tool {

void CalendarCollector::DateBegun(std::string_view date, int64_t) {
  skipped_ = 0;
  first_skipped_.clear();
  problem_.clear();
  day_known_ = failure_.empty() && days_.Take(date, &day_, &problem_);
  if (days_.year_refused() && failure_.empty()) failure_ = path_ + ": " + problem_;
}

int32_t CalendarCollector::TeamNumber(std::string_view name) {
  auto found = numbers_.find(name);
  if (found != numbers_.end()) return found->second;
  const auto number = static_cast<int32_t>(numbers_.size());
  numbers_.emplace(std::string(name), number);
  return number;
}

void CalendarCollector::GameRead(const SeasonGame& game) {
  if (!failure_.empty()) return;
  if (!day_known_) {
    if (skipped_++ == 0) first_skipped_ = GamePlace(path_, game);
    return;
  }
  if (game.visitor.empty() || game.home.empty()) {
    const char* blank = game.visitor.empty() ? "visitor" : "home team";
    warnings_.push_back(GamePlace(path_, game) + ": a game with no " + blank +
                        " name is left out: " +
                        schedule::Quoted(game.visitor.empty() ? game.home : game.visitor) +
                        " plays nobody there");
    return;
  }
  read_.push_back({day_, TeamNumber(game.visitor), TeamNumber(game.home), 1});
}

void CalendarCollector::DateEnded() {
  if (skipped_ == 0) return;
  const std::string games =
      skipped_ == 1 ? std::string("game is") : std::to_string(skipped_) + " games are";
  warnings_.push_back(first_skipped_ + ": " + problem_ + ": its " + games + " left out");
}

CalendarSeason CalendarCollector::TakeSeason() {
  CalendarSeason season;
  // The names in byte order, and where each number read stands among them.
  std::vector<int32_t> place(numbers_.size());
  for (const auto& [name, number] : numbers_) {
    place[static_cast<size_t>(number)] = static_cast<int32_t>(season.teams.size());
    season.teams.push_back(name);
  }
  // The games of two teams on one day count up in the order of the file,
  // whichever of them is at home.
  std::map<std::tuple<std::chrono::sys_days, int32_t, int32_t>, int> played;
  season.games = std::move(read_);
  for (CalendarGame& game : season.games) {
    game.visitor = place[static_cast<size_t>(game.visitor)];
    game.home = place[static_cast<size_t>(game.home)];
    auto pair = std::minmax(game.visitor, game.home);
    game.number = ++played[{game.day, pair.first, pair.second}];
  }
  read_.clear();
  numbers_.clear();
  return season;
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

std::vector<CalendarGame> GamesOfTeams(const CalendarSeason& season,
                                       const std::vector<int32_t>& teams) {
  std::vector<bool> asked(season.teams.size(), false);
  for (int32_t team : teams) asked[static_cast<size_t>(team)] = true;
  std::vector<CalendarGame> games;
  for (const CalendarGame& game : season.games) {
    if (asked[static_cast<size_t>(game.visitor)] || asked[static_cast<size_t>(game.home)]) {
      games.push_back(game);
    }
  }
  return games;
}

}  // namespace tool
