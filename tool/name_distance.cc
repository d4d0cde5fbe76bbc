#include "tool/name_distance.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tool {

size_t NameDistance(std::string_view a, std::string_view b) {
  // Three rows of the distance table: `row[j]` is the distance of the first
  // i bytes of `a` and the first j bytes of `b`, `above` and `two_above`
  // the rows for i - 1 and i - 2, which a swap of two bytes reaches back to.
  std::vector<size_t> two_above(b.size() + 1), above(b.size() + 1), row(b.size() + 1);
  std::iota(row.begin(), row.end(), size_t{0});
  for (size_t i = 1; i <= a.size(); ++i) {
    two_above.swap(above);
    above.swap(row);
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t replaced = above[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      row[j] = std::min({replaced, above[j] + 1, row[j - 1] + 1});
      // Two bytes typed the wrong way round ("bla" for "bal") are one slip.
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        row[j] = std::min(row[j], two_above[j - 2] + 1);
      }
    }
  }
  return row[b.size()];
}

}  // namespace tool
