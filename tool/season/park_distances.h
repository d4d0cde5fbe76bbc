// Where a command that counts travel (report, generate) takes the distances
// between parks from: the distances file --distances names, or else the
// places the teams file gives. One rule, so that both commands answer a
// season the same way.
#ifndef ZELTO_TOOL_SEASON_PARK_DISTANCES_H_
#define ZELTO_TOOL_SEASON_PARK_DISTANCES_H_

#include <string>
#include <vector>

#include "tool/season/distance_table.h"
#include "tool/season/teams_file.h"

namespace tool {

/// The distances between the parks of `teams` (read from `teams_path`) into
/// `table`: from the distances file `distances_path` (read as
/// kToolDistancesFile and held open) when it is not empty, its rows for
/// `names` or, when `names` is empty, for the teams of its own header;
/// else from the places `teams` gives, if it gives any. `placed_by` names
/// the file the distances came from, empty when neither gave any. False,
/// with each reason in `failures`, when the distances file is refused.
bool ReadParkDistances(const std::string& distances_path, const std::vector<std::string>& names,
                       const TeamsFile& teams, const std::string& teams_path,
                       DistanceTable* table, std::string* placed_by,
                       std::vector<std::string>* failures);

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_PARK_DISTANCES_H_
