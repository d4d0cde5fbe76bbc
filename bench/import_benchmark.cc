// Import speed: a whole season file (1884: three leagues, 1,556 rows) as
// schedule text, the text gathered in memory and the text thrown away (the
// first pass of a two-pass import to standard output); then 100 seasons fed
// in 64 KiB pieces, to show that what the importer holds grows with the
// teams, not the rows.
//
//   import_benchmark [SEASON_FILE]   (default: the 1884 season beside the project)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tool/import/import_season.h"

namespace {

std::string season;
double gathered_ms = 0;
double discarded_ms = 0;

double PeakMiB() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void BM_Import(benchmark::State& state) {
  bool gather = state.range(0) != 0;
  tool::ImportOptions options{{}, {}, "season"};
  double best = 0;
  for (auto _ : state) {
    std::string text;
    auto start = std::chrono::steady_clock::now();
    tool::ImportReport report =
        gather ? tool::ImportSeason(season, options, [&](std::string_view piece) { text += piece; })
               : tool::ImportSeason(season, options, [](std::string_view) {});
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (!report.Succeeded()) state.SkipWithError(report.errors.front().c_str());
    benchmark::DoNotOptimize(text);
    if (best == 0 || took.count() < best) best = took.count();
    state.counters["rows"] = report.rows;
  }
  (gather ? gathered_ms : discarded_ms) = best;
}

// The season again and again, one year later each time, as one file.
void ImportManySeasons(int seasons, int* rows, double* seconds) {
  tool::ImportOptions options{{}, {}, "seasons"};
  tool::SeasonImporter importer(options, [](std::string_view) {});
  auto start = std::chrono::steady_clock::now();
  std::string year_season = season;
  for (int year = 0; year < seasons; ++year) {
    // Every row starts with its date: "1884....; its year moves on.
    std::string digits = std::to_string(1884 + year);
    for (size_t at = 0; at < year_season.size();) {
      if (year_season[at] == '"') year_season.replace(at + 1, 4, digits);
      size_t end = year_season.find('\n', at);
      if (end == std::string::npos) break;
      at = end + 1;
    }
    for (size_t at = 0; at < year_season.size(); at += 65536) {
      importer.TakeBytes(std::string_view(year_season).substr(at, 65536));
    }
  }
  importer.Finish();
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  *rows = importer.report().rows;
  *seconds = took.count();
  if (!importer.report().Succeeded()) std::printf("%s\n", importer.report().errors.front().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string name = ZELTO_SEASON_1884;
  if (argc > 1 && argv[1][0] != '-') {
    name = argv[1];
    --argc;
    ++argv;
  }
  std::ifstream in(name, std::ios::binary);
  season.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (season.empty()) {
    std::fprintf(stderr, "import_benchmark: cannot read the season file %s\n", name.c_str());
    return 1;
  }

  benchmark::RegisterBenchmark("ImportSeason/text_gathered", BM_Import)->Arg(1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ImportSeason/text_discarded", BM_Import)->Arg(0)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  double before = PeakMiB();
  int rows = 0;
  double seconds = 0;
  ImportManySeasons(100, &rows, &seconds);
  double kib = static_cast<double>(season.size()) / 1024;
  std::printf("\nseason file: %s, %.1f KiB\n", name.c_str(), kib);
  std::printf("one season, text gathered:  %7.3f ms  %6.1f MiB/s\n", gathered_ms,
              kib / 1024 / (gathered_ms / 1000));
  std::printf("one season, text discarded: %7.3f ms  %6.1f MiB/s\n", discarded_ms,
              kib / 1024 / (discarded_ms / 1000));
  std::printf("100 seasons in 64 KiB pieces: %d rows in %.3f s; peak memory %.1f MiB before, %.1f MiB after\n",
              rows, seconds, before, PeakMiB());
  return 0;
}
