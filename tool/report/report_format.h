// The words of report: a season's counts as a table a person reads in a
// terminal, under a line of season totals, or as CSV rows for a
// spreadsheet (CR LF, a header line and nothing else).
#ifndef ZELTO_TOOL_REPORT_REPORT_FORMAT_H_
#define ZELTO_TOOL_REPORT_REPORT_FORMAT_H_

#include <cstdint>
#include <string>

#include "tool/season/season_counts.h"

namespace tool {

/// What the report has a row for.
enum class ReportBy : uint8_t { kTeam, kPair };

/// How the report is written.
enum class ReportFormat : uint8_t { kText, kCsv };

/// The CSV header lines, without their line end.
inline constexpr char kTeamCsvHeader[] =
    "team,games,home,away,doubleheader_dates,longest_home_stand,longest_road_trip,opponents";
inline constexpr char kPairCsvHeader[] = "team,opponent,games,home,away";

/// The report of the counted season `name`.
std::string FormatReport(const std::string& name, const SeasonCounter& counter, ReportBy by,
                         ReportFormat format);

}  // namespace tool

#endif  // ZELTO_TOOL_REPORT_REPORT_FORMAT_H_
