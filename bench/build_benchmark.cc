// Conversion speed over a generated season of about 100 MB: the schedule
// builder with the dialogue's 128-byte read buffer and with the batch
// command's 64 KiB buffer, against a plain `cat INPUT > COPY` of the same
// file timed in the same run, what the commit costs that flushes the new
// schedule to the disk (fsync) and renames it into place, and the process's
// peak memory.
//
//   build_benchmark [MEGABYTES]   (default 100)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/generated_season.h"
#include "files/file_access.h"
#include "files/file_replace.h"
#include "schedule/schedule_builder.h"
#include "schedule/schedule_record.h"

namespace {

std::filesystem::path work_dir;
std::string input_name;
double cat_seconds = 0;
double build_seconds[2] = {0, 0};
double commit_seconds = 0;
uintmax_t schedule_bytes = 0;
uintmax_t input_bytes = 0;

double TimeCat() {
  std::string command = "cat '" + input_name + "' > '" + (work_dir / "copy.txt").string() + "'";
  auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cat failed\n");
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::filesystem::remove(work_dir / "copy.txt");
  return took.count();
}

void BM_Build(benchmark::State& state) {
  uint32_t buffer = static_cast<uint32_t>(state.range(0));
  schedule::BuildBuffers buffers =
      buffer == 128 ? schedule::BuildBuffers{} : schedule::kBatchBuffers;
  std::string output = (work_dir / "season.SCH").string();
  double best = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    schedule::BuildOutcome outcome = schedule::BuildSchedule(input_name, output, buffers);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!outcome.Succeeded()) state.SkipWithError("the build failed");
    if (best == 0 || took.count() < best) best = took.count();
    state.counters["records"] = outcome.records_written;
  }
  build_seconds[buffer == 128 ? 0 : 1] = best;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input_bytes));
}

// Writes the built schedule's records again into a new schedule, as the
// batch build does, and times the commit alone: the flush of what was
// gathered, the fsync of the whole file and the rename.
double TimeCommit() {
  std::string built = (work_dir / "season.SCH").string();
  std::string again = (work_dir / "again.SCH").string();
  schedule_bytes = std::filesystem::file_size(built);
  std::ifstream in(built, std::ios::binary);
  if (files::OpenForRecords(3, again, schedule::kRecordLength,
                            schedule::kBatchBuffers.write_behind) != 0) {
    return -1;
  }
  std::string record(schedule::kRecordLength, '\0');
  int64_t count = 0;
  while (in.read(record.data(), static_cast<std::streamsize>(record.size()))) {
    ++count;
    files::WriteRecord(3, static_cast<double>(count), reinterpret_cast<const uint8_t*>(record.data()),
                       schedule::kRecordLength);
  }
  auto start = std::chrono::steady_clock::now();
  int code = files::CommitRecords(3, count);
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  files::CloseAllFiles();
  std::filesystem::remove(again);
  return code == 0 ? took.count() : -1;
}

}  // namespace

int main(int argc, char** argv) {
  uintmax_t megabytes = 100;
  if (argc > 1 && argv[1][0] != '-') {
    megabytes = std::strtoull(argv[1], nullptr, 10);
    --argc;
    ++argv;
  }
  work_dir = std::filesystem::temp_directory_path() / "zelto-bench";
  std::filesystem::create_directories(work_dir);
  input_name = (work_dir / "season.txt").string();
  bench::GenerateScheduleText(input_name, megabytes << 20);
  input_bytes = std::filesystem::file_size(input_name);
  TimeCat();  // warm the page cache for every contender alike
  cat_seconds = TimeCat();
  for (int i = 0; i < 2; ++i) cat_seconds = std::min(cat_seconds, TimeCat());

  benchmark::RegisterBenchmark("BuildSchedule/dialogue_buffers", BM_Build)
      ->Arg(128)->Iterations(3)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BuildSchedule/batch_buffers", BM_Build)
      ->Arg(65536)->Iterations(3)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  commit_seconds = TimeCommit();
  for (int i = 0; i < 2; ++i) commit_seconds = std::min(commit_seconds, TimeCommit());

  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  double mb = static_cast<double>(input_bytes) / (1 << 20);
  std::printf("\ninput: %.1f MiB\n", mb);
  std::printf("cat INPUT > COPY:     %7.3f s  %8.1f MiB/s\n", cat_seconds, mb / cat_seconds);
  const char* names[2] = {"128-byte reads, a write per record:", "64 KiB reads and writes:         "};
  for (int i = 0; i < 2; ++i) {
    std::printf("build, %s %7.3f s  %8.1f MiB/s  %5.2fx cat\n", names[i], build_seconds[i],
                mb / build_seconds[i], build_seconds[i] / cat_seconds);
  }
  double schedule_mb = static_cast<double>(schedule_bytes) / (1 << 20);
  std::printf("commit of the %.1f MiB schedule (flush, fsync, rename): %.3f s, %.0f%% of the "
              "64 KiB build\n",
              schedule_mb, commit_seconds, 100.0 * commit_seconds / build_seconds[1]);
  std::printf("peak memory (max RSS): %.1f MiB\n", usage.ru_maxrss / 1024.0);
  std::filesystem::remove_all(work_dir);
  return 0;
}
