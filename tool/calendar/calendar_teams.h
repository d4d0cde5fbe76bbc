// Which teams a calendar shows: those asked for by name, or every team. A
// name no game holds is most often a mistyped one, so it is answered with
// the names nearest to it.
#ifndef ZELTO_TOOL_CALENDAR_CALENDAR_TEAMS_H_
#define ZELTO_TOOL_CALENDAR_CALENDAR_TEAMS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace tool {

/// The indexes into `teams` (every name of a season, in byte order) of the
/// names `asked`, in the order asked, each once; with none asked, every
/// team. False, with one line per name no game holds in `problems`, naming
/// it and the closest names that exist.
bool PickTeams(const std::vector<std::string>& teams, const std::vector<std::string>& asked,
               std::vector<int32_t>* picked, std::vector<std::string>* problems);

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_CALENDAR_TEAMS_H_
