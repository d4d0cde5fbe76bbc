// The travel search measured: generate's seasons with the parks' distances
// against the best totals known, and against the same seasons without them.
//
//   travel_benchmark [FOLDER] [--efforts 1,10] [--no-leagues | --leagues] [--only nl8,circ16]
//                    [--seed N]
//
// 1. Each travelling tournament instance of FOLDER (default the copy in
//    tool/generate/ttp): NAME.teams and NAME.dist, its best known total in
//    FOLDER/optima.txt ("NAME TOTAL" lines). The instance is generate's
//    --meetings 2 --series 1 --most-in-a-row 3: a compact double round robin,
//    at most 3 home or away in a row, no repeaters. Printed: our total, the
//    best known, the gap and the time (wall clock, and the processor time of
//    both chains), at each effort.
// 2. circ and con instances of 10 to 16 teams made here by their formulas
//    (circ: the shorter way round a circle of the teams; con: every distance
//    1): our totals and times beside the best totals known (kBestKnown).
// 3. A 16-team league of two divisions in series of 3 with places (16 cities
//    of North America, great-circle distances in km), and the same league
//    without distances, its travel counted with the same table: both totals
//    and the saving.
// 4. A 30-team league in series with places: the time at effort 1, and its
//    saving.
// --only runs the instances named (and no leagues), --leagues the leagues
// alone; --seed gives the search another seed (1 unless told), the leagues'
// too.
// Goals: the instances of up to 8 teams at their best known total at
// effort 10; effort 1 under 10 s for 16 teams and under 60 s for the 30-team
// league; a league with places travelling at least 30% less than without.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tool/generate/generate_season.h"
#include "tool/generate/generate_teams.h"
#include "tool/season/distance_table.h"

