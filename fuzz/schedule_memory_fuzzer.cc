// libFuzzer target: any bytes as a schedule text, built in memory through
// the build's own reader, grouper and record writer, and checked (see
// schedule_memory_check.h). A failed check aborts, so libFuzzer keeps the
// input as a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/schedule_memory_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem =
      fuzz::CheckScheduleInMemory(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "schedule check in memory failed: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
