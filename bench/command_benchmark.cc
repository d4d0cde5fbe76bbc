// Every command of the two programs on one large season, each beside the
// floor that fits it, with its peak memory. The commands run as the user
// runs them, as programs, and so do their floors (cat and sync):
//
//   build, the interactive path   cat of a file identical to the schedule
//                                 into a new file, then sync of that file
//   dump (text, list), import     two cats: the input read, and a file
//                                 identical to the output written
//   check, report, calendar       the build of the same text
//
// Each round runs every command and every floor once, one after another,
// so that they share the machine's state; the figures are the medians of
// the rounds. Peak memory is the child's largest resident set (wait4).
//
//   command_benchmark [--runs N] [--megabytes M] [--seasons S] [--data DIR] [--only NAME]
//                     [--tool PATH] [--builder PATH]
//
// The generated inputs stay in DIR (the bench build folder's bench-data by
// default) and are made again only when missing. --tool and --builder run
// other builds of the two programs (an older tree's, for figures before a
// change) on the same inputs.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/generated_season.h"

namespace {

namespace fs = std::filesystem;

// One program run: its arguments, and where its standard streams go. An
// input fed through a pipe is written into it by a cat of that file.
struct Step {
  std::vector<std::string> argv;
  std::string in = "/dev/null";
  std::string out = "/dev/null";
  bool piped_in = false;    // standard input is a pipe that a cat fills from `in`
  bool new_session = false;  // no controlling terminal, as setsid starts it
  int highest_status = 0;    // check says 1 when it finds something: no failure
};

struct Figures {
  double seconds = 0;
  double peak_mib = 0;
  bool ok = true;
};

[[noreturn]] void Exec(const Step& step, int in_fd) {
  if (step.new_session) setsid();
  if (in_fd < 0) in_fd = open(step.in.c_str(), O_RDONLY);
  int out_fd = open(step.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in_fd < 0 || out_fd < 0) _exit(126);
  int null_fd = open("/dev/null", O_WRONLY);
  dup2(in_fd, 0);
  dup2(out_fd, 1);
  // Warnings are part of the work, not of the figures shown.
  if (null_fd >= 0) dup2(null_fd, 2);
  std::vector<char*> argv;
  for (const std::string& word : step.argv) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// Runs one step to its end: its time, and the peak memory of the program
// (a feeding cat not counted).
Figures RunStep(const Step& step) {
  Figures figures;
  auto start = std::chrono::steady_clock::now();
  pid_t feeder = -1;
  int pipe_fds[2] = {-1, -1};
  if (step.piped_in) {
    if (pipe(pipe_fds) != 0) return {0, 0, false};
    feeder = fork();
    if (feeder == 0) {
      close(pipe_fds[0]);
      int in_fd = open(step.in.c_str(), O_RDONLY);
      if (in_fd < 0) _exit(126);
      dup2(in_fd, 0);
      dup2(pipe_fds[1], 1);
      execlp("cat", "cat", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  pid_t child = fork();
  if (child == 0) {
    if (step.piped_in) close(pipe_fds[1]);
    Exec(step, step.piped_in ? pipe_fds[0] : -1);
  }
  if (step.piped_in) {
    close(pipe_fds[0]);
    close(pipe_fds[1]);
  }
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  figures.ok = WIFEXITED(status) && WEXITSTATUS(status) <= step.highest_status;
  figures.peak_mib = usage.ru_maxrss / 1024.0;
  if (feeder > 0) {
    int feeder_status = 0;
    waitpid(feeder, &feeder_status, 0);
  }
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  figures.seconds = took.count();
  return figures;
}

Figures RunSteps(const std::vector<Step>& steps) {
  Figures total;
  for (const Step& step : steps) {
    Figures one = RunStep(step);
    total.seconds += one.seconds;
    total.peak_mib = std::max(total.peak_mib, one.peak_mib);
    total.ok = total.ok && one.ok;
  }
  return total;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A command with its floor and the goal for the ratio of the two (0: none).
struct Contender {
  std::string name;
  std::vector<Step> command;
  std::string floor_name;
  std::vector<Step> floor;      // empty: the floor is another command's time
  std::string floor_command;    // that command's name
  double goal = 0;
};

// What the rounds measured of one contender.
struct Measured {
  std::vector<double> seconds, floor_seconds;
  double peak_mib = 0;
  bool failed = false;
};

bool Exists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

// Runs a step once to make a file the benchmark needs; false if it failed.
bool Prepare(const char* what, const Step& step) {
  std::printf("preparing: %s\n", what);
  std::fflush(stdout);
  Figures figures = RunStep(step);
  if (!figures.ok) std::printf("  (failed: %s)\n", step.argv[0].c_str());
  return figures.ok;
}

std::string MiB(uintmax_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
  return text;
}

uintmax_t SizeOf(const fs::path& path) {
  std::error_code ignored;
  uintmax_t size = fs::file_size(path, ignored);
  return ignored ? 0 : size;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  uintmax_t megabytes = 100;
  int seasons = 1000;
  fs::path data = ZELTO_BENCH_DATA;
  std::vector<std::string> only;
  std::string tool = ZELTO_SCHEDULE_TOOL;
  std::string builder = ZELTO_SCHEDULE_BUILDER;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--megabytes") megabytes = std::strtoull(argv[i + 1], nullptr, 10);
    else if (option == "--seasons") seasons = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--data") data = argv[i + 1];
    else if (option == "--only") only.push_back(argv[i + 1]);
    else if (option == "--tool") tool = argv[i + 1];
    else if (option == "--builder") builder = argv[i + 1];
    else {
      std::fprintf(stderr, "command_benchmark: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  fs::create_directories(data / "out");
  auto at = [&](const char* name) { return (data / name).string(); };

  // The inputs, made once per size.
  const std::string text = at(("league-" + std::to_string(megabytes) + "MB.txt").c_str());
  const std::string noted = at(("league-noted-" + std::to_string(megabytes) + "MB.txt").c_str());
  for (const std::string& name : {text, noted}) {
    if (Exists(name)) continue;
    std::printf("preparing: a %ju MB schedule text\n", megabytes);
    bench::GenerateLeagueText(name + ".new", megabytes << 20, name == noted);
    fs::rename(name + ".new", name);
  }
  const std::string season_file = at(("seasons-" + std::to_string(seasons) + ".csv").c_str());
  if (!Exists(season_file)) {
    std::ifstream in(ZELTO_SEASON_1884, std::ios::binary);
    std::string season((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("preparing: %d seasons as one season file\n", seasons);
    bench::GenerateSeasonFile(season_file + ".new", season, seasons);
    fs::rename(season_file + ".new", season_file);
  }

  // Files identical to what the commands write, for the floors.
  const std::string schedule = at("reference.SCH");
  const std::string dumped_text = at("reference-dump.txt");
  const std::string dumped_list = at("reference-dump.list");
  const std::string imported = at("reference-import.txt");
  bool ok = Prepare("the schedule", {{tool, "build", text, schedule}});
  ok = Prepare("its dump as text", {{tool, "dump", "--format", "text", schedule}, "/dev/null", dumped_text}) && ok;
  ok = Prepare("its dump as a listing", {{tool, "dump", schedule}, "/dev/null", dumped_list}) && ok;
  ok = Prepare("the import", {{tool, "import", season_file, "--output", imported}}) && ok;
  if (!ok) std::printf("(a command that failed to prepare its output is measured all the same)\n");
  const std::string names = at("dialogue-names.txt");
  {
    std::ofstream out(names, std::ios::binary);
    out << text << '\n' << at("out/dialogue.SCH") << "\n\n";
  }

  // The largest league generate takes, the most meetings it allows.
  const std::string teams = at("league-teams.txt");
  {
    std::ofstream out(teams, std::ios::binary);
    for (int team = 0; team < 30; ++team) out << "45nclb" << team / 10 << team % 10 << "\n";
  }

  auto out = [&](const char* name) { return at((std::string("out/") + name).c_str()); };
  auto write_and_sync = [&](const std::string& same, const char* name) {
    return std::vector<Step>{{{"cat", same}, "/dev/null", out(name)}, {{"sync", out(name)}}};
  };
  auto two_cats = [&](const std::string& read, const std::string& same, const char* name) {
    return std::vector<Step>{{{"cat", read}}, {{"cat", same}, "/dev/null", out(name)}};
  };
  auto two_cats_and_sync = [&](const std::string& read, const std::string& same, const char* name) {
    std::vector<Step> steps = two_cats(read, same, name);
    steps.push_back({{"sync", out(name)}});
    return steps;
  };

  std::vector<Contender> contenders;
  const char* kWriteFloor = "cat + sync of the schedule";
  contenders.push_back({"build", {{{tool, "build", text, out("build.SCH")}}}, kWriteFloor,
                        write_and_sync(schedule, "floor.SCH"), "", 1.2});
  // Not a command: how much of build's distance from its floor is cat's
  // copy inside the kernel (copy_file_range), which no program that makes
  // its bytes can use. dd copies through memory, as a program writes.
  contenders.push_back({"(dd bs=128k + sync, for scale)",
                        {{{"dd", "if=" + schedule, "of=" + out("dd.SCH"), "bs=128k"}},
                         {{"sync", out("dd.SCH")}}},
                        kWriteFloor, write_and_sync(schedule, "floor.SCH"), "", 0});
  contenders.push_back({"check", {{{tool, "check", text}, "/dev/null", "/dev/null", false, false, 1}}, "build of the same text", {}, "build", 1.0});
  contenders.push_back({"check - (a pipe)", {{{tool, "check", "-"}, text, "/dev/null", true, false, 1}},
                        "build of the same text", {}, "build", 1.0});
  contenders.push_back({"check, a finding every game", {{{tool, "check", noted}, "/dev/null", "/dev/null", false, false, 1}},
                        "build of the same text", {}, "build", 0});
  contenders.push_back({"report", {{{tool, "report", text}}}, "build of the same text", {}, "build",
                        1.0});
  contenders.push_back({"report of the schedule", {{{tool, "report", schedule}}},
                        "build of the same text", {}, "build", 1.0});
  contenders.push_back({"calendar --team 45nclb07", {{{tool, "calendar", "--team", "45nclb07", text}}},
                        "build of the same text", {}, "build", 0});
  contenders.push_back({"calendar (every team)", {{{tool, "calendar", text}}},
                        "build of the same text", {}, "build", 0});
  contenders.push_back({"generate (30 teams, 200 meetings)",
                        {{{tool, "generate", teams, "--start", "2024-04-01", "--meetings", "200"},
                          "/dev/null", out("generated.txt")}},
                        "(its season is 1.7 MB: no floor)", {}, "", 0});
  contenders.push_back({"dump --format text",
                        {{{tool, "dump", "--format", "text", schedule}, "/dev/null", out("dump.txt")}},
                        "cat schedule + cat text", two_cats(schedule, dumped_text, "floor.txt"), "", 1.5});
  contenders.push_back({"dump --format text - (a pipe)",
                        {{{tool, "dump", "--format", "text", "-"}, schedule, out("dump-pipe.txt"), true}},
                        "cat schedule + cat text", two_cats(schedule, dumped_text, "floor.txt"), "", 0});
  contenders.push_back({"dump (list)", {{{tool, "dump", schedule}, "/dev/null", out("dump.list")}},
                        "cat schedule + cat list", two_cats(schedule, dumped_list, "floor.list"), "", 0});
  contenders.push_back({"import --output",
                        {{{tool, "import", season_file, "--output", out("import.txt")}}},
                        "cat seasons + cat text + sync",
                        two_cats_and_sync(season_file, imported, "floor-import.txt"), "", 0});
  contenders.push_back({"import - (a pipe)",
                        {{{tool, "import", "-"}, season_file, out("import-pipe.txt"), true}},
                        "cat seasons + cat text", two_cats(season_file, imported, "floor-import.txt"),
                        "", 0});
  contenders.push_back({"interactive (128-byte reads)", {{{builder}, names, "/dev/null", false, true}},
                        kWriteFloor, write_and_sync(schedule, "floor.SCH"), "", 0});
  if (!only.empty()) {
    std::erase_if(contenders, [&](const Contender& c) {
      return std::find(only.begin(), only.end(), c.name) == only.end() &&
             std::none_of(contenders.begin(), contenders.end(), [&](const Contender& other) {
               return other.floor_command == c.name &&
                      std::find(only.begin(), only.end(), other.name) != only.end();
             });
    });
  }

  std::vector<Measured> measured(contenders.size());
  for (int round = 0; round < runs; ++round) {
    std::printf("round %d of %d\n", round + 1, runs);
    std::fflush(stdout);
    for (size_t i = 0; i < contenders.size(); ++i) {
      Figures command = RunSteps(contenders[i].command);
      Measured& m = measured[i];
      m.seconds.push_back(command.seconds);
      m.peak_mib = std::max(m.peak_mib, command.peak_mib);
      m.failed = m.failed || !command.ok;
      if (!contenders[i].floor.empty()) m.floor_seconds.push_back(RunSteps(contenders[i].floor).seconds);
    }
  }

  std::printf("\n%s schedule text (%s), its %s schedule, a %s season file; medians of %d runs "
              "side by side\n",
              MiB(SizeOf(text)).c_str(), text.c_str(), MiB(SizeOf(schedule)).c_str(),
              MiB(SizeOf(season_file)).c_str(), runs);
  std::printf("%-30s %8s  %-30s %8s  %6s  %-6s  %9s\n", "command", "time", "floor", "floor",
              "ratio", "goal", "peak");
  bool all_met = true;
  for (size_t i = 0; i < contenders.size(); ++i) {
    const Contender& contender = contenders[i];
    const Measured& m = measured[i];
    double seconds = Median(m.seconds);
    double floor = Median(m.floor_seconds);
    for (size_t j = 0; j < contenders.size(); ++j) {
      if (contenders[j].name == contender.floor_command) floor = Median(measured[j].seconds);
    }
    double ratio = floor > 0 ? seconds / floor : 0;
    char goal[16] = "";
    if (contender.goal > 0) std::snprintf(goal, sizeof goal, "<=%.1f", contender.goal);
    bool met = !m.failed && (contender.goal == 0 || ratio <= contender.goal) && m.peak_mib < 16;
    all_met = all_met && met;
    std::printf("%-30s %7.3fs  %-30s %7.3fs  %6.2f  %-6s  %5.1f MiB%s%s\n", contender.name.c_str(),
                seconds, contender.floor_name.c_str(), floor, ratio, goal, m.peak_mib,
                m.failed ? "  FAILED" : "", met ? "" : "  (goal not met)");
  }
  std::printf("goals: the ratios above, and every command under 16 MiB peak: %s\n",
              all_met ? "all met" : "NOT all met");
  return 0;
}
