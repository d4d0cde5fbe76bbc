// How far apart two team names are: the fewest bytes replaced, added or
// removed, or pairs of neighbouring bytes swapped, that turn one into the
// other. A name one byte away from a team
// that plays all season is likely that team's name mistyped.
#ifndef ZELTO_TOOL_NAME_DISTANCE_H_
#define ZELTO_TOOL_NAME_DISTANCE_H_

#include <cstddef>
#include <string_view>

namespace tool {

/// The edit distance of `a` and `b`, byte by byte, case counted.
size_t NameDistance(std::string_view a, std::string_view b);

}  // namespace tool

#endif  // ZELTO_TOOL_NAME_DISTANCE_H_
