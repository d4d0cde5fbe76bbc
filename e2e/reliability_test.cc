// The real programs under real faults: a disk that fills part-way, a signal
// in the middle of a build, outputs that are not disk files, folders that
// refuse writing, two copies on one schedule, a FIFO whose writer comes
// late, names too long, an input that fails, vanishes or is cut short while
// it is read, signals while a name is typed, and a terminal shrunk to a
// single cell. Whatever happens the program ends with a status of its own
// (never killed by a crash), names the file and the reason, leaves the input
// as it was, and replaces the schedule file only with a complete schedule.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "files/file_access.h"
#include "files/read_field.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "schedule/schedule_builder.h"
#include "testing/program_in_tmux.h"
#include "testing/temp_dir.h"
#include "testing/tmux_session.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScopedTempDir;
using testing_support::ShellQuote;
using testing_support::TmuxSession;
using testing_support::WriteFileBytes;

// A season of `days` dates with two games each.
std::string Season(int days) {
  std::string text;
  for (int day = 0; day < days; ++day) {
    char date[16];
    std::snprintf(date, sizeof date, "[%02d/%02d/45]", 4 + day / 28 % 6, 1 + day % 28);
    text += std::string(date) + "\r\n45nnewyo 45nstlou\r\n45npitts 45nchica DH\r\n";
  }
  return text;
}

// What a program run ended with.
struct ProgramRun {
  int status = -1;     // the exit status; 128 + n when signal n ended it
  std::string output;  // standard output and standard error together
};

int StatusOf(int wait_status) {
  if (WIFEXITED(wait_status)) return WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) return 128 + WTERMSIG(wait_status);
  return -1;
}

// Starts `command` with sh, bounded: a run still going after a minute is
// ended, and shows as status 124 or 137 rather than as a hung test.
FILE* StartShell(const std::string& command) {
  return popen(("timeout -k 5 60 sh -c " + ShellQuote(command) + " 2>&1").c_str(), "r");
}

ProgramRun FinishShell(FILE* pipe) {
  ProgramRun run;
  if (pipe == nullptr) return run;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, n);
  run.status = StatusOf(pclose(pipe));
  return run;
}

ProgramRun RunShell(const std::string& command) { return FinishShell(StartShell(command)); }

// Waits up to ten seconds for `done`; true when it came.
bool WaitUntil(const std::function<bool()>& done) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// True while some process holds an flock on the file `path`.
bool FileIsLocked(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  std::string needle = ":" + std::to_string(info.st_ino) + " ";
  std::string locks = ReadFileBytes("/proc/locks");
  for (size_t start = 0, end; (end = locks.find('\n', start)) != std::string::npos;
       start = end + 1) {
    std::string line = locks.substr(start, end - start);
    if (line.find("FLOCK") != std::string::npos && line.find(needle) != std::string::npos) {
      return true;
    }
  }
  return false;
}

// True when process `pid` has the file `path` open.
bool HoldsOpen(const std::string& pid, const std::string& path) {
  std::error_code error;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/" + pid + "/fd", error)) {
    if (std::filesystem::read_symlink(fd.path(), error) == path) return true;
  }
  return false;
}

// The stopped schedule-tool whose command line holds `needle` and that has
// opened it: a stop at start-up under the tracer does not count.
int StoppedProcessWith(const std::string& needle) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string command_line = ReadFileBytes(entry.path().string() + "/cmdline");
    // The program itself, not the shell, timeout or strace around it.
    if (command_line.rfind(ZELTO_SCHEDULE_TOOL, 0) != 0) continue;
    if (command_line.find(needle) == std::string::npos) continue;
    std::string stat_line = ReadFileBytes(entry.path().string() + "/stat");
    size_t paren = stat_line.rfind(')');
    if (paren == std::string::npos || paren + 2 >= stat_line.size()) continue;
    char state = stat_line[paren + 2];
    if ((state == 't' || state == 'T') && HoldsOpen(name, needle)) return std::stoi(name);
  }
  return -1;
}

using Names = std::vector<std::string>;

