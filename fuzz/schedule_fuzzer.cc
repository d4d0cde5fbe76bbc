// libFuzzer target: any bytes as a schedule text file, built into schedule
// files and checked (see schedule_fuzz_check.h). A failed check aborts, so
// libFuzzer keeps the input as a finding.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/schedule_fuzz_check.h"

namespace {

// The folder the fuzzer's files live in for the whole run: in memory where
// the system has such a folder, so the disk is not worn by the runs.
std::string g_folder;

void RemoveFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(g_folder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string base = access("/dev/shm", W_OK) == 0
                         ? "/dev/shm"
                         : std::filesystem::temp_directory_path().string();
  std::string pattern = base + "/zelto-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("zelto schedule fuzzer: cannot make its folder");
    abort();
  }
  g_folder = pattern;
  atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem =
      fuzz::CheckScheduleBuild(std::string_view(reinterpret_cast<const char*>(data), size), g_folder);
  if (!problem.empty()) {
    std::fprintf(stderr, "schedule check failed: %s\n", problem.c_str());
    abort();
  }
  return 0;
}
