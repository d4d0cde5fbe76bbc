// schedule-tool generate: a balanced season for a league of any teams.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_COMMAND_H_
#define ZELTO_TOOL_GENERATE_GENERATE_COMMAND_H_

#include <string>
#include <vector>

#include "tool/tool_command.h"

namespace tool {

/// The options of `generate` as given, each empty when not given.
struct GenerateArguments {
  std::string start;              ///< --start YYYY-MM-DD
  std::string meetings;           ///< --meetings N
  std::string division_meetings;  ///< --division-meetings M
  std::string series;             ///< --series L or MIN..MAX
  std::string matchups;           ///< --matchups FILE
  std::string end;                ///< --end YYYY-MM-DD
  std::string most_in_a_row;      ///< --most-in-a-row K
  std::string seed;               ///< --seed S
  std::string distances;          ///< --distances FILE
  std::string effort;             ///< --effort E
  std::string output;             ///< --output TEXT ("-": standard output)
  std::vector<std::string> off_days;  ///< --off-day DAY, each time given
  std::vector<std::string> no_games;  ///< --no-games FROM[..TO], each time given
};

/// `generate TEAMS --start YYYY-MM-DD [options]`: TEAMS "-" is standard
/// input. The exit status: 0 written, 1 refused (nothing written), 2 usage.
int RunGenerate(const std::string& teams, const GenerateArguments& arguments);

/// The generate command as the command table holds it.
Command GenerateCommand();

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_COMMAND_H_
