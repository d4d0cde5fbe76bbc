// schedule-tool's commands, each a plain function of its parsed command
// line, answering with the exit status: 0 done (check: nothing found), 1
// failed (check: something found); the command line itself is read by
// tool_main.cc, which alone answers 2.
#ifndef ZELTO_TOOL_TOOL_COMMANDS_H_
#define ZELTO_TOOL_TOOL_COMMANDS_H_

#include <string>

#include "tool/report_format.h"
#include "tool/schedule_dump.h"

namespace tool {

/// The exit status of a command line that was not understood.
inline constexpr int kUsageError = 2;

/// `build INPUT OUTPUT`: INPUT "-" is standard input.
int RunBuild(const std::string& input, const std::string& output);

/// `dump [--format F] [--output OUT] FILE`: FILE "-" is standard input,
/// OUT "-" (or none) standard output.
int RunDump(const std::string& file, DumpFormat format, const std::string& output);

/// `check INPUT`: INPUT "-" is standard input.
int RunCheck(const std::string& input);

/// The options of `import`, each empty when not given.
struct ImportArguments {
  std::string leagues;  ///< --league LIST
  std::string teams;    ///< --teams MAP
  std::string output;   ///< --output TEXT ("-": standard output)
};

/// `import [--league LIST] [--teams MAP] [--output TEXT] SEASON`: SEASON
/// "-" is standard input.
int RunImport(const std::string& season, const ImportArguments& arguments);

/// The options of `report`.
struct ReportArguments {
  ReportBy by = ReportBy::kTeam;             ///< --by team|pair
  ReportFormat format = ReportFormat::kText;  ///< --format text|csv
  std::string output;                        ///< --output OUT ("-": standard output)
};

/// `report [--by team|pair] [--format text|csv] [--output OUT] SEASON`:
/// SEASON a schedule file or a schedule text, "-" standard input.
int RunReport(const std::string& season, const ReportArguments& arguments);

/// Flushes standard output: 0, or 1 with the message when it could not be
/// written (a full disk, a closed pipe).
int FinishStandardOutput();

/// Prints `message` on standard error as schedule-tool's own line.
void PrintFailure(const std::string& message);

}  // namespace tool

#endif  // ZELTO_TOOL_TOOL_COMMANDS_H_
