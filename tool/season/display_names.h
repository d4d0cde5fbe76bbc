// The names people read for a season's teams: a teams file given with
// --teams (report, calendar) read whole, and each team's display name found
// by the name its games carry. A team the file gives no display name, or
// does not hold at all, is shown by that name itself.
#ifndef ZELTO_TOOL_SEASON_DISPLAY_NAMES_H_
#define ZELTO_TOOL_SEASON_DISPLAY_NAMES_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tool/season/teams_file.h"

namespace tool {

/// Display names by team file name; a team with none is not held.
struct DisplayNames {
  std::map<std::string, std::string, std::less<>> by_name;  ///< file name -> display name
};

/// Reads the teams file `path` as ReadTeamsFileAt does, and takes its
/// display names.
bool ReadDisplayNames(int16_t number, const std::string& path, DisplayNames* names,
                      std::vector<std::string>* failures);

/// The display names a teams file gives.
DisplayNames DisplayNamesOf(const TeamsFile& teams);

/// The display name of the team `name`, or empty when it has none.
std::string_view DisplayNameOf(const DisplayNames& names, std::string_view name);

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_DISPLAY_NAMES_H_