// The names in a test folder, sorted.
Names NamesIn(const ScopedTempDir& dir) {
  Names names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The bytes written into a FIFO through `fd` that nobody has read yet.
int UnreadBytes(int fd) {
  int count = -1;
  return ioctl(fd, FIONREAD, &count) == 0 ? count : -1;
}

// The running program whose command line starts with `program_path` and
// that holds `path` open; -1 when there is none.
int RunningProgramHolding(const std::string& program_path, const std::string& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string command_line = ReadFileBytes(entry.path().string() + "/cmdline");
    if (command_line.rfind(program_path, 0) != 0) continue;
    if (HoldsOpen(name, path)) return std::stoi(name);
  }
  return -1;
}

// One of the two programs, run in the test folder with both names given as
// typed; `wrapper` (prlimit, setpriv, strace) goes just before the program.
struct Program {
  const char* name;
  std::function<std::string(const std::string& wrapper, const std::string& input,
                            const std::string& output)>
      command;
};

const Program kTool{"schedule-tool", [](const std::string& wrapper, const std::string& input,
                                         const std::string& output) {
                      return wrapper + ShellQuote(ZELTO_SCHEDULE_TOOL) + " build " +
                             ShellQuote(input) + " " + ShellQuote(output);
                    }};

// With no terminal the interactive program reads the names as lines.
const Program kBuilder{"schedule-builder", [](const std::string& wrapper,
                                              const std::string& input,
                                              const std::string& output) {
                         return "printf '%s\\n%s\\n\\n' " + ShellQuote(input) + " " +
                                ShellQuote(output) + " | setsid -w " + wrapper +
                                ShellQuote(ZELTO_SCHEDULE_BUILDER);
                       }};

const Program kPrograms[] = {kTool, kBuilder};

int ProgramHolding(const Program& program, const std::string& path) {
  bool tool = std::string(program.name) == kTool.name;
  return RunningProgramHolding(tool ? ZELTO_SCHEDULE_TOOL : ZELTO_SCHEDULE_BUILDER, path);
}

// A sanitized program traced by strace: LeakSanitizer cannot run under a
// tracer, everything else stays on.
constexpr char kUnderTracer[] = "env ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:detect_leaks=0\" ";

bool StraceWorks() { return RunShell("strace -o /dev/null true").status == 0; }

class ReliabilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir_.File("season.txt"), season_);
    reference_ = ScheduleOf(season_);
  }

  // The schedule the builder makes of `text`, built in-process.
  std::string ScheduleOf(const std::string& text) {
    ScopedTempDir scratch;
    WriteFileBytes(scratch.File("in.txt"), text);
    schedule::BuildOutcome outcome =
        schedule::BuildSchedule(scratch.File("in.txt"), scratch.File("out.SCH"));
    EXPECT_TRUE(outcome.Succeeded());
    frame::ResetErrorWord();
    return ReadFileBytes(scratch.File("out.SCH"));
  }

  // Runs `program` in the test folder.
  ProgramRun RunIn(const Program& program, const std::string& input, const std::string& output,
            const std::string& wrapper = "") {
    return RunShell("cd " + ShellQuote(dir_.path().string()) + " && " +
                    program.command(wrapper, input, output));
  }

  // The promise kept on a failure: status 1, the failure named in `message`,
  // the input as it was, and of the schedule file `output` (when it is a
  // file) no more than a start of the schedule `expected`.
  void ExpectReportedFailure(const Program& program, const ProgramRun& run, const std::string& message,
                             const std::string& output, const std::string& expected) {
    SCOPED_TRACE(program.name);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
    EXPECT_EQ(ReadFileBytes(dir_.File("season.txt")), season_);
    std::string written = ReadFileBytes(output);
    EXPECT_EQ(written, expected.substr(0, written.size()));
  }

  const std::string season_ = Season(30);
  std::string reference_;
  ScopedTempDir dir_;
};

