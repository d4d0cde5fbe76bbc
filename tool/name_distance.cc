#include "tool/name_distance.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tool {

size_t NameDistance(std::string_view a, std::string_view b) {
  // One row of the distance table at a time: `row[j]` is the distance of
  // the first i bytes of `a` and the first j bytes of `b`.
  std::vector<size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), size_t{0});
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      size_t replaced = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
      row[j] = std::min({replaced, above + 1, row[j - 1] + 1});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace tool
