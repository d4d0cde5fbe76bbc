#include "tool/season_findings.h"

#include <algorithm>

#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "tool/name_distance.h"
#include "tool/season_reader.h"

namespace tool {

using schedule::Escaped;
using schedule::Quoted;
using schedule::TrimTrailingSpaces;

namespace {

std::string DateText(std::string_view date) { return Escaped(TrimTrailingSpaces(date)); }

std::string GamesText(int64_t games) {
  return std::to_string(games) + (games == 1 ? " game" : " games");
}

// Where the games of one date stand: "line 3", "lines 3 and 4"; "record 2
// slot 1", "record 2 slots 1 and 2" (a date's games share its record).
std::string PlacesText(const std::vector<SeasonGame>& games) {
  const bool text = games.front().line > 0;
  std::string places;
  for (size_t i = 0; i < games.size(); ++i) {
    if (i > 0) places += i + 1 == games.size() ? " and " : ", ";
    places += std::to_string(text ? games[i].line : games[i].slot);
  }
  const char* noun = games.size() == 1 ? (text ? "line " : "slot ") : (text ? "lines " : "slots ");
  if (text) return noun + places;
  return "record " + std::to_string(games.front().record) + " " + noun + places;
}

}  // namespace

std::string GameText(const SeasonGame& game) {
  return "game " + Quoted(game.visitor) + " at " + Quoted(game.home) + " on " +
         DateText(game.date);
}

void SeasonFindings::DateBegun(std::string_view, int64_t) { today_.clear(); }

void SeasonFindings::GameRead(const SeasonGame& game) {
  if (game.visitor.empty() || game.home.empty()) {
    std::string_view named = game.visitor.empty() ? game.home : game.visitor;
    Add(game, "game of " + Quoted(named) + " on " + DateText(game.date) + " names no " +
                  (game.visitor.empty() ? "visitor" : "home team") +
                  ": a game needs two teams");
    CountName(game, named);
    return;
  }
  if (game.visitor == game.home) {
    Add(game, GameText(game) + ": a team plays itself");
    CountName(game, game.visitor);
    CheckDate(game, game.visitor, game.home);
    return;
  }
  CountName(game, game.visitor);
  CountName(game, game.home);
  CheckDate(game, game.visitor, game.home);
  CheckDate(game, game.home, game.visitor);
}

void SeasonFindings::DateEnded() {}

void SeasonFindings::Add(const SeasonGame& game, std::string message) {
  sink_(SeasonFinding{game.line, game.record, game.slot, std::move(message)});
}

void SeasonFindings::CheckDate(const SeasonGame& game, std::string_view team,
                               std::string_view opponent) {
  auto found = std::find_if(today_.begin(), today_.end(),
                            [team](const TeamOnDate& entry) { return entry.team == team; });
  if (found == today_.end()) {
    today_.push_back({std::string(team), {std::string(opponent)}, {game}});
    return;
  }
  TeamOnDate& entry = *found;
  // Two games of one pair on a date are a doubleheader; a second opponent,
  // or a third game, no team can play. Each is said once a team and date:
  // at the second opponent, and at the third game.
  if (entry.games.size() > 2) return;
  if (entry.games.size() == 2) {
    Add(game, GameText(game) + ": " + Quoted(team) + " already plays " +
                  GamesText(static_cast<int64_t>(entry.games.size())) + " on this date (" +
                  PlacesText(entry.games) + "): a team plays at most two games a date");
  } else if (entry.opponents.front() != opponent) {
    Add(game, GameText(game) + ": " + Quoted(team) + " also plays " +
                  Quoted(entry.opponents.front()) + " on this date (" +
                  PlacesText(entry.games) + "): two opponents on one date");
  }
  entry.opponents.push_back(std::string(opponent));
  entry.games.push_back(game);
}

void SeasonFindings::CountName(const SeasonGame& game, std::string_view name) {
  auto found = names_.find(name);
  if (found == names_.end()) {
    found = names_.emplace(std::string(name), NameSeen{}).first;
    found->second.first = SeasonFinding{game.line, game.record, game.slot, ""};
  }
  ++found->second.games;
}

void SeasonFindings::Finish() {
  std::vector<std::pair<std::string_view, int64_t>> regular;
  for (const auto& [name, seen] : names_) {
    if (seen.games >= kRegularTeamGames) regular.emplace_back(name, seen.games);
  }
  for (const auto& [name, seen] : names_) {
    if (seen.games > kRareNameGames) continue;
    // The closest regular team; of several, the one with the most games.
    std::string_view best;
    int64_t best_games = 0;
    for (const auto& [other, games] : regular) {
      size_t longer = std::max(name.size(), other.size());
      size_t shorter = std::min(name.size(), other.size());
      if (longer - shorter > 1 || games <= best_games) continue;
      if (NameDistance(name, other) == 1) {
        best = other;
        best_games = games;
      }
    }
    if (best_games == 0) continue;
    SeasonFinding finding = seen.first;
    finding.message = "team " + Quoted(name) + " plays " + GamesText(seen.games) + ": is it " +
                      Quoted(best) + " (" + GamesText(best_games) + ")?";
    sink_(finding);
  }
}

}  // namespace tool
