#include "fuzz/report_counts_check.h"

#include <map>
#include <utility>
#include <vector>

#include "files/file_access.h"
#include "files/memory_files.h"
#include "frame/error_word.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_record.h"
#include "tool/report/season_counts.h"
#include "tool/season/season_reader.h"
#include "tool/tool_input.h"

namespace fuzz {
namespace {

// Every game as told, kept whole: the plain recount the counter is held to.
class GameList : public tool::SeasonListener {
 public:
  struct Game {
    std::string visitor, home;
  };
  void DateBegun(std::string_view, int64_t) override {}
  void GameRead(const tool::SeasonGame& game) override {
    games.push_back({std::string(game.visitor), std::string(game.home)});
  }
  void DateEnded() override {}
  std::vector<Game> games;
};

// Tells the counter and the list alike.
class Both : public tool::SeasonListener {
 public:
  Both(tool::SeasonCounter* counter, GameList* list) : counter_(counter), list_(list) {}
  void DateBegun(std::string_view date, int64_t record) override {
    counter_->DateBegun(date, record);
    list_->DateBegun(date, record);
  }
  void GameRead(const tool::SeasonGame& game) override {
    counter_->GameRead(game);
    list_->GameRead(game);
  }
  void DateEnded() override {
    counter_->DateEnded();
    list_->DateEnded();
  }

 private:
  tool::SeasonCounter* counter_;
  GameList* list_;
};

struct Counted {
  bool read = false;
  std::vector<tool::TeamCounts> teams;
  std::vector<tool::PairCounts> pairs;
  tool::SeasonTotals totals;
  GameList list;
};

Counted Count(std::string_view bytes) {
  Counted counted;
  if (files::OpenMemoryInput(tool::kToolInputFile, bytes, 4096) != 0) return counted;
  tool::SeasonCounter counter;
  Both both(&counter, &counted.list);
  tool::SeasonKind kind;
  std::string failure;
  counted.read = tool::ReadOpenSeason("season", &both, &kind, &failure);
  files::CloseAllFiles();
  counted.teams = counter.TeamRows();
  counted.pairs = counter.PairRows();
  counted.totals = counter.Totals();
  return counted;
}

std::string CheckCounted(const Counted& counted) {
  // The plain recount: by name, games home and away, and by ordered pair.
  std::map<std::string, std::pair<int64_t, int64_t>> teams;  // home, away
  std::map<std::pair<std::string, std::string>, std::pair<int64_t, int64_t>> pairs;
  for (const GameList::Game& game : counted.list.games) {
    if (!game.home.empty()) ++teams[game.home].first;
    if (!game.visitor.empty()) ++teams[game.visitor].second;
    if (!game.home.empty() && !game.visitor.empty()) {
      ++pairs[{game.home, game.visitor}].first;
      ++pairs[{game.visitor, game.home}].second;
    }
  }
  if (counted.totals.games != static_cast<int64_t>(counted.list.games.size())) {
    return "the season's games are not the games told";
  }
  if (counted.teams.size() != teams.size()) return "teams counted other than the names told";
  for (const tool::TeamCounts& team : counted.teams) {
    auto found = teams.find(team.team);
    if (found == teams.end()) return "a team counted that no game names";
    if (team.home + team.away != team.games) return "home + away is not the games of " + team.team;
    if (team.home != found->second.first || team.away != found->second.second) {
      return "the home or away games of " + team.team + " differ from a recount";
    }
    if (team.longest_home_stand > team.home || team.longest_road_trip > team.away ||
        2 * team.doubleheader_dates > team.games) {
      return "a stand, trip or doubleheader count of " + team.team + " beyond its games";
    }
    int64_t opponents = 0;
    for (const auto& [key, games] : pairs) opponents += key.first == team.team ? 1 : 0;
    if (team.opponents != opponents) return "the opponents of " + team.team + " differ";
  }
  if (counted.pairs.size() != pairs.size()) return "pairs counted other than the pairs that meet";
  std::map<std::pair<std::string, std::string>, const tool::PairCounts*> by_pair;
  for (const tool::PairCounts& pair : counted.pairs) by_pair[{pair.team, pair.opponent}] = &pair;
  for (const tool::PairCounts& pair : counted.pairs) {
    if (pair.home + pair.away != pair.games) return "a pair's home + away is not its games";
    auto recount = pairs.find({pair.team, pair.opponent});
    if (recount == pairs.end() || recount->second.first != pair.home ||
        recount->second.second != pair.away) {
      return "the games of " + pair.team + " against " + pair.opponent + " differ from a recount";
    }
    auto other = by_pair.find({pair.opponent, pair.team});
    if (other == by_pair.end() || other->second->games != pair.games ||
        other->second->home != pair.away || other->second->away != pair.home) {
      return "the games of " + pair.team + " and " + pair.opponent + " differ by side";
    }
  }
  return "";
}

bool SameCounts(const Counted& a, const Counted& b) {
  if (a.teams.size() != b.teams.size() || a.pairs.size() != b.pairs.size()) return false;
  for (size_t i = 0; i < a.teams.size(); ++i) {
    const tool::TeamCounts &x = a.teams[i], &y = b.teams[i];
    if (x.team != y.team || x.games != y.games || x.home != y.home || x.away != y.away ||
        x.doubleheader_dates != y.doubleheader_dates ||
        x.longest_home_stand != y.longest_home_stand ||
        x.longest_road_trip != y.longest_road_trip || x.opponents != y.opponents) {
      return false;
    }
  }
  for (size_t i = 0; i < a.pairs.size(); ++i) {
    const tool::PairCounts &x = a.pairs[i], &y = b.pairs[i];
    if (x.team != y.team || x.opponent != y.opponent || x.home != y.home || x.away != y.away) {
      return false;
    }
  }
  return a.totals.games == b.totals.games && a.totals.dates == b.totals.dates &&
         a.totals.most_games_on_a_date == b.totals.most_games_on_a_date;
}

std::string Check(std::string_view input) {
  const Counted text = Count(input);
  if (!text.read) return "";  // no season at all: nothing counted
  if (std::string problem = CheckCounted(text); !problem.empty()) return problem;

  // The schedule file built from the text counts the same.
  std::string built;
  if (files::OpenMemoryInput(schedule::kInputFile, input, 4096) != 0 ||
      files::OpenMemoryRecords(schedule::kScheduleFile, schedule::kRecordLength, 4096, &built) != 0) {
    files::CloseAllFiles();
    return "";
  }
  if (!schedule::BuildIntoOpenSchedule().Succeeded()) return "";  // a schedule file given as the text
  const Counted schedule_file = Count(built);
  if (!schedule_file.read) return "the schedule file built from the season cannot be read back";
  if (!SameCounts(text, schedule_file)) return "the schedule file counts other than its text";
  return "";
}

}  // namespace

std::string CheckReportCounts(std::string_view input) {
  std::string problem = Check(input);
  frame::ResetErrorWord();
  return problem;
}

}  // namespace fuzz
