#include "tool/calendar/calendar_batches.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace tool {

namespace {

// No place: a team the calendar does not show.
constexpr size_t kNotShown = SIZE_MAX;

// The place of each team (by index) among those shown, or kNotShown.
std::shared_ptr<std::vector<size_t>> PlacesShown(const std::vector<int32_t>& shown,
                                                 size_t team_count) {
  auto places = std::make_shared<std::vector<size_t>>(team_count, kNotShown);
  for (size_t place = 0; place < shown.size(); ++place) {
    (*places)[static_cast<size_t>(shown[place])] = place;
  }
  return places;
}

}  // namespace

std::vector<CalendarBatch> PlanBatches(const std::vector<int32_t>& shown,
                                       const std::vector<uint64_t>& team_games, uint64_t budget) {
  std::vector<CalendarBatch> batches;
  uint64_t held = 0;
  for (size_t place = 0; place < shown.size(); ++place) {
    const uint64_t games = team_games[static_cast<size_t>(shown[place])];
    // A game of two teams of the batch is counted twice: a batch holds
    // fewer games than its count, never more.
    if (batches.empty() || held + games > budget) {
      batches.push_back({place, place});
      held = 0;
    }
    held += games;
    batches.back().end = place + 1;
  }
  return batches;
}

CalendarKeep GamesOfBatch(const std::vector<int32_t>& shown, CalendarBatch batch,
                          size_t team_count) {
  auto places = PlacesShown(shown, team_count);
  return [places, batch](const CalendarGame& game) {
    auto in_batch = [&](int32_t team) {
      const size_t place = (*places)[static_cast<size_t>(team)];
      return place != kNotShown && place >= batch.first && place < batch.end;
    };
    return in_batch(game.visitor) || in_batch(game.home);
  };
}

CalendarKeep EventsOfBatch(const std::vector<int32_t>& shown, CalendarBatch batch,
                           size_t team_count) {
  auto places = PlacesShown(shown, team_count);
  return [places, batch](const CalendarGame& game) {
    // kNotShown is the largest place: the first shown is the smaller.
    const size_t first = std::min((*places)[static_cast<size_t>(game.visitor)],
                                  (*places)[static_cast<size_t>(game.home)]);
    return first != kNotShown && first >= batch.first && first < batch.end;
  };
}

}  // namespace tool
