// The names a season's teams get in the schedule text: a MAP file of names chosen by the user, and the league list
// that picks the games to keep. A MAP is lines "CODE,NAME", or a CSV teams file (tool/season/teams_file.h) whose
// header names its `code` and `name` columns, so that one file holds a season's codes, file names and display
// names: import writes such a file (--teams-output) and export reads it.
#ifndef ZELTO_TOOL_IMPORT_IMPORT_TEAM_MAP_H_
#define ZELTO_TOOL_IMPORT_IMPORT_TEAM_MAP_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

/// A team code and the name a MAP file gives it, in place of the one made
/// for it.
struct MappedName {
  std::string code;  ///< e.g. "NY1"
  std::string name;  ///< e.g. "giants"
  int line = 0;      ///< its line in the MAP file, 0 when it came from elsewhere
};

/// The display names a CSV MAP gives, by team code.
using MapDisplays = std::map<std::string, std::string, std::less<>>;

/// Reads a MAP file's text, blank lines and lines starting with "#" skipped,
/// LF or CR LF line ends: lines "CODE,NAME", or, when its first line is a
/// CSV header naming both a `code` and a `name` column, a CSV teams file,
/// whose teams with a code are taken (each code once, with no blank).
/// Appends the names to `teams`, a CSV MAP's display names to `displays`
/// (when not null), and one "MAP:LINE: message" per refused line to
/// `errors`, MAP being `map_name`. Returns 0 when every line was taken,
/// else the number of lines refused.
int ReadTeamMap(std::string_view map_text, const std::string& map_name, std::vector<MappedName>* teams,
                std::vector<std::string>* errors, MapDisplays* displays = nullptr);

/// Splits the comma-separated league codes of `list` into `leagues`. False,
/// with the reason in `problem`, when the list or one of its codes is empty.
bool ParseLeagueList(std::string_view list, std::vector<std::string>* leagues, std::string* problem);

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_IMPORT_TEAM_MAP_H_
