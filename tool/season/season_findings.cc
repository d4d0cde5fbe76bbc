#include "tool/season/season_findings.h"

#include <algorithm>

#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "tool/name_distance.h"

namespace tool {

using schedule::Escaped;
using schedule::Quoted;
using schedule::TrimTrailingSpaces;

namespace {

std::string DateText(std::string_view date) { return Escaped(TrimTrailingSpaces(date)); }

std::string GamesText(int64_t games) {
  return std::to_string(games) + (games == 1 ? " game" : " games");
}

// "game "V" at "H" on 04/10/45": a game as findings name it.
std::string GameText(const SeasonGame& game) {
  return "game " + Quoted(game.visitor) + " at " + Quoted(game.home) + " on " +
         DateText(game.date);
}

}  // namespace

void SeasonFindings::DateBegun(std::string_view, int64_t) {
  for (const TeamOnDate& entry : today_) today_place_[entry.team] = 0;
  today_.clear();
}

void SeasonFindings::GameRead(const SeasonGame& game) {
  if (game.visitor.empty() || game.home.empty()) {
    std::string_view named = game.visitor.empty() ? game.home : game.visitor;
    Add(game, "game of " + Quoted(named) + " on " + DateText(game.date) + " names no " +
                  (game.visitor.empty() ? "visitor" : "home team") + ": a game needs two teams");
    CountName(game, named);
    return;
  }
  const size_t visitor = CountName(game, game.visitor);
  if (game.visitor == game.home) {
    Add(game, GameText(game) + ": a team plays itself");
    CheckDate(game, visitor, visitor);
    return;
  }
  const size_t home = CountName(game, game.home);
  CheckDate(game, visitor, home);
  CheckDate(game, home, visitor);
}

void SeasonFindings::DateEnded() {}

void SeasonFindings::Add(const SeasonGame& game, std::string message) {
  sink_(SeasonFinding{game.line, game.record, game.slot, std::move(message)});
}

// Where the games of one date stand: "line 3", "lines 3 and 4"; "record 2
// slot 1", "record 2 slots 1 and 2" (a date's games share its record).
std::string SeasonFindings::PlacesText(const Place* places, int count) {
  const bool text = places[0].line > 0;
  std::string numbers;
  for (int i = 0; i < count; ++i) {
    if (i > 0) numbers += i + 1 == count ? " and " : ", ";
    numbers += std::to_string(text ? places[i].line : places[i].slot);
  }
  const char* noun = count == 1 ? (text ? "line " : "slot ") : (text ? "lines " : "slots ");
  if (text) return noun + numbers;
  return "record " + std::to_string(places[0].record) + " " + noun + numbers;
}

void SeasonFindings::CheckDate(const SeasonGame& game, size_t team, size_t opponent) {
  const Place here{game.line, game.record, game.slot};
  // Found by the team's number: a date's games are looked at millions of
  // times in a large season.
  if (today_place_.size() <= team) today_place_.resize(team_numbers_.size(), 0);
  if (today_place_[team] == 0) {
    today_place_[team] = today_.size() + 1;
    TeamOnDate& entry = today_.emplace_back();
    entry.team = team;
    entry.opponent = opponent;
    entry.games = 1;
    entry.places[0] = here;
    return;
  }
  TeamOnDate& entry = today_[today_place_[team] - 1];
  // Two games of one pair on a date are a doubleheader; a second opponent,
  // or a third game, no team can play. Each is said once a team and date:
  // at the second opponent, and at the third game.
  const std::string& name = team_numbers_.Name(team);
  if (entry.games == 2) {
    Add(game, GameText(game) + ": " + Quoted(name) + " already plays 2 games on this date (" +
                  PlacesText(entry.places, 2) + "): a team plays at most two games a date");
  } else if (entry.games == 1 && entry.opponent != opponent) {
    Add(game, GameText(game) + ": " + Quoted(name) + " also plays " +
                  Quoted(team_numbers_.Name(entry.opponent)) + " on this date (" +
                  PlacesText(entry.places, 1) + "): two opponents on one date");
  }
  if (entry.games < 2) entry.places[entry.games] = here;
  ++entry.games;
}

size_t SeasonFindings::CountName(const SeasonGame& game, std::string_view name) {
  const size_t number = team_numbers_.Number(name);
  if (number == games_.size()) {
    games_.push_back(0);
    first_places_.push_back(Place{game.line, game.record, game.slot});
  }
  ++games_[number];
  return number;
}

void SeasonFindings::Finish() {
  std::vector<size_t> regular;
  for (size_t number = 0; number < team_numbers_.size(); ++number) {
    if (games_[number] >= kRegularTeamGames) regular.push_back(number);
  }
  for (size_t number : team_numbers_.InByteOrder()) {
    if (games_[number] > kRareNameGames) continue;
    const std::string& name = team_numbers_.Name(number);
    // The closest regular team; of several, one of the same length first (a
    // byte mistyped or two swapped, rather than one dropped or added), then
    // the one with the most games.
    size_t best = 0;
    int64_t best_games = 0;
    bool best_same_length = false;
    for (size_t other : regular) {
      const std::string& other_name = team_numbers_.Name(other);
      size_t longer = std::max(name.size(), other_name.size());
      size_t shorter = std::min(name.size(), other_name.size());
      const bool same_length = longer == shorter;
      if (longer - shorter > 1 || (same_length == best_same_length && games_[other] <= best_games) ||
          (best_same_length && !same_length)) {
        continue;
      }
      if (NameDistance(name, other_name) == 1) {
        best = other;
        best_games = games_[other];
        best_same_length = same_length;
      }
    }
    if (best_games == 0) continue;
    const Place& first = first_places_[number];
    sink_(SeasonFinding{first.line, first.record, first.slot,
                        "team " + Quoted(name) + " plays " + GamesText(games_[number]) +
                            ": is it " + Quoted(team_numbers_.Name(best)) + " (" +
                            GamesText(best_games) + ")?"});
  }
}

}  // namespace tool