TEST_F(ReliabilityTest, DiskFillingPartWayIsReportedAndLeavesTheScheduleAsItWas) {
  // 2,000 bytes hold four records and part of a fifth. Writing past the
  // limit would raise SIGXFSZ; the program must end with its own status, and
  // the schedule be as it was: absent, or the older one whole.
  const std::string old_schedule = "an older schedule";
  for (const Program& program : kPrograms) {
    for (bool existed : {false, true}) {
      SCOPED_TRACE(existed ? "over an older schedule" : "no schedule before");
      std::filesystem::remove(dir_.File("out.SCH"));
      if (existed) WriteFileBytes(dir_.File("out.SCH"), old_schedule);
      ProgramRun run = RunIn(program, "season.txt", "out.SCH", "prlimit --fsize=2000 ");
      ExpectReportedFailure(program, run, "Cannot write schedule file \"out.SCH\": Disk full",
                            dir_.File("out.SCH"), existed ? old_schedule : "");
      EXPECT_EQ(std::filesystem::exists(dir_.File("out.SCH")), existed) << program.name;
      EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), existed ? old_schedule : "");
      EXPECT_EQ(NamesIn(dir_), (existed ? Names{"out.SCH", "season.txt"} : Names{"season.txt"}));
    }
  }
}

TEST_F(ReliabilityTest, SignalInTheMiddleOfALargeBuildKeepsTheOlderSchedule) {
  // The input comes through a FIFO: half of a large season is written, and
  // once the program has taken it all the build is ended by SIGTERM.
  const std::string big = Season(6000);
  const std::string half = big.substr(0, big.size() / 2);
  ASSERT_EQ(mkfifo(dir_.File("feed.txt").c_str(), 0644), 0);
  for (const Program& program : kPrograms) {
    SCOPED_TRACE(program.name);
    WriteFileBytes(dir_.File("out.SCH"), reference_);
    int feed = open(dir_.File("feed.txt").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(feed, 0);
    FILE* pipe = StartShell("cd " + ShellQuote(dir_.path().string()) + " && " +
                            program.command("", "feed.txt", "out.SCH"));
    ASSERT_TRUE(WaitUntil([&] { return FileIsLocked(dir_.File("out.SCH")); }));
    ASSERT_EQ(write(feed, half.data(), half.size()), static_cast<ssize_t>(half.size()));
    ASSERT_TRUE(WaitUntil([&] { return UnreadBytes(feed) == 0; }));
    int pid = ProgramHolding(program, dir_.File("feed.txt"));
    ASSERT_GT(pid, 0);
    ASSERT_EQ(NamesIn(dir_).size(), 4u) << "the new schedule file is not beside the old one";
    kill(pid, SIGTERM);
    ProgramRun run = FinishShell(pipe);
    close(feed);
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), reference_);
    EXPECT_EQ(NamesIn(dir_), (Names{"feed.txt", "out.SCH", "season.txt"}));
  }
}

TEST_F(ReliabilityTest, FifoInputWaitsForItsWriter) {
  // The program opens the FIFO before anybody writes to it: it must wait, as
  // cat does, and not take the time before the writer as the end of the data.
  ASSERT_EQ(mkfifo(dir_.File("feed.txt").c_str(), 0644), 0);
  const std::string old_schedule = "an older schedule";
  for (const Program& program : kPrograms) {
    SCOPED_TRACE(program.name);
    WriteFileBytes(dir_.File("out.SCH"), old_schedule);
    FILE* pipe = StartShell("cd " + ShellQuote(dir_.path().string()) + " && " +
                            program.command("", "feed.txt", "out.SCH"));
    ASSERT_TRUE(WaitUntil([&] { return FileIsLocked(dir_.File("out.SCH")); }));
    int pid = -1;
    ASSERT_TRUE(WaitUntil([&] { return (pid = ProgramHolding(program, dir_.File("feed.txt"))) > 0; }));
    // Waiting in poll for a while, the schedule file as it was.
    WaitUntil([&] { return ReadFileBytes("/proc/" + std::to_string(pid) + "/wchan").find("poll") !=
                           std::string::npos; });
    EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), old_schedule);
    int feed = open(dir_.File("feed.txt").c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(feed, 0);
    ASSERT_EQ(write(feed, season_.data(), season_.size()), static_cast<ssize_t>(season_.size()));
    close(feed);
    ProgramRun run = FinishShell(pipe);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), reference_);
  }

  // Ctrl+C (SIGINT) ends the wait of schedule-tool; the schedule stays as it was.
  FILE* pipe = StartShell("cd " + ShellQuote(dir_.path().string()) + " && " +
                          kTool.command("", "feed.txt", "out.SCH"));
  int pid = -1;
  ASSERT_TRUE(WaitUntil([&] { return (pid = ProgramHolding(kTool, dir_.File("feed.txt"))) > 0; }));
  ASSERT_TRUE(WaitUntil([&] { return FileIsLocked(dir_.File("out.SCH")); }));
  kill(pid, SIGINT);
  ProgramRun run = FinishShell(pipe);
  EXPECT_NE(run.status, 0) << run.output;
  EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), reference_);
  EXPECT_EQ(NamesIn(dir_), (Names{"feed.txt", "out.SCH", "season.txt"}));
}

