#include "tool/generate/travel_state.h"

#include <algorithm>

namespace tool {
namespace {

int64_t Leg(const TravelState& state, int from, int to) {
  if (state.distance.empty()) return 0;
  return state.distance[static_cast<size_t>(from) * static_cast<size_t>(state.teams) +
                        static_cast<size_t>(to)];
}

void AddPart(TravelFigures* tally, const SeriesFigures& part, int sign) {
  tally->travel += sign * part.travel;
  tally->breaks += sign * part.breaks;
  tally->repeaters += sign * part.repeaters;
  tally->runs_over += sign * part.runs_over;
}

bool Broken(const SeriesFigures& part) { return part.repeaters != 0 || part.runs_over != 0; }

// Keeps `broken` the list of the broken parts as part `index` becomes `part`.
void MarkBroken(TravelState* state, int index, const SeriesFigures& part) {
  int& at = state->broken_at[index];
  if (Broken(part) == (at >= 0)) return;
  if (at < 0) {
    at = static_cast<int>(state->broken.size());
    state->broken.push_back(index);
  } else {
    const int last = state->broken.back();
    state->broken[at] = last;
    state->broken_at[last] = at;
    state->broken.pop_back();
    at = -1;
  }
}

bool SamePart(const SeriesFigures& a, const SeriesFigures& b) {
  return a.travel == b.travel && a.breaks == b.breaks && a.repeaters == b.repeaters &&
         a.runs_over == b.runs_over;
}

}  // namespace

TravelState MakeTravelState(const std::vector<SeriesRound>& rounds, int teams, int limit,
                            const std::vector<int64_t>& distance) {
  TravelState state;
  state.teams = teams;
  state.rounds = static_cast<int>(rounds.size());
  state.limit = limit;
  state.distance = distance;
  const size_t cells = static_cast<size_t>(teams) * rounds.size();
  state.opponent.assign(cells, kResting);
  state.at_home.assign(cells, 0);
  state.hosted_games.assign(static_cast<size_t>(teams * teams), 0);
  for (int r = 0; r < state.rounds; ++r) {
    for (const Series& series : rounds[r]) {
      state.opponent[series.home * state.rounds + r] = static_cast<int16_t>(series.visitor);
      state.opponent[series.visitor * state.rounds + r] = static_cast<int16_t>(series.home);
      state.at_home[series.home * state.rounds + r] = 1;
      state.hosted_games[series.home * teams + series.visitor] += series.games;
    }
  }
  RecountAll(&state);
  return state;
}

void KeepGames(const std::vector<SeriesRound>& rounds, const std::vector<int>& days,
               int most_idle, TravelState* state) {
  state->games.assign(state->opponent.size(), 0);
  state->days = days;
  state->most_idle = most_idle;
  for (int r = 0; r < state->rounds; ++r) {
    for (const Series& series : rounds[r]) {
      for (int team : {series.home, series.visitor}) {
        state->games[static_cast<size_t>(team) * state->rounds + r] =
            static_cast<int8_t>(series.games);
      }
    }
  }
}

namespace {

// Where a team stands before a round: the park it is at (home before its
// first series), and of its last series the park side, the opponent and the
// run at one park it ends (at most one past the limit).
struct Standing {
  int park = 0;
  int home = -1;
  int opponent = -2;
  int run = 0;
};

// One team's row of the state, as the counting reads it.
struct Row {
  const int16_t* opponent;
  const char* home;
  const int64_t* distance;  // nullptr: no travel
  int teams, team, limit;
};

Row RowOf(const TravelState& state, int team) {
  const size_t row = static_cast<size_t>(team) * static_cast<size_t>(state.rounds);
  return Row{&state.opponent[row], &state.at_home[row],
             state.distance.empty() ? nullptr : state.distance.data(), state.teams, team,
             state.limit};
}

Standing StandingBefore(const Row& row, int round) {
  int before = round - 1;
  while (before >= 0 && row.opponent[before] == kResting) --before;
  if (before < 0) return Standing{row.team, -1, -2, 0};
  const int home = row.home[before];
  Standing standing{home ? row.team : row.opponent[before], home, row.opponent[before], 1};
  for (int k = before - 1; k >= 0 && standing.run <= row.limit; --k) {
    if (row.opponent[k] == kResting) continue;
    if (row.home[k] != home) break;
    ++standing.run;
  }
  return standing;
}

// What the series of the row's team in `round` adds after `standing`, which
// then moves on past it.
inline SeriesFigures Follow(const Row& row, int round, Standing* standing) {
  SeriesFigures part;
  const int opponent = row.opponent[round];
  if (opponent == kResting) return part;
  const int home = row.home[round];
  const int park = home ? row.team : opponent;
  if (row.distance != nullptr) {
    part.travel = static_cast<int32_t>(row.distance[standing->park * row.teams + park]);
  }
  part.repeaters = standing->opponent == opponent;
  if (standing->home == home) {
    part.breaks = 1;
    standing->run = std::min(standing->run + 1, row.limit + 1);
    part.runs_over = standing->run > row.limit;
  } else {
    standing->run = 1;
  }
  standing->park = park;
  standing->home = home;
  standing->opponent = opponent;
  return part;
}

}  // namespace

SeriesFigures PartAt(const TravelState& state, int team, int round) {
  const Row row = RowOf(state, team);
  Standing standing = StandingBefore(row, round);
  return Follow(row, round, &standing);
}

int64_t TripHomeOf(const TravelState& state, int team) {
  const int16_t* opponent = &state.opponent[static_cast<size_t>(team) * state.rounds];
  for (int r = state.rounds - 1; r >= 0; --r) {
    if (opponent[r] == kResting) continue;
    return state.at_home[static_cast<size_t>(team) * state.rounds + r] ? 0
                                                                       : Leg(state, opponent[r], team);
  }
  return 0;
}

void RecountAll(TravelState* state) {
  state->part.assign(state->opponent.size(), SeriesFigures{});
  state->trip_home.assign(static_cast<size_t>(state->teams), 0);
  state->total = TravelFigures{};
  state->broken.clear();
  state->broken_at.assign(state->opponent.size(), -1);
  for (int team = 0; team < state->teams; ++team) {
    const Row row = RowOf(*state, team);
    Standing standing = StandingBefore(row, 0);
    for (int r = 0; r < state->rounds; ++r) {
      SeriesFigures part = Follow(row, r, &standing);
      const int index = team * state->rounds + r;
      state->part[index] = part;
      MarkBroken(state, index, part);
      AddPart(&state->total, part, 1);
    }
    state->trip_home[team] = TripHomeOf(*state, team);
    state->total.travel += state->trip_home[team];
  }
}

void Reweigh(const TravelState& state, int team, const std::vector<int>& changed,
             TravelFigures* change, std::vector<PendingPart>* pending) {
  const Row row = RowOf(state, team);
  const int16_t* opponent = row.opponent;
  const SeriesFigures* parts = &state.part[static_cast<size_t>(team) * state.rounds];
  const int first_index = team * state.rounds;
  int next = 0;  // the first round not yet recounted
  Standing standing;
  for (int from : changed) {
    // The changed round itself and on to the limit-th series after it: the
    // furthest whose run can reach back to it.
    int end = from + 1;
    for (int seen = 0; end < state.rounds && seen < state.limit; ++end) {
      seen += opponent[end] != kResting;
    }
    // Where the team stands: carried on from the rounds just recounted, or
    // found afresh.
    const int start = std::max(from, next);
    if (start != next || next == 0) standing = StandingBefore(row, start);
    for (int round = start; round < end; ++round) {
      const SeriesFigures part = Follow(row, round, &standing);
      const SeriesFigures& old = parts[round];
      if (!SamePart(part, old)) {
        AddPart(change, part, 1);
        AddPart(change, old, -1);
        pending->push_back(PendingPart{first_index + round, part, 0});
      }
    }
    next = std::max(next, end);
  }
  const int64_t trip_home = TripHomeOf(state, team);
  if (trip_home != state.trip_home[team]) {
    change->travel += trip_home - state.trip_home[team];
    pending->push_back(PendingPart{-1 - team, SeriesFigures{}, trip_home});
  }
}

void Keep(TravelState* state, const std::vector<PendingPart>& pending, const TravelFigures& change) {
  for (const PendingPart& p : pending) {
    if (p.index >= 0) {
      state->part[p.index] = p.part;
      MarkBroken(state, p.index, p.part);
    } else {
      state->trip_home[-1 - p.index] = p.trip_home;
    }
  }
  AddFigures(&state->total, change);
}

std::vector<SeriesRound> RoundsOf(const TravelState& state) {
  std::vector<SeriesRound> rounds(static_cast<size_t>(state.rounds));
  for (int team = 0; team < state.teams; ++team) {
    for (int r = 0; r < state.rounds; ++r) {
      const size_t at = static_cast<size_t>(team) * state.rounds + r;
      if (state.opponent[at] != kResting && state.at_home[at]) {
        rounds[r].push_back(
            Series{team, state.opponent[at], state.games.empty() ? 0 : state.games[at]});
      }
    }
  }
  return rounds;
}

}  // namespace tool
