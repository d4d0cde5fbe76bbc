// The checks the report-counts fuzzer makes on one input: what report counts
// of a season (season_counts.h) against a plain recount of the games the
// reader tells, for a schedule text and for the schedule file built from
// it, both read from memory.
#ifndef ZELTO_FUZZ_REPORT_COUNTS_CHECK_H_
#define ZELTO_FUZZ_REPORT_COUNTS_CHECK_H_

#include <string>
#include <string_view>

namespace fuzz {

/// Reads `input` as a season (a schedule text, or a schedule file if it is
/// one) and counts it as report does; checks that every team's home and
/// away games add up to its games and match a plain recount, that every
/// pair's games add up from both sides, and that the schedule file built
/// from a text counts the same. Empty when every check holds, else what
/// did not.
std::string CheckReportCounts(std::string_view input);

}  // namespace fuzz

#endif  // ZELTO_FUZZ_REPORT_COUNTS_CHECK_H_
