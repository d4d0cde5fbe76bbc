// The words of report: a season's counts as a table a person reads in a
// terminal, under a line of season totals, or as CSV rows for a
// spreadsheet (CR LF, a header line and nothing else). With a teams file,
// each team's display name stands beside its file name; with places, each
// team's travel stands last, and the season's on the first line.
#ifndef ZELTO_TOOL_REPORT_REPORT_FORMAT_H_
#define ZELTO_TOOL_REPORT_REPORT_FORMAT_H_

#include <cstdint>
#include <map>
#include <string>

#include "tool/season/display_names.h"
#include "tool/report/season_counts.h"

namespace tool {

/// What the report has a row for.
enum class ReportBy : uint8_t { kTeam, kPair };

/// How the report is written.
enum class ReportFormat : uint8_t { kText, kCsv };

/// What a teams file (--teams) adds to the report.
struct ReportTeams {
  bool given = false;    ///< a teams file was given: the display columns are shown
  DisplayNames display;  ///< the display names it gives
  bool travel_shown = false;  ///< the teams are placed: the travel column is shown
  std::map<std::string, int64_t, std::less<>> travel;  ///< each team's travel
  std::string travel_unit;    ///< "km" for great-circle distances, else empty
};

/// The report of the counted season `name`.
std::string FormatReport(const std::string& name, const SeasonCounter& counter, ReportBy by,
                         ReportFormat format, const ReportTeams& teams = {});

}  // namespace tool

#endif  // ZELTO_TOOL_REPORT_REPORT_FORMAT_H_
