// schedule-tool report: what each team of a season plays, and what is wrong
// with the season itself.
#ifndef ZELTO_TOOL_REPORT_REPORT_COMMAND_H_
#define ZELTO_TOOL_REPORT_REPORT_COMMAND_H_

#include <string>

#include "tool/report/report_format.h"
#include "tool/tool_command.h"

namespace tool {

/// The options of `report`.
struct ReportArguments {
  ReportBy by = ReportBy::kTeam;             ///< --by team|pair
  ReportFormat format = ReportFormat::kText;  ///< --format text|csv
  std::string output;                        ///< --output OUT ("-": standard output)
  std::string teams;                         ///< --teams TEAMS, empty when not given
  std::string distances;                     ///< --distances FILE, empty when not given
};

/// `report [--by team|pair] [--format text|csv] [--teams TEAMS] [--distances
/// FILE] [--output OUT] SEASON`: SEASON a schedule file or a schedule text,
/// "-" standard input; TEAMS a teams file whose display names join the rows
/// and whose places, or FILE's distances, give each team's travel. The exit
/// status: 0 written, 1 failed, 2 usage.
int RunReport(const std::string& season, const ReportArguments& arguments);

/// The report command as the command table holds it.
Command ReportCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_REPORT_REPORT_COMMAND_H_