TEST_F(ReliabilityTest, LongNamesAreUsedAndTooLongOnesNamedSo) {
  // A name far past 255 bytes that the system takes, each part short.
  std::string folder;
  for (int i = 0; i < 20; ++i) folder += std::string(19, static_cast<char>('a' + i)) + "/";
  std::filesystem::create_directories(dir_.File(folder));
  ProgramRun built = RunShell("cd " + ShellQuote(dir_.path().string()) + " && " +
                              kTool.command("", "season.txt", folder + "out.SCH"));
  EXPECT_EQ(built.status, 0) << built.output;
  EXPECT_EQ(ReadFileBytes(dir_.File(folder + "out.SCH")), reference_);
  // One longer than any the system takes (PATH_MAX) is refused by its own words.
  std::string too_long(4100, 'n');
  // (The interactive program takes seconds over a name of that length, so
  // it is given one such name only.)
  ProgramRun run = RunIn(kBuilder, "season.txt", too_long);
  ExpectReportedFailure(kBuilder, run, "File name too long", "", "");
  run = RunIn(kTool, "season.txt", too_long);
  ExpectReportedFailure(kTool, run, "File name too long", "", "");
  run = RunIn(kTool, too_long, "out2.SCH");
  ExpectReportedFailure(kTool, run, "Cannot open input file", "", "");
  EXPECT_NE(run.output.find("File name too long"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out2.SCH")));
}

TEST_F(ReliabilityTest, OutputsThatAreNoDiskFileAreRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo(dir_.File("pipe.SCH").c_str(), 0644), 0);
  std::filesystem::create_directory(dir_.File("folder.SCH"));
  std::filesystem::create_symlink("no-such-folder/x.SCH", dir_.File("dangling.SCH"));
  struct Case {
    std::string output;
    std::string message;
  };
  const Case cases[] = {
      {"/dev/full", "Cannot write schedule file \"/dev/full\": Not a disk file"},
      // Nobody reads the FIFO: the program must not wait for a reader.
      {"pipe.SCH", "Cannot write schedule file \"pipe.SCH\": Not a disk file"},
      {"folder.SCH", "Cannot open schedule file \"folder.SCH\": It is a folder, not a file"},
      {"dangling.SCH", "Cannot open schedule file \"dangling.SCH\": Folder not found"},
  };
  for (const Program& program : kPrograms) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.output);
      ProgramRun run = RunIn(program, "season.txt", c.output);
      ExpectReportedFailure(program, run, c.message, "", "");
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir_.File("folder.SCH")));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("no-such-folder")));

  // A link to a missing file in a folder that exists is followed, as a
  // shell's redirection follows it: the schedule lands where it points.
  std::filesystem::create_symlink("target.SCH", dir_.File("link.SCH"));
  for (const Program& program : kPrograms) {
    std::filesystem::remove(dir_.File("target.SCH"));
    EXPECT_EQ(RunIn(program, "season.txt", "link.SCH").status, 0) << program.name;
    EXPECT_EQ(ReadFileBytes(dir_.File("target.SCH")), reference_) << program.name;
    EXPECT_TRUE(std::filesystem::is_symlink(dir_.File("link.SCH")));
  }
}

