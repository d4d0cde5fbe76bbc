#include "tool/team_names.h"

#include <algorithm>
#include <numeric>

namespace tool {

size_t TeamNames::Number(std::string_view name) {
  auto found = numbers_.find(name);
  if (found != numbers_.end()) return found->second;
  size_t number = names_.size();
  names_.emplace_back(name);
  numbers_.emplace(names_.back(), number);
  return number;
}

std::vector<size_t> TeamNames::InByteOrder() const {
  std::vector<size_t> order(names_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  // std::string compares as unsigned bytes: byte order, whatever the locale.
  std::sort(order.begin(), order.end(),
            [this](size_t a, size_t b) { return names_[a] < names_[b]; });
  return order;
}

}  // namespace tool
