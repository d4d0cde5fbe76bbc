// libFuzzer target: any bytes as a script of keys, screen sizes and console
// calls on the in-memory console (see console_fuzz_check.h). A failed check
// aborts, so libFuzzer keeps the input as a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/console_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem =
      fuzz::CheckConsoleSession(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "console check failed: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