TEST_F(ReliabilityTest, FolderWithoutWritePermissionIsReported) {
  // Root writes anywhere whatever the bits say, so the programs run as the
  // user nobody for this case.
  std::string wrapper;
  if (geteuid() == 0) {
    wrapper = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    if (RunShell(wrapper + "test -x " + ShellQuote(ZELTO_SCHEDULE_TOOL) + " -a -x " +
                 ShellQuote(ZELTO_SCHEDULE_BUILDER))
            .status != 0) {
      GTEST_SKIP() << "running as root, and the user nobody cannot run the programs here";
    }
  }
  std::filesystem::permissions(dir_.path(), std::filesystem::perms(0755));
  std::filesystem::permissions(dir_.File("season.txt"), std::filesystem::perms(0644));
  std::filesystem::create_directory(dir_.File("locked"));
  std::filesystem::permissions(dir_.File("locked"), std::filesystem::perms(0555));
  for (const Program& program : kPrograms) {
    ProgramRun run = RunIn(program, "season.txt", "locked/out.SCH", wrapper);
    ExpectReportedFailure(program, run,
                          "Cannot open schedule file \"locked/out.SCH\": Access denied", "", "");
    EXPECT_TRUE(std::filesystem::is_empty(dir_.File("locked")));
  }
  // A schedule there that may be written is written in place.
  WriteFileBytes(dir_.File("locked/in-place.SCH"), "an older schedule");
  std::filesystem::permissions(dir_.File("locked/in-place.SCH"), std::filesystem::perms(0666));
  for (const Program& program : kPrograms) {
    ProgramRun run = RunIn(program, "season.txt", "locked/in-place.SCH", wrapper);
    EXPECT_EQ(run.status, 0) << program.name << run.output;
    EXPECT_EQ(ReadFileBytes(dir_.File("locked/in-place.SCH")), reference_) << program.name;
  }
}

