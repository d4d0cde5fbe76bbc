// The team list: every team code a season file may name, with its league,
// city and nickname and the seasons it played. The table is made by the
// build from teams/retrosheet-teams.csv (team_list_table.cmake).
#ifndef ZELTO_TOOL_IMPORT_TEAM_LIST_H_
#define ZELTO_TOOL_IMPORT_TEAM_LIST_H_

#include <span>
#include <string_view>

namespace tool {

/// One row of the team list.
struct TeamListEntry {
  std::string_view code;      ///< e.g. "NY1"
  std::string_view leagues;   ///< "NL", "AL;NL", or empty
  std::string_view city;      ///< e.g. "New York", "St.Louis"
  std::string_view nickname;  ///< e.g. "Giants"
  int first;                  ///< the first season played
  int last;                   ///< the last season played
};

/// Every team of the list, in the list's order.
std::span<const TeamListEntry> TeamList();

/// The entry for `code` (exact, case and all), or null when the list has none.
const TeamListEntry* FindTeam(std::string_view code);

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_TEAM_LIST_H_