namespace {

struct City {
  const char* name;
  double latitude, longitude;
};

// Thirty cities of North America (degrees); the first 16 make the league of
// two divisions, the first 8 its East.
constexpr City kCities[] = {
    {"BOS", 42.36, -71.06},  {"NYC", 40.71, -74.01},  {"PHI", 39.95, -75.17},
    {"BAL", 39.29, -76.61},  {"WAS", 38.91, -77.04},  {"PIT", 40.44, -79.99},
    {"CLE", 41.50, -81.69},  {"DET", 42.33, -83.05},  {"CHI", 41.88, -87.63},
    {"MIL", 43.04, -87.91},  {"MIN", 44.98, -93.27},  {"STL", 38.63, -90.20},
    {"KC", 39.10, -94.58},   {"DEN", 39.74, -104.99}, {"PHX", 33.45, -112.07},
    {"LA", 34.05, -118.24},  {"SD", 32.72, -117.16},  {"SF", 37.77, -122.42},
    {"SEA", 47.61, -122.33}, {"HOU", 29.76, -95.37},  {"DAL", 32.78, -96.80},
    {"ATL", 33.75, -84.39},  {"MIA", 25.76, -80.19},  {"TB", 27.95, -82.46},
    {"CIN", 39.10, -84.51},  {"TOR", 43.65, -79.38},  {"MON", 45.50, -73.57},
    {"SLC", 40.76, -111.89}, {"NSH", 36.16, -86.78},  {"CLT", 35.23, -80.84},
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// "T1", "d0": a prefix and a number. (Built by appending: g++ 12 warns of a
// false overlap on a literal added to a temporary string.)
std::string Numbered(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

tool::League LeagueOf(const std::vector<std::string>& names, int divisions) {
  tool::League league;
  for (size_t t = 0; t < names.size(); ++t) {
    const int division = divisions > 0 ? static_cast<int>(t * divisions / names.size()) : 0;
    league.teams.push_back(
        tool::LeagueTeam{names[t], divisions > 0 ? Numbered("d", division) : "",
                         static_cast<int>(t + 1)});
    league.division_of.push_back(division);
  }
  league.division_count = divisions;
  return league;
}

tool::DistanceTable TableOf(int teams, int64_t (*distance)(int, int, int)) {
  tool::DistanceTable table;
  table.teams = teams;
  for (int a = 0; a < teams; ++a) {
    for (int b = 0; b < teams; ++b) table.distance.push_back(distance(a, b, teams));
  }
  return table;
}

int64_t Circle(int a, int b, int teams) {
  const int apart = std::abs(a - b);
  return std::min(apart, teams - apart);
}
int64_t Constant(int a, int b, int) { return a == b ? 0 : 1; }
int64_t GreatCircle(int a, int b, int) {
  constexpr double kRadians = 3.14159265358979323846 / 180, kEarthKm = 6371;
  const City& x = kCities[a];
  const City& y = kCities[b];
  const double dlat = (y.latitude - x.latitude) * kRadians;
  const double dlon = (y.longitude - x.longitude) * kRadians;
  const double h = std::sin(dlat / 2) * std::sin(dlat / 2) +
                   std::cos(x.latitude * kRadians) * std::cos(y.latitude * kRadians) *
                       std::sin(dlon / 2) * std::sin(dlon / 2);
  return std::llround(2 * kEarthKm * std::asin(std::sqrt(h)));
}

struct Run {
  bool ok = false;
  int64_t travel = 0;
  double seconds = 0;      // wall-clock time
  double cpu_seconds = 0;  // processor time of both chains
  std::string problem;
};

// Generates the season and counts its travel by `counted` (the table the
// season was made with, or one it was made without).
Run Generate(const tool::League& league, tool::SeasonRules rules,
             const tool::DistanceTable& counted) {
  std::string problem;
  tool::ParseDay("2027-04-05", &rules.calendar.start, &problem);
  Run run;
  tool::GeneratedSeason season;
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpu_start = std::clock();
  run.ok = tool::GenerateSeason(league, rules, &season, &run.problem);
  run.cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!run.ok) return run;
  tool::AddTravel(season.rounds, counted, &season.summary);
  run.travel = season.summary.travel;
  return run;
}

// What the command line asks for.
struct Options {
  std::string folder = ZELTO_TTP_DIR;
  std::vector<int> efforts = {1, 10};
  bool leagues = true;
  bool instances = true;  // --leagues: the leagues alone
  std::vector<std::string> only;  // the instances to run; empty: all
  uint64_t seed = 1;
};

bool Wanted(const Options& options, const std::string& name) {
  if (options.only.empty()) return true;
  for (const std::string& one : options.only) {
    if (one == name) return true;
  }
  return false;
}

tool::SeasonRules TtpRules(const tool::DistanceTable& table, int effort, uint64_t seed) {
  tool::SeasonRules rules;
  rules.seed = seed;
  rules.meetings = 2;
  rules.series_length = 1;
  rules.most_in_a_row = 3;
  rules.distances = table;
  rules.effort = effort;
  return rules;
}

std::string Cell(const Run& run, int64_t best) {
  char text[96];
  if (!run.ok) return "  failed: " + run.problem;
  char gap[16] = "";
  if (best > 0) {
    std::snprintf(gap, sizeof gap, "%6.2f%%",
                  100.0 * static_cast<double>(run.travel - best) / static_cast<double>(best));
  }
  std::snprintf(text, sizeof text, "%9lld %7s %7.2f s %7.2f s", static_cast<long long>(run.travel),
                gap, run.seconds, run.cpu_seconds);
  return text;
}

void PrintHeader(const std::vector<int>& efforts) {
  std::printf("%-10s %5s %9s", "instance", "teams", "best");
  for (int effort : efforts) {
    std::printf(" | effort %-3d %7s %7s %9s", effort, "total", "gap", "time (cpu)");
  }
  std::printf("\n");
}

void PrintInstance(const std::string& name, const tool::League& league,
                   const tool::DistanceTable& table, int64_t best, const Options& options) {
  std::printf("%-10s %5zu %9s", name.c_str(), league.teams.size(),
              best > 0 ? std::to_string(best).c_str() : "-");
  for (int effort : options.efforts) {
    std::printf(" | %s",
                Cell(Generate(league, TtpRules(table, effort, options.seed), table), best).c_str());
    std::fflush(stdout);
  }
  std::printf("\n");
}

// The instances of `folder`, in the order of its optima file.
void Instances(const Options& options) {
  const std::string& folder = options.folder;
  std::istringstream optima(ReadFile(folder + "/optima.txt"));
  std::printf("Travelling tournament instances of %s (generate --meetings 2 --series 1 "
              "--most-in-a-row 3)\n",
              folder.c_str());
  PrintHeader(options.efforts);
  std::string line;
  while (std::getline(optima, line)) {
    std::istringstream words(line);
    std::string name;
    long long best = 0;
    if (line.empty() || line[0] == '#' || !(words >> name >> best)) continue;
    if (!Wanted(options, name)) continue;
    tool::League league;
    std::vector<std::string> errors;
    const std::string teams_path = folder + "/" + name + ".teams";
    const std::string dist_path = folder + "/" + name + ".dist";
    tool::DistanceTable table;
    std::vector<std::string> names;
    if (tool::ReadLeague(ReadFile(teams_path), teams_path, &league, &errors)) {
      for (const tool::LeagueTeam& team : league.teams) names.push_back(team.name);
      tool::ReadDistanceTable(ReadFile(dist_path), dist_path, names, &table, &errors);
    }
    if (!errors.empty()) {
      std::printf("%-10s %s\n", name.c_str(), errors.front().c_str());
      continue;
    }
    PrintInstance(name, league, table, best, options);
  }
}

// The best totals known for the instances made here by their rule, as the
// travelling tournament pages list them (circ10 and con10 to con16 proven
// optimal).
struct Known {
  const char* name;
  int64_t best;
};
constexpr Known kBestKnown[] = {
    {"circ10", 242}, {"circ12", 400}, {"circ14", 616}, {"circ16", 898},
    {"con10", 124},  {"con12", 181},  {"con14", 252},  {"con16", 327},
};

int64_t BestKnown(const std::string& name) {
  for (const Known& known : kBestKnown) {
    if (name == known.name) return known.best;
  }
  return 0;
}

void MadeInstances(const Options& options) {
  std::printf("\ncirc and con instances made here by their rule\n");
  PrintHeader(options.efforts);
  for (auto [family, distance] : {std::pair{"circ", &Circle}, std::pair{"con", &Constant}}) {
    for (int teams = 10; teams <= 16; teams += 2) {
      const std::string instance = Numbered(family, teams);
      if (!Wanted(options, instance)) continue;
      std::vector<std::string> names;
      for (int t = 0; t < teams; ++t) names.push_back(Numbered("T", t + 1));
      PrintInstance(instance, LeagueOf(names, 0), TableOf(teams, distance), BestKnown(instance),
                    options);
    }
  }
}

// A league with places against the same league without: totals and saving.
void WithAndWithout(const char* title, int teams, int divisions, tool::SeasonRules rules) {
  std::vector<std::string> names;
  for (int t = 0; t < teams; ++t) names.push_back(kCities[t].name);
  const tool::League league = LeagueOf(names, divisions);
  const tool::DistanceTable table = TableOf(teams, &GreatCircle);
  const Run without = Generate(league, rules, table);
  rules.distances = table;
  const Run with = Generate(league, rules, table);
  std::printf("\n%s\n", title);
  if (!without.ok || !with.ok) {
    std::printf("  failed: %s%s\n", without.problem.c_str(), with.problem.c_str());
    return;
  }
  std::printf("  without distances: %lld km in %.2f s\n", static_cast<long long>(without.travel),
              without.seconds);
  std::printf("  with distances:    %lld km in %.2f s, %.2f s of processor time (effort %d)\n",
              static_cast<long long>(with.travel), with.seconds, with.cpu_seconds, rules.effort);
  std::printf("  saving:            %.1f%%\n",
              100.0 * static_cast<double>(without.travel - with.travel) /
                  static_cast<double>(without.travel));
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--efforts" && i + 1 < argc) {
      options.efforts.clear();
      std::istringstream list(argv[++i]);
      for (std::string effort; std::getline(list, effort, ',');) {
        options.efforts.push_back(std::stoi(effort));
      }
    } else if (argument == "--only" && i + 1 < argc) {
      std::istringstream list(argv[++i]);
      for (std::string name; std::getline(list, name, ',');) options.only.push_back(name);
      options.leagues = false;
    } else if (argument == "--seed" && i + 1 < argc) {
      options.seed = std::stoull(argv[++i]);
    } else if (argument == "--no-leagues") {
      options.leagues = false;
    } else if (argument == "--leagues") {
      options.instances = false;
    } else {
      options.folder = argument;
    }
  }
  if (options.instances) {
    Instances(options);
    MadeInstances(options);
  }
  if (!options.leagues) return 0;
  tool::SeasonRules divisions;
  divisions.meetings = 6;
  divisions.division_meetings = 12;
  divisions.series_length = 3;
  divisions.calendar.weekday_off[std::chrono::Monday.c_encoding()] = true;
  divisions.seed = options.seed;
  WithAndWithout("16 teams in two divisions, --meetings 6 --division-meetings 12 --series 3 "
                 "--off-day Mon",
                 16, 2, divisions);
  tool::SeasonRules thirty;
  thirty.meetings = 6;
  thirty.series_length = 3;
  thirty.calendar.weekday_off[std::chrono::Monday.c_encoding()] = true;
  thirty.seed = options.seed;
  WithAndWithout("30 teams, --meetings 6 --series 3 --off-day Mon", 30, 0, thirty);
  return 0;
}
