// The team names of a season, each given a number the first time it is
// seen, so that what is counted per team or per pair is found by number
// rather than by comparing names game after game.
#ifndef ZELTO_TOOL_SEASON_TEAM_NUMBERS_H_
#define ZELTO_TOOL_SEASON_TEAM_NUMBERS_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tool {

/// Numbers names from 0 in the order they are first seen. A stored name is
/// at most 8 bytes: such a name is found as one word in a table of its
/// own, for the millions of games of a large season; a longer one through
/// a map.
class TeamNumbers {
 public:
  /// The number of `name`, given it now if it is new.
  size_t Number(std::string_view name);
  /// The name numbered `number`.
  const std::string& Name(size_t number) const { return names_[number]; }
  size_t size() const { return names_.size(); }
  /// The numbers in byte order of their names.
  std::vector<size_t> InByteOrder() const;

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };
  // A place of the short names' table: a name's bytes as one word (zeros
  // past its end), its length, which tells "a" from "a" and a NUL byte, and
  // its number; length 0 marks a free place.
  struct ShortNamePlace {
    uint64_t bytes = 0;
    size_t length = 0;
    size_t number = 0;
  };
  size_t ShortNumber(std::string_view name);
  void GrowShortTable();

  std::vector<ShortNamePlace> short_places_;  // open addressing, 2^short_bits_ places
  int short_bits_ = 6;
  size_t short_count_ = 0;
  std::unordered_map<std::string, size_t, Hash, std::equal_to<>> numbers_;  // longer names
  std::vector<std::string> names_;
};

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_TEAM_NUMBERS_H_