TEST_F(ReliabilityTest, OutputsWrittenInPlaceKeepEveryOldByteWhenTheWriteFails) {
  // An output with a second hard link, and one in a folder that takes no new
  // file, are written in place; under a file-size limit smaller than the
  // output, every command fails naming it and both keep their old bytes.
  std::string nobody;
  if (geteuid() == 0) {
    nobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    if (RunShell(nobody + "test -x " + ShellQuote(ZELTO_SCHEDULE_TOOL)).status != 0) nobody = "-";
  }
  const std::string tool = ShellQuote(ZELTO_SCHEDULE_TOOL) + " ";
  WriteFileBytes(dir_.File("teams.csv"),
                 "name,code,league\n45nnewyo,NY1,NL\n45nstlou,SLN,NL\n45npitts,PIT,NL\n45nchica,CHN,NL\n");
  ASSERT_EQ(RunIn(kTool, "season.txt", "season.SCH").status, 0);
  ASSERT_EQ(RunShell("cd " + ShellQuote(dir_.path().string()) + " && " + tool +
                     "export --teams teams.csv --output season.csv season.txt").status, 0);
  std::filesystem::permissions(dir_.path(), std::filesystem::perms(0755));
  for (const char* file : {"season.txt", "season.SCH", "season.csv", "teams.csv"}) {
    std::filesystem::permissions(dir_.File(file), std::filesystem::perms(0644));
  }
  std::filesystem::create_directory(dir_.File("closed"));
  // The command lines, OUT standing for the output.
  const std::string commands[] = {
      "dump --format text --output OUT season.SCH", "report --by pair --output OUT season.txt",
      "calendar --output OUT season.txt", "export --teams teams.csv --output OUT season.txt",
      "import --output OUT season.csv", "generate teams.csv --start 2045-04-01 --output OUT"};
  const std::string old_bytes = "the older output\n";
  for (bool closed_folder : {false, true}) {
    if (closed_folder && nobody == "-") GTEST_SKIP() << "the user nobody cannot run the programs here";
    const std::string out = closed_folder ? "closed/out.txt" : "out.txt";
    const std::string wrapper = (closed_folder ? nobody : "") + "prlimit --fsize=200 ";
    std::filesystem::permissions(dir_.File("closed"), std::filesystem::perms(0777));
    WriteFileBytes(dir_.File(out), old_bytes);
    std::filesystem::permissions(dir_.File(out), std::filesystem::perms(0666));
    if (!closed_folder) std::filesystem::create_hard_link(dir_.File(out), dir_.File("other.txt"));
    std::filesystem::permissions(dir_.File("closed"), std::filesystem::perms(0555));
    auto expect_kept = [&](const ProgramRun& run, const std::string& what) {
      SCOPED_TRACE(what + (closed_folder ? " in a closed folder" : " with another link"));
      EXPECT_EQ(run.status, 1) << run.output;
      EXPECT_NE(run.output.find("\"" + out + "\": Disk full"), std::string::npos) << run.output;
      EXPECT_EQ(ReadFileBytes(dir_.File(out)), old_bytes);
      if (!closed_folder) {
        EXPECT_EQ(ReadFileBytes(dir_.File("other.txt")), old_bytes);
      }
    };
    for (const Program& program : kPrograms) {
      expect_kept(RunIn(program, "season.txt", out, wrapper), program.name);
    }
    for (std::string command : commands) {
      command.replace(command.find("OUT"), 3, out);
      expect_kept(RunShell("cd " + ShellQuote(dir_.path().string()) + " && " + wrapper + tool +
                           command),
                  command);
    }
    // With room, the new bytes reach every name of the file.
    ASSERT_EQ(RunIn(kTool, "season.txt", out, closed_folder ? nobody : "").status, 0);
    EXPECT_EQ(ReadFileBytes(dir_.File(out)), reference_);
    if (!closed_folder) {
      EXPECT_EQ(ReadFileBytes(dir_.File("other.txt")), reference_);
    }
  }
}

TEST_F(ReliabilityTest, SecondCopyOnTheSameScheduleIsRefusedWhileTheFirstWrites) {
  // The first copy reads its input from a FIFO that the test holds open, so
  // it holds the schedule file open until the test lets it finish.
  ASSERT_EQ(mkfifo(dir_.File("feed.txt").c_str(), 0644), 0);
  int feed = open(dir_.File("feed.txt").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(feed, 0);
  FILE* first = StartShell("cd " + ShellQuote(dir_.path().string()) + " && " +
                           kTool.command("", "feed.txt", "same.SCH"));
  ASSERT_TRUE(WaitUntil([&] { return FileIsLocked(dir_.File("same.SCH")); }));

  for (const Program& program : kPrograms) {
    ProgramRun run = RunIn(program, "season.txt", "same.SCH");
    ExpectReportedFailure(program, run,
                          "Cannot open schedule file \"same.SCH\": Access denied, or the file is "
                          "in use",
                          dir_.File("same.SCH"), reference_);
  }

  ASSERT_EQ(write(feed, season_.data(), season_.size()), static_cast<ssize_t>(season_.size()));
  close(feed);
  ProgramRun run = FinishShell(first);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadFileBytes(dir_.File("same.SCH")), reference_);
}

TEST_F(ReliabilityTest, FifoInputClosedEarlyEndsTheInputThere) {
  // A pipe's end is the end of its data: what came before it is built.
  std::string half = season_.substr(0, season_.size() / 2);
  std::string expected = ScheduleOf(half);
  ASSERT_EQ(mkfifo(dir_.File("feed.txt").c_str(), 0644), 0);
  for (const Program& program : kPrograms) {
    std::filesystem::remove(dir_.File("out.SCH"));
    int feed = open(dir_.File("feed.txt").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(feed, 0);
    FILE* pipe = StartShell("cd " + ShellQuote(dir_.path().string()) + " && " +
                            program.command("", "feed.txt", "out.SCH"));
    ASSERT_TRUE(WaitUntil([&] { return FileIsLocked(dir_.File("out.SCH")); }));
    ASSERT_EQ(write(feed, half.data(), half.size()), static_cast<ssize_t>(half.size()));
    close(feed);
    ProgramRun run = FinishShell(pipe);
    EXPECT_EQ(run.status, 0) << program.name << run.output;
    EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), expected) << program.name;
  }
}

