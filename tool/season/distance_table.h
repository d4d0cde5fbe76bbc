// How far the teams travel between their parks: a table of whole-number
// distances, row the park a team leaves, column the park it goes to, kept in
// the league's order of teams whatever order the file gave them in.
#ifndef ZELTO_TOOL_SEASON_DISTANCE_TABLE_H_
#define ZELTO_TOOL_SEASON_DISTANCE_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

/// The greatest distance between two parks a table may give: a season's
/// travel, weighed with its breaks, stays well within 64 bits.
inline constexpr int64_t kMaxDistance = 1'000'000;

/// The distance from every team's park to every other's.
struct DistanceTable {
  int teams = 0;                   ///< the league's teams, in its order
  std::vector<std::string> names;  ///< their file names, in that order
  std::vector<int64_t> distance;   ///< teams x teams: [from * teams + to]
  std::string unit;                ///< "km" for great-circle distances; empty when a file's
};

/// The distance from the park of team `from` to that of team `to`.
inline int64_t DistanceBetween(const DistanceTable& table, int from, int to) {
  return table.distance[static_cast<size_t>(from) * static_cast<size_t>(table.teams) +
                        static_cast<size_t>(to)];
}

/// Reads a distances file's text: a header line of team names, then one row
/// a team, its name and its distance to each team of the header, blanks or
/// TABs between; blank lines and lines starting with "#" skipped, LF or CR
/// LF line ends. Every team of `team_names` (the league's, in its order)
/// appears once in the header and once as a row; distances are whole
/// numbers from 0 to kMaxDistance, 0 from a team to itself. Every refusal is
/// one "FILE:LINE: message" in `errors` (FILE being `file_name`). True when
/// there were none.
bool ReadDistanceTable(std::string_view text, const std::string& file_name,
                       const std::vector<std::string>& team_names, DistanceTable* table,
                       std::vector<std::string>* errors);

/// The team names of a distances file's header (its first line that is not
/// blank or a "#" comment), in its order: the teams of a table read for a
/// season whose teams are known only once it is read.
std::vector<std::string> DistanceTableTeams(std::string_view text);

/// The most bytes of a distances file: a table of a few hundred teams.
inline constexpr size_t kMaxDistancesFileBytes = 1024 * 1024;

/// Reads the distances file `path` ("-": standard input) whole as file
/// `number`, at most kMaxDistancesFileBytes, as ReadDistanceTable reads it
/// for `team_names`, or, when that is empty, for the teams of its header.
/// The file stays open, so that an output naming it is refused as a file in
/// use. False, with each reason in `failures`.
bool ReadDistanceTableAt(int16_t number, const std::string& path,
                         const std::vector<std::string>& team_names, DistanceTable* table,
                         std::vector<std::string>* failures);

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_DISTANCE_TABLE_H_
