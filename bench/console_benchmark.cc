// Console speed on a real pseudo-terminal: drawing the dialogue's whole
// 20-line screen, echoing one key, and the processor time an idle line read
// uses per second of waiting (the 1 ms poll should keep it small).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "builder/introduction.h"
#include "console/console_output.h"
#include "console/console_state.h"
#include "console/line_input.h"
#include "console/terminal_device_posix.h"

namespace {

// A pseudo-terminal whose far side is read and thrown away, as a terminal
// window would take the bytes.
struct PseudoTerminal {
  int master = -1;
  int slave = -1;
  std::atomic<bool> running{true};
  std::thread drain;

  PseudoTerminal() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    slave = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    struct winsize size = {30, 80, 0, 0};
    ioctl(master, TIOCSWINSZ, &size);
    struct termios modes;
    tcgetattr(slave, &modes);
    cfmakeraw(&modes);
    tcsetattr(slave, TCSANOW, &modes);
    drain = std::thread([this] {
      char sink[65536];
      while (running) {
        if (read(master, sink, sizeof sink) <= 0) break;
      }
    });
  }
  ~PseudoTerminal() {
    running = false;
    close(slave);
    close(master);
    drain.join();
  }
};

PseudoTerminal* terminal;
console::TerminalDevice* device;

void BM_DrawDialogueScreen(benchmark::State& state) {
  for (auto _ : state) {
    console::ClearScreen();
    for (const char* line : builder::kIntroduction) {
      console::PrintText(line);
      console::PrintNewline();
    }
  }
}
BENCHMARK(BM_DrawDialogueScreen)->Unit(benchmark::kMicrosecond);

void BM_EchoOneKey(benchmark::State& state) {
  console::SetCursor(1, 22);
  int column = 0;
  for (auto _ : state) {
    console::PrintCharacter('x');
    if (++column == 70) {  // stay on one row, as a typed name does
      state.PauseTiming();
      console::SetCursor(1, 22);
      column = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_EchoOneKey)->Unit(benchmark::kMicrosecond);

double ThreadCpuSeconds() {
  struct rusage usage;
  getrusage(RUSAGE_THREAD, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// An idle read: nothing typed for two seconds, then Enter.
void MeasureIdleRead() {
  static constexpr double kIdleSeconds = 2.0;
  std::thread typist([] {
    std::this_thread::sleep_for(std::chrono::duration<double>(kIdleSeconds));
    if (write(terminal->master, "\r", 1) != 1) std::perror("write");
  });
  double cpu_before = ThreadCpuSeconds();
  auto start = std::chrono::steady_clock::now();
  console::ReadLine();
  std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
  double cpu = ThreadCpuSeconds() - cpu_before;
  typist.join();
  std::printf("\nidle line read: %.3f s of processor time over %.2f s of waiting "
              "(%.2f%% of one core, %.1f ms per second)\n",
              cpu, waited.count(), 100 * cpu / waited.count(), 1000 * cpu / waited.count());
}

}  // namespace

int main(int argc, char** argv) {
  PseudoTerminal pty;
  terminal = &pty;
  console::TerminalDevice terminal_device(pty.slave, pty.slave);
  device = &terminal_device;
  console::SetUpConsole(device);

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  MeasureIdleRead();
  return 0;
}
