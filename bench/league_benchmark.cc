// A real league made again: the 2018 major-league season's matchups, in its
// own window, against the schedule the league played.
//
//   league_benchmark [--effort E] [--seed S] [--season FILE --clubs TEAMS
//                    --start YYYY-MM-DD --end YYYY-MM-DD [--no-games FROM..TO]]
//
// Another year's season (a Retrosheet schedule file), its clubs under the
// names import gives them with their parks, and its window are judged the
// same way with --season, --clubs, --start, --end and --no-games.
//
// Imports testing/seasons/2018SKED.TXT, writes its matchups with
// report --by pair --format csv, and runs
//   generate examples/clubs-2018.csv --matchups M --start 2018-03-29
//     --end 2018-09-30 --no-games 2018-07-16..2018-07-18 --series 2..4
//     --most-in-a-row 4
// (effort 1 unless told). Both texts are then counted the same way: travel
// by report --teams (a team starts at home, goes park to park, home after
// its last game; great-circle km between the parks of examples/), off days
// by report's column, and series (a pair's games at one park on one team's
// consecutive playing dates) from the text. Printed: the table of both, and
// the time generate took (wall clock).
// Goals: less total travel than 2018's, off days no more than 2018's (24 a
// team), under 60 s at effort 1 on the project's 2-core machine.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Run(const std::string& command, int* status) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    *status = -1;
    return output;
  }
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  *status = pclose(pipe);
  return output;
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

// What the table shows of one season.
struct Figures {
  int64_t travel = 0, least_travel = 0, most_travel = 0;
  int least_off = 0, most_off = 0;
  std::map<int, int> series;  // games: series of that length
};

// Travel and off days by report --format csv --teams, series from the text.
bool Count(const std::string& tool, const std::string& clubs, const std::string& text_path,
           Figures* figures) {
  int status = 0;
  const std::string csv =
      Run(tool + " report --format csv --teams " + Quote(clubs) + " " + Quote(text_path) +
              " 2>/dev/null",
          &status);
  if (status != 0) return false;
  std::istringstream rows(csv);
  std::string row;
  std::getline(rows, row);  // the header: ...,travel,off_days
  bool first = true;
  while (std::getline(rows, row)) {
    if (!row.empty() && row.back() == '\r') row.pop_back();
    if (row.empty()) continue;
    const size_t last_comma = row.rfind(','), travel_comma = row.rfind(',', last_comma - 1);
    const int off = std::stoi(row.substr(last_comma + 1));
    const int64_t travel = std::stoll(row.substr(travel_comma + 1, last_comma - travel_comma - 1));
    figures->travel += travel;
    figures->least_travel = first ? travel : std::min(figures->least_travel, travel);
    figures->most_travel = first ? travel : std::max(figures->most_travel, travel);
    figures->least_off = first ? off : std::min(figures->least_off, off);
    figures->most_off = first ? off : std::max(figures->most_off, off);
    first = false;
  }
  // Series: per home team, the visitor of its run of games on its playing
  // dates; a run ends at another visitor or a date it plays away.
  std::ifstream text(text_path, std::ios::binary);
  std::map<std::string, std::pair<std::string, int>> running;  // home: (visitor, games)
  std::map<std::string, int> date_of;                          // team: its last playing date
  int date = 0;
  std::string line;
  auto end_series = [&](const std::string& home) {
    auto found = running.find(home);
    if (found == running.end()) return;
    ++figures->series[found->second.second];
    running.erase(found);
  };
  while (std::getline(text, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '[') {
      ++date;
      continue;
    }
    const std::string visitor = line.substr(0, line.find(' '));
    std::string home = line.substr(9);
    home = home.substr(0, home.find(' '));
    end_series(visitor);  // a team away ends its stand at home
    auto found = running.find(home);
    if (found != running.end() && found->second.first == visitor &&
        date_of[visitor] == date_of[home]) {
      ++found->second.second;
    } else {
      end_series(home);
      running[home] = {visitor, 1};
    }
    date_of[home] = date_of[visitor] = date;
  }
  std::vector<std::string> homes;
  for (const auto& [home, series] : running) homes.push_back(home);
  for (const std::string& home : homes) end_series(home);
  return true;
}

