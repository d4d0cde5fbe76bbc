#include "tool/export/export_season.h"

#include <utility>

#include "schedule/messages.h"
#include "schedule/shown_text.h"

namespace tool {

using schedule::Quoted;

namespace {

// Two games are of one pair when they are between the same two teams,
// whichever is at home.
bool SamePair(const std::string& a_visitor, const std::string& a_home, const std::string& b_visitor,
              const std::string& b_home) {
  return (a_visitor == b_visitor && a_home == b_home) || (a_visitor == b_home && a_home == b_visitor);
}

}  // namespace

SeasonExporter::SeasonExporter(std::string path, const TeamsFile& teams, std::string teams_path,
                               SeasonDays days, RowSink sink)
    : path_(std::move(path)),
      teams_path_(std::move(teams_path)),
      days_(days),
      sink_(std::move(sink)) {
  for (const TeamEntry& team : teams.teams) entries_.emplace(team.name, &team);
}

void SeasonExporter::DateBegun(std::string_view date, int64_t) {
  games_.clear();
  next_slot_ = 1;
  if (stopped_) return;
  date_ = std::string(schedule::TrimTrailingSpaces(date));
  day_known_ = days_.Take(date, &day_, &day_problem_);
  if (days_.year_refused()) {
    Error(path_ + ": " + day_problem_);
    stopped_ = true;
  }
}

void SeasonExporter::GameRead(const SeasonGame& game) {
  if (stopped_) return;
  std::string place = GamePlace(path_, game);
  if (const int blank = game.slot - next_slot_; blank > 0) {
    Warn(place + ": " + (blank == 1 ? "the slot" : std::to_string(blank) + " slots") +
         " before this game on " + Quoted(date_) + (blank == 1 ? " holds" : " hold") +
         " no game (a blank line, or options with no teams): a season file has no row for it, "
         "and importing the export gives no blank slot back");
  }
  next_slot_ = game.slot + 1;
  if (game.visitor.empty() || game.home.empty()) {
    Error(place + ": a game with only one team name: a season file's row names two teams");
    return;
  }
  const std::string shown =
      "game " + Quoted(game.visitor) + " at " + Quoted(game.home) + " on " + Quoted(date_);
  if (!game.options.empty()) {
    Warn(place + ": " + shown + " has options " + Quoted(game.options) +
         ": a season file has no place for them, and importing the export leaves them out");
  }
  // The teams are checked here, so that a team is told where the season
  // first names it.
  TeamFor(game.visitor, place);
  TeamFor(game.home, place);
  games_.push_back(Game{std::string(game.visitor), std::string(game.home), std::move(place)});
}

void SeasonExporter::DateEnded() {
  if (stopped_) return;
  if (games_.empty()) {
    Warn(path_ + ": date " + Quoted(date_) +
         " holds no game: a season file has no row for it, and importing the export leaves it out");
    return;
  }
  const std::string& place = games_.front().place;
  if (!day_known_) {
    Error(place + ": " + day_problem_ + ": a season file's row needs a real day");
    return;
  }
  if (have_last_ && day_ <= last_day_) {
    if (day_ == last_day_) {
      Error(place + ": date " + Quoted(date_) + " comes again after the date's games at " +
            last_place_ + ": importing the export would make the two dates one");
    } else {
      Error(place + ": date " + Quoted(date_) + " is earlier than " + Quoted(last_date_) + " at " +
            last_place_ + ": a season file's rows go in date order, and import refuses them out of it");
    }
    return;
  }
  have_last_ = true;
  last_day_ = day_;
  last_date_ = date_;
  last_place_ = place;
  WriteDate();
}

SeasonExporter::Team* SeasonExporter::TeamFor(std::string_view name, const std::string& place) {
  auto known = teams_.find(name);
  if (known == teams_.end()) {
    Team team;
    if (auto entry = entries_.find(name); entry != entries_.end()) team.entry = entry->second;
    std::string problem;
    if (team.entry == nullptr) {
      problem = "is not in TEAMS " + Quoted(teams_path_) + ": give it a row there with its code and league";
    } else if (team.entry->code.empty() || team.entry->league.empty()) {
      problem = std::string("has no ") +
                (team.entry->code.empty() ? team.entry->league.empty() ? "code or league" : "code"
                                          : "league") +
                " in TEAMS " + Quoted(teams_path_) + " (line " + std::to_string(team.entry->line) +
                "): give it its code and league there";
    }
    if (!problem.empty()) {
      team.refused = true;
      Error(place + ": team " + Quoted(name) + " " + problem);
    }
    known = teams_.emplace(std::string(name), team).first;
  }
  return known->second.refused ? nullptr : &known->second;
}

void SeasonExporter::WriteDate() {
  const std::string date = DigitsDate(day_);
  const char* weekday = kWeekdayNames[std::chrono::weekday{day_}.c_encoding()];
  for (size_t i = 0; i < games_.size(); ++i) {
    const Game& game = games_[i];
    // Its number among the games of its pair on this date, and how many
    // they are.
    int number = 0, games = 0;
    for (size_t j = 0; j < games_.size(); ++j) {
      if (!SamePair(game.visitor, game.home, games_[j].visitor, games_[j].home)) continue;
      ++games;
      if (j <= i) ++number;
    }
    if (number == 3) {
      Error(game.place + ": game " + Quoted(game.visitor) + " at " + Quoted(game.home) +
            " is the third game of the two teams on " + Quoted(date_) +
            ": a season file numbers a pair's games on one date 1 and 2, no more");
    }
    Team* visitor = TeamFor(game.visitor, game.place);
    Team* home = TeamFor(game.home, game.place);
    if (visitor == nullptr || home == nullptr || number > 2) continue;
    const int64_t visitor_game = ++visitor->games;
    const int64_t home_game = ++home->games;
    ++report_.rows;
    if (report_.error_count != 0) continue;
    row_.clear();
    row_.push_back('"');
    row_.append(date).append("\",\"");
    row_.push_back(games == 1 ? '0' : static_cast<char>('0' + number));
    row_.append("\",\"").append(weekday).append("\",\"");
    row_.append(visitor->entry->code).append("\",\"").append(visitor->entry->league).append("\",");
    row_.append(std::to_string(visitor_game)).append(",\"");
    row_.append(home->entry->code).append("\",\"").append(home->entry->league).append("\",");
    row_.append(std::to_string(home_game)).append(",\"d\",\"\",\"\"\r\n");
    sink_(row_);
  }
}

void SeasonExporter::Finish() {
  if (report_.rows == 0 && report_.error_count == 0) Error(path_ + ": no game: nothing to export");
  if (int hidden = report_.error_count - kMaxShownExportLines; hidden > 0) {
    report_.errors.push_back(path_ + ": " + schedule::NotShownText(hidden, "error", "errors"));
  }
  if (int hidden = report_.warning_count - kMaxShownExportLines; hidden > 0) {
    report_.warnings.push_back(path_ + ": " + schedule::NotShownText(hidden, "warning", "warnings"));
  }
}

void SeasonExporter::Error(const std::string& message) {
  if (++report_.error_count <= kMaxShownExportLines) report_.errors.push_back(message);
}

void SeasonExporter::Warn(const std::string& message) {
  if (++report_.warning_count <= kMaxShownExportLines) report_.warnings.push_back(message);
}

}  // namespace tool
