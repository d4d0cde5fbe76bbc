// The benchmarks' generated inputs, made the same way on every run so that
// figures from different runs and trees compare: schedule texts of dates
// with 8 to 15 games each (CR LF line ends), and a season file of many
// seasons, one after another, for import. All are written in pieces, so
// making them costs no memory.
#ifndef ZELTO_BENCH_GENERATED_SEASON_H_
#define ZELTO_BENCH_GENERATED_SEASON_H_

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

namespace bench {

/// Writes dates one after another to `name` until at least `target_bytes`
/// are written: a date line, then the game lines `games_of(day, games, chunk)`
/// appends for its 8 to 15 games (the same counts on every run).
template <typename GamesOf>
void GenerateDates(const std::string& name, uintmax_t target_bytes, GamesOf games_of) {
  std::ofstream out(name, std::ios::binary);
  std::string chunk;
  uintmax_t written = 0;
  unsigned seed = 1945;
  for (int day = 0; written < target_bytes; ++day) {
    char date[16];
    std::snprintf(date, sizeof date, "[%02d/%02d/%02d]\r\n", day / 28 % 12 + 1, day % 28 + 1,
                  day / 336 % 100);
    chunk += date;
    seed = seed * 1103515245 + 12345;
    games_of(day, 8 + static_cast<int>(seed >> 16) % 8, &chunk);
    if (chunk.size() > (1 << 20)) {
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      written += chunk.size();
      chunk.clear();
    }
  }
  out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

/// Writes a schedule text of at least `target_bytes` bytes to `name`.
inline void GenerateScheduleText(const std::string& name, uintmax_t target_bytes) {
  GenerateDates(name, target_bytes, [](int day, int games, std::string* chunk) {
    for (int game = 0; game < games; ++game) {
      char line[40];
      std::snprintf(line, sizeof line, "45n%05d 45n%05d %s\r\n", (day * 7 + game) % 99999,
                    (day * 13 + game * 3) % 99999, game % 3 ? "" : "DH");
      *chunk += line;
    }
  });
}

/// Writes a schedule text of at least `target_bytes` bytes to `name` as a
/// league keeps one: 32 teams, no team twice on a date (each date takes the
/// first 8 to 15 pairs of a round of the round robin), so that the season
/// itself holds nothing to find. With `noted_games`, every game line has a
/// remark past column 30, which check finds and the build ignores.
inline void GenerateLeagueText(const std::string& name, uintmax_t target_bytes,
                               bool noted_games = false) {
  constexpr int kTeams = 32;
  GenerateDates(name, target_bytes, [noted_games](int day, int games, std::string* chunk) {
    // The circle method: team 0 stays, the others turn one place a round.
    int round = day % (kTeams - 1);
    for (int game = 0; game < games; ++game) {
      int first = game == 0 ? 0 : (round + game - 1) % (kTeams - 1) + 1;
      int second = (round + kTeams - 2 - game) % (kTeams - 1) + 1;
      if (day / (kTeams - 1) % 2) std::swap(first, second);
      char line[64];
      std::snprintf(line, sizeof line, "45nclb%02d 45nclb%02d %s%s\r\n", first, second,
                    game % 3 ? "  " : "DH", noted_games ? "           rain date?" : "");
      *chunk += line;
    }
  });
}

/// Writes `seasons` copies of the season file `season` to `name`, each one
/// year after the one before: every row starts with its date, "YYYYMMDD".
inline void GenerateSeasonFile(const std::string& name, std::string_view season, int seasons) {
  std::ofstream out(name, std::ios::binary);
  std::string year_season(season);
  int first_year = 0;
  if (year_season.size() > 5 && year_season[0] == '"') first_year = std::stoi(year_season.substr(1, 4));
  for (int year = 0; year < seasons; ++year) {
    std::string digits = std::to_string(first_year + year);
    for (size_t at = 0; at < year_season.size();) {
      if (year_season[at] == '"') year_season.replace(at + 1, 4, digits);
      size_t end = year_season.find('\n', at);
      if (end == std::string::npos) break;
      at = end + 1;
    }
    out.write(year_season.data(), static_cast<std::streamsize>(year_season.size()));
  }
}

}  // namespace bench

#endif  // ZELTO_BENCH_GENERATED_SEASON_H_
