// libFuzzer target: any bytes as a season, counted as report counts it and
// checked against a plain recount (see report_counts_check.h). A failed
// check aborts, so libFuzzer keeps the input as a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/report_counts_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem =
      fuzz::CheckReportCounts(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "report counts check failed: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