TEST_F(ReliabilityTest, ReadFailurePartWayIsReported) {
  if (!StraceWorks()) GTEST_SKIP() << "strace cannot trace here: no read failure to inject";
  // A large season takes several reads on either buffer; the third read of
  // the input fails as a failing disk makes it fail.
  std::string big = Season(5000);
  WriteFileBytes(dir_.File("big.txt"), big);
  std::string expected = ScheduleOf(big);
  std::string wrapper = std::string(kUnderTracer) + "strace -f -o /dev/null -P " +
                        ShellQuote(dir_.File("big.txt")) +
                        " -e trace=pread64 -e inject=pread64:error=EIO:when=3 ";
  for (const Program& program : kPrograms) {
    std::filesystem::remove(dir_.File("out.SCH"));
    ProgramRun run = RunIn(program, "big.txt", "out.SCH", wrapper);
    ExpectReportedFailure(program, run,
                          "Cannot read input file \"big.txt\": Disk read or write error",
                          dir_.File("out.SCH"), expected);
    EXPECT_EQ(ReadFileBytes(dir_.File("big.txt")), big);
  }
}

TEST_F(ReliabilityTest, InputCutShortWhileReadIsReportedAndVanishingInputIsReadToItsEnd) {
  if (!StraceWorks()) GTEST_SKIP() << "strace cannot trace here: no way to stop between reads";
  std::string big = Season(5000);  // three reads of the batch command's buffer
  std::string expected = ScheduleOf(big);
  const std::string input = dir_.File("big.txt");
  const std::string output = dir_.File("out.SCH");
  // The program stops as it starts its second read of the input; the test
  // then changes the file and lets it go on.
  auto run_stopped = [&](const std::function<void()>& change) {
    WriteFileBytes(input, big);
    std::filesystem::remove(output);
    FILE* pipe = StartShell(std::string(kUnderTracer) + "strace -f -o /dev/null -P " +
                            ShellQuote(input) +
                            " -e trace=pread64 -e inject=pread64:signal=SIGSTOP:when=2 " +
                            kTool.command("", input, output));
    int pid = -1;
    bool stopped = WaitUntil([&] { return (pid = StoppedProcessWith(output)) > 0; });
    if (stopped) {
      change();
      // A stop seen at the read's trap may come before the SIGSTOP itself,
      // which a single SIGCONT would then miss: go on until the program ends.
      WaitUntil([&] { return kill(pid, SIGCONT) != 0; });
    }
    ProgramRun run = FinishShell(pipe);
    EXPECT_TRUE(stopped) << run.output;
    return run;
  };

  ProgramRun cut = run_stopped([&] { std::filesystem::resize_file(input, 1000); });
  ExpectReportedFailure(kTool, cut,
                        "Cannot read input file \"" + input + "\": File access error", output,
                        expected);
  EXPECT_EQ(ReadFileBytes(input), big.substr(0, 1000));

  // A removed file stays readable through the open handle: the schedule is
  // the whole of the file as it was opened.
  ProgramRun vanished = run_stopped([&] { std::filesystem::remove(input); });
  EXPECT_EQ(vanished.status, 0) << vanished.output;
  EXPECT_EQ(ReadFileBytes(output), expected);
  EXPECT_FALSE(std::filesystem::exists(input));
}

