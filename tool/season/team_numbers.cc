#include "tool/season/team_numbers.h"

#include <algorithm>
#include <numeric>

namespace tool {

namespace {

constexpr size_t kLongestShortName = 8;

uint64_t Packed(std::string_view name) {
  uint64_t bytes = 0;
  if (name.size() == kLongestShortName) {
    // Most stored names fill their 8 bytes: one load, in the order of the
    // loop below on every machine.
    for (size_t i = 0; i < kLongestShortName; ++i) {
      bytes |= static_cast<uint64_t>(static_cast<uint8_t>(name[i])) << (8 * i);
    }
    return bytes;
  }
  for (size_t i = 0; i < name.size(); ++i) {
    bytes |= static_cast<uint64_t>(static_cast<uint8_t>(name[i])) << (8 * i);
  }
  return bytes;
}

// The place of a name in a table of 2^`bits` places: the top bits of one
// multiplication, which every byte of the name moves (names often differ in
// their last bytes alone).
size_t PlaceOf(uint64_t bytes, size_t length, int bits) {
  const uint64_t mixed = (bytes ^ (static_cast<uint64_t>(length) << 59)) * 0x9E3779B97F4A7C15u;
  return static_cast<size_t>(mixed >> (64 - bits));
}

}  // namespace

size_t TeamNumbers::ShortNumber(std::string_view name) {
  if (short_places_.empty()) short_places_.resize(size_t{1} << short_bits_);
  const uint64_t bytes = Packed(name);
  const size_t length = name.size() + 1;
  const size_t last = (size_t{1} << short_bits_) - 1;
  for (size_t place = PlaceOf(bytes, length, short_bits_);; place = (place + 1) & last) {
    ShortNamePlace& entry = short_places_[place];
    if (entry.length == length && entry.bytes == bytes) return entry.number;
    if (entry.length != 0) continue;
    const size_t number = names_.size();
    names_.emplace_back(name);
    entry = ShortNamePlace{bytes, length, number};
    if (++short_count_ * 4 > short_places_.size()) GrowShortTable();  // short probes
    return number;
  }
}

void TeamNumbers::GrowShortTable() {
  ++short_bits_;
  std::vector<ShortNamePlace> old(size_t{1} << short_bits_);
  old.swap(short_places_);
  for (const ShortNamePlace& entry : old) {
    if (entry.length == 0) continue;
    size_t place = PlaceOf(entry.bytes, entry.length, short_bits_);
    while (short_places_[place].length != 0) place = (place + 1) & (short_places_.size() - 1);
    short_places_[place] = entry;
  }
}

size_t TeamNumbers::Number(std::string_view name) {
  if (name.size() <= kLongestShortName) return ShortNumber(name);
  auto found = numbers_.find(name);
  if (found != numbers_.end()) return found->second;
  size_t number = names_.size();
  names_.emplace_back(name);
  numbers_.emplace(names_.back(), number);
  return number;
}

std::vector<size_t> TeamNumbers::InByteOrder() const {
  std::vector<size_t> order(names_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  // std::string compares as unsigned bytes: byte order, whatever the locale.
  std::sort(order.begin(), order.end(),
            [this](size_t a, size_t b) { return names_[a] < names_[b]; });
  return order;
}

}  // namespace tool
