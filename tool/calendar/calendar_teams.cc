#include "tool/calendar/calendar_teams.h"

#include <algorithm>
#include <utility>

#include "schedule/shown_text.h"
#include "tool/name_distance.h"

namespace tool {

namespace {

// How many of the nearest names an unknown one is answered with.
constexpr size_t kClosestShown = 3;

std::string ClosestNames(const std::vector<std::string>& teams, const std::string& name) {
  std::vector<std::pair<size_t, const std::string*>> nearest;
  for (const std::string& team : teams) nearest.emplace_back(NameDistance(name, team), &team);
  // Nearest first; among equally near names, byte order, as the teams are.
  std::stable_sort(nearest.begin(), nearest.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string shown;
  for (size_t i = 0; i < nearest.size() && i < kClosestShown; ++i) {
    shown += (i == 0 ? "" : ", ") + schedule::Quoted(*nearest[i].second);
  }
  return shown;
}

}  // namespace

bool PickTeams(const std::vector<std::string>& teams, const std::vector<std::string>& asked,
               std::vector<int32_t>* picked, std::vector<std::string>* problems) {
  picked->clear();
  if (asked.empty()) {
    for (size_t i = 0; i < teams.size(); ++i) picked->push_back(static_cast<int32_t>(i));
    return true;
  }
  for (const std::string& name : asked) {
    auto found = std::lower_bound(teams.begin(), teams.end(), name);
    if (found == teams.end() || *found != name) {
      std::string problem = "--team " + schedule::Quoted(name) + ": no game holds this team";
      if (!teams.empty()) problem += "; the closest names: " + ClosestNames(teams, name);
      problems->push_back(problem);
      continue;
    }
    const auto index = static_cast<int32_t>(found - teams.begin());
    if (std::find(picked->begin(), picked->end(), index) == picked->end()) {
      picked->push_back(index);
    }
  }
  return problems->empty();
}

}  // namespace tool