std::string SeriesText(const Figures& figures) {
  std::string text;
  for (const auto& [games, count] : figures.series) {
    text += (text.empty() ? "" : ", ") + std::to_string(count) + " of " + std::to_string(games);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string effort = "1", seed = "1", season = ZELTO_SEASON_2018, clubs = ZELTO_CLUBS_2018;
  std::string first = "2018-03-29", last = "2018-09-30", no_games = "2018-07-16..2018-07-18";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--effort") effort = argv[i + 1];
    if (option == "--seed") seed = argv[i + 1];
    if (option == "--season") season = argv[i + 1];
    if (option == "--clubs") clubs = argv[i + 1];
    if (option == "--start") first = argv[i + 1];
    if (option == "--end") last = argv[i + 1];
    if (option == "--no-games") no_games = argv[i + 1];
  }
  const std::string tool = ZELTO_SCHEDULE_TOOL;
  const std::string folder = ZELTO_BENCH_DATA;
  int status = 0;
  Run("mkdir -p " + Quote(folder), &status);
  const std::string played = folder + "/league-played.txt",
                    matchups = folder + "/league-matchups.csv", made = folder + "/league-made.txt";
  Run(tool + " import --output " + Quote(played) + " " + Quote(season) + " 2>&1",
      &status);
  if (status != 0) return std::fprintf(stderr, "import failed\n"), 1;
  Run(tool + " report --by pair --format csv --output " + Quote(matchups) + " " + Quote(played),
      &status);
  if (status != 0) return std::fprintf(stderr, "report --by pair failed\n"), 1;
  const auto start = std::chrono::steady_clock::now();
  const std::string summary =
      Run(tool + " generate " + Quote(clubs) + " --matchups " + Quote(matchups) +
              " --start " + first + " --end " + last +
              (no_games.empty() ? "" : " --no-games " + no_games) +
              " --series 2..4 --most-in-a-row 4 --effort " +
              effort + " --seed " + seed + " --output " + Quote(made) + " 2>&1",
          &status);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (status != 0) return std::fprintf(stderr, "generate failed:\n%s", summary.c_str()), 1;
  Figures as_played, ours;
  if (!Count(tool, clubs, played, &as_played) || !Count(tool, clubs, made, &ours)) {
    return std::fprintf(stderr, "report --teams failed\n"), 1;
  }
  std::printf("%s in its window (%s to %s, no games %s), effort %s, seed %s\n\n",
              season.c_str(), first.c_str(), last.c_str(),
              no_games.empty() ? "none" : no_games.c_str(), effort.c_str(), seed.c_str());
  std::printf("| | as played | generated |\n|---|---|---|\n");
  std::printf("| travel in all (km) | %lld | %lld (%+.1f%%) |\n",
              static_cast<long long>(as_played.travel), static_cast<long long>(ours.travel),
              100.0 * (static_cast<double>(ours.travel) / static_cast<double>(as_played.travel) - 1));
  std::printf("| travel of a team, least (km) | %lld | %lld |\n",
              static_cast<long long>(as_played.least_travel),
              static_cast<long long>(ours.least_travel));
  std::printf("| travel of a team, most (km) | %lld | %lld |\n",
              static_cast<long long>(as_played.most_travel),
              static_cast<long long>(ours.most_travel));
  std::printf("| off days a team | %d to %d | %d to %d |\n", as_played.least_off,
              as_played.most_off, ours.least_off, ours.most_off);
  std::printf("| series of 2, 3, 4 ... games | %s | %s |\n", SeriesText(as_played).c_str(),
              SeriesText(ours).c_str());
  std::printf("| time (wall clock) | | %.1f s |\n", seconds);
  return 0;
}
