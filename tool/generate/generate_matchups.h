// The games a league's pairs play at each park, read from a matchups file:
// CSV whose header names the columns team, opponent, games, home and away,
// as report --by pair --format csv writes them. A pair is listed from one
// side or from both; a pair not listed does not meet.
#ifndef ZELTO_TOOL_GENERATE_GENERATE_MATCHUPS_H_
#define ZELTO_TOOL_GENERATE_GENERATE_MATCHUPS_H_

#include <string>
#include <string_view>
#include <vector>

namespace tool {

/// The games of every pair at each park.
struct Matchups {
  int teams = 0;
  std::vector<int> hosted;  ///< teams x teams, [home * teams + visitor]: games at home's park
};

/// Reads the matchups file's text (`file_name` for messages) for the teams
/// `names` (the league's, in its order). False with "FILE:LINE: message"
/// in `errors` for a header without the columns, a team not in the league,
/// a team against itself, games other than home + away, a count that is no
/// whole number, or two rows of one pair that disagree.
bool ReadMatchups(std::string_view text, const std::string& file_name,
                  const std::vector<std::string>& names, Matchups* matchups,
                  std::vector<std::string>* errors);

}  // namespace tool

#endif  // ZELTO_TOOL_GENERATE_GENERATE_MATCHUPS_H_