TEST_F(ReliabilityTest, ReaderReportsAFileCutBelowWhatItHasRead) {
  // The dialogue's small buffer: cut the file after two buffers were taken.
  std::string big = Season(40);
  WriteFileBytes(dir_.File("big.txt"), big);
  ASSERT_EQ(files::OpenForInput(1, dir_.File("big.txt"), 128), 0);
  std::string field;
  size_t taken = 0;
  while (taken < 300) {
    ASSERT_EQ(files::ReadField(1, &field), 0);
    taken += field.size() + 2;
  }
  std::filesystem::resize_file(dir_.File("big.txt"), 100);
  int code = 0;
  for (int i = 0; i < 100 && code == 0; ++i) code = files::ReadField(1, &field);
  EXPECT_EQ(code, frame::kPathFileAccess);
  // Cut ahead of the reader, the file is read to its new end as it stands.
  files::CloseAllFiles();
  WriteFileBytes(dir_.File("big.txt"), big);
  ASSERT_EQ(files::OpenForInput(1, dir_.File("big.txt"), 128), 0);
  size_t cut = big.find("\r\n", 1000) + 2;
  std::filesystem::resize_file(dir_.File("big.txt"), cut);
  std::string read;
  while ((code = files::ReadField(1, &field)) == 0) read += field + "\r\n";
  EXPECT_EQ(code, frame::kPastEndOfFile);
  EXPECT_EQ(read, big.substr(0, cut));
  files::CloseAllFiles();
  frame::ResetErrorWord();
}

// The interactive program in a real terminal (tmux).
class TerminalFaultTest : public ReliabilityTest {
 protected:
  // The program in the test folder, its end noted (testing/program_in_tmux.h).
  std::string Command() {
    return testing_support::ProgramInFolderCommand(dir_.path(), ShellQuote(ZELTO_SCHEDULE_BUILDER));
  }
  // The program's exit status once it has ended, or -1.
  int ExitStatus() { return testing_support::WaitForExitStatus(dir_.path(), 10); }
};

TEST_F(TerminalFaultTest, SignalWhileTheScheduleIsNamedLeavesFilesAndTerminalAsTheyWere) {
  const std::string old_schedule = "an older schedule";
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signal_number);
    testing_support::ForgetTheLastRun(dir_.path());
    WriteFileBytes(dir_.File("out.SCH"), old_schedule);
    TmuxSession tmux(Command(), 80, 30);
    ASSERT_TRUE(tmux.WaitFor("Input File:"));
    tmux.Type("season.txt");
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.WaitFor("extension):"));
    tmux.Type("out.SC");
    ASSERT_TRUE(testing_support::SignalProgram(tmux, "schedule-builder", signal_number));
    EXPECT_EQ(ExitStatus(), 128 + signal_number);
    EXPECT_EQ(ReadFileBytes(dir_.File("modes.after")), ReadFileBytes(dir_.File("modes.before")));
    EXPECT_EQ(ReadFileBytes(dir_.File("out.SCH")), old_schedule);
    EXPECT_EQ(ReadFileBytes(dir_.File("season.txt")), season_);
  }
}

TEST_F(TerminalFaultTest, TerminalShrunkToOneCellWhileTheProgramWrites) {
  TmuxSession tmux(Command(), 80, 30);
  ASSERT_TRUE(tmux.WaitFor("Input File:"));
  tmux.Tmux("resize-window -t 0 -x 1 -y 1");
  tmux.Type("season");
  tmux.Tmux("resize-window -t 0 -x 3 -y 2");
  tmux.Type(".txt");
  tmux.Keys("Enter");
  tmux.Tmux("resize-window -t 0 -x 1 -y 1");
  // Everything else typed ahead: the program echoes, builds and writes its
  // closing lines into the single cell.
  tmux.Type("out.SCH");
  tmux.Keys("Enter");
  ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(dir_.File("out.SCH")) == reference_; }));
  tmux.Keys("Enter");
  EXPECT_EQ(ExitStatus(), 0) << tmux.ScreenText();
  tmux.Tmux("resize-window -t 0 -x 80 -y 30");
  EXPECT_EQ(ReadFileBytes(dir_.File("modes.after")), ReadFileBytes(dir_.File("modes.before")));
  EXPECT_EQ(ReadFileBytes(dir_.File("season.txt")), season_);
}

}  // namespace
