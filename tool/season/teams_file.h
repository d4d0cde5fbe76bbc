// A teams file: the teams of a league, or of a season, with what is known of
// each. Either lines "NAME" or "NAME DIVISION" (blanks or TABs between), or a
// CSV file whose first line is a header naming its columns, in any order and
// any case: `name` (needed), `division`, `display` (a name for people),
// `latitude` and `longitude` (where the team plays, decimal degrees, north
// and east positive), `code` and `league` (the team's code and league in
// the public season files); other columns are ignored. Either way blank
// lines and lines starting with "#" are skipped, and line ends are LF or
// CR LF. generate reads its league from it; report, calendar and export
// the names people read, the places and the public codes of a season's
// teams.
#ifndef ZELTO_TOOL_SEASON_TEAMS_FILE_H_
#define ZELTO_TOOL_SEASON_TEAMS_FILE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

/// The most bytes of a teams file: a league's or a season's few dozen lines,
/// with room to spare.
inline constexpr size_t kMaxTeamsFileBytes = 1024 * 1024;

/// The most characters of a display name.
inline constexpr size_t kMaxDisplayCharacters = 40;

/// Where a team plays, in decimal degrees.
struct Place {
  double latitude = 0;   ///< -90 to 90, north positive
  double longitude = 0;  ///< -180 to 180, east positive
};

/// One team of a teams file.
struct TeamEntry {
  std::string name;             ///< its team file name, as game lines carry it
  std::string division;         ///< empty when it names none
  std::string display;          ///< the name people read (UTF-8); empty when none
  std::string code;             ///< its code in the public season files; empty when none
  std::string league;           ///< its league there; empty when none
  std::optional<Place> place;   ///< where it plays, when the file says
  int line = 0;                 ///< its line in the file
};

/// The teams of a file, in its order.
struct TeamsFile {
  std::vector<TeamEntry> teams;
  bool csv = false;  ///< read as CSV with a header
  /// The entry of the team named `name`, or null.
  const TeamEntry* Find(std::string_view name) const;
};

/// A CSV header's field as the column it names: the blanks around it
/// dropped, ASCII letters in lower case.
std::string ColumnName(std::string_view field);

/// Reads a teams file's text. It is CSV when its first line that is not
/// blank or a "#" comment holds a comma: that line is then the header.
/// Every refused line is one "FILE:LINE: message" in `errors` (FILE being
/// `file_name`): a name a game line cannot carry or given twice, a
/// division named by some teams and not others, a display name that is not
/// UTF-8, holds a control character or is longer than 40 characters, a
/// latitude or longitude out of range or given without the other, a row
/// of more fields than the header. True when there were none.
bool ReadTeamsFile(std::string_view text, const std::string& file_name, TeamsFile* teams,
                   std::vector<std::string>* errors);

/// Reads the teams file `path` ("-": standard input) whole as file `number`,
/// at most kMaxTeamsFileBytes, as ReadTeamsFile reads it. The file stays
/// open, so that an output naming it is refused as a file in use. False,
/// with each reason in `failures`: the file unreadable, or every line it
/// refuses as "TEAMS:LINE: message".
bool ReadTeamsFileAt(int16_t number, const std::string& path, TeamsFile* teams,
                     std::vector<std::string>* failures);

/// The great-circle distance between two places on a sphere of the Earth's
/// mean radius (6,371 km), in whole kilometres, rounded to the nearest.
int64_t GreatCircleKilometres(const Place& from, const Place& to);

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_TEAMS_FILE_H_
