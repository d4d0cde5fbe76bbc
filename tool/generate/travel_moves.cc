#include "tool/generate/travel_moves.h"

#include <algorithm>

#include "tool/generate/generate_rounds.h"

namespace tool {
namespace {

// The longest run of rounds two teams trade in one change: longer ones
// are left for other changes.
constexpr int kMostTradedRounds = 64;
// The longest run of rounds played in reverse in one change: a run's cost
// is recounted for every team in each of its rounds.
constexpr int kMostReversedRounds = 12;

// A random number from 0 to count - 1 other than `other`.
int RandomBelowExcept(uint64_t* random, int count, int other) {
  const int pick = RandomBelow(random, count - 1);
  return pick >= other ? pick + 1 : pick;
}

// Where the series of `team` in `round` is kept in the state's rows.
size_t CellOf(const TravelState& state, int team, int round) {
  return static_cast<size_t>(team) * static_cast<size_t>(state.rounds) +
         static_cast<size_t>(round);
}

void Touch(TouchedRounds* touched, int team, int round) {
  std::vector<int>& rounds = touched->of_team[team];
  if (rounds.empty()) touched->teams.push_back(team);
  rounds.push_back(round);
}

// Keeps each touched team's rounds ascending and each once.
void Tidy(TouchedRounds* touched) {
  for (int team : touched->teams) {
    std::vector<int>& rounds = touched->of_team[team];
    if (!std::is_sorted(rounds.begin(), rounds.end())) std::sort(rounds.begin(), rounds.end());
    rounds.erase(std::unique(rounds.begin(), rounds.end()), rounds.end());
  }
}

// Trades the series of `a` and `b` in `round`, where they do not meet: each
// opponent now meets the other team, at the same park as before.
void TradeInRound(TravelState* state, int a, int b, int round, TouchedRounds* touched) {
  const size_t at_a = CellOf(*state, a, round), at_b = CellOf(*state, b, round);
  std::swap(state->opponent[at_a], state->opponent[at_b]);
  std::swap(state->at_home[at_a], state->at_home[at_b]);
  if (!state->games.empty()) std::swap(state->games[at_a], state->games[at_b]);
  for (int team : {a, b}) {
    const int opponent = state->opponent[CellOf(*state, team, round)];
    if (opponent == kResting) continue;
    state->opponent[CellOf(*state, opponent, round)] = static_cast<int16_t>(team);
    if (touched != nullptr) Touch(touched, opponent, round);
  }
  if (touched != nullptr) {
    Touch(touched, a, round);
    Touch(touched, b, round);
  }
}

// Swaps the home side of the series of `team` in `round`.
void Flip(TravelState* state, int team, int round, TouchedRounds* touched) {
  const size_t at = CellOf(*state, team, round);
  const int opponent = state->opponent[at];
  state->at_home[at] = !state->at_home[at];
  char& other = state->at_home[CellOf(*state, opponent, round)];
  other = !other;
  if (touched != nullptr) {
    Touch(touched, team, round);
    Touch(touched, opponent, round);
  }
}

// `move.b` is the opponent of `move.a` in both rounds.
void SwapHomes(TravelState* state, const TravelMove& move, TouchedRounds* touched) {
  for (int round : {move.first, move.second}) Flip(state, move.a, round, touched);
}

// One team's series of the move's two rounds trade places.
void SwapOneTeamsRounds(TravelState* state, int team, const TravelMove& move,
                        TouchedRounds* touched) {
  const size_t first = CellOf(*state, team, move.first), second = CellOf(*state, team, move.second);
  std::swap(state->opponent[first], state->opponent[second]);
  std::swap(state->at_home[first], state->at_home[second]);
  if (!state->games.empty()) std::swap(state->games[first], state->games[second]);
  if (touched != nullptr) {
    Touch(touched, team, move.first);
    Touch(touched, team, move.second);
  }
}

// The rounds of `move.first` to `move.second` reversed: the season's runs
// inside them kept, turned round, and only those at their ends joined anew.
void ReverseRounds(TravelState* state, const TravelMove& move, TouchedRounds* touched) {
  for (int team = 0; team < state->teams; ++team) {
    const size_t row = CellOf(*state, team, 0);
    std::reverse(state->opponent.begin() + row + move.first,
                 state->opponent.begin() + row + move.second + 1);
    std::reverse(state->at_home.begin() + row + move.first,
                 state->at_home.begin() + row + move.second + 1);
    if (!state->games.empty()) {
      std::reverse(state->games.begin() + row + move.first,
                   state->games.begin() + row + move.second + 1);
    }
    if (touched != nullptr) {
      for (int round = move.first; round <= move.second; ++round) Touch(touched, team, round);
    }
  }
  // A round takes its days with it.
  if (!state->days.empty()) {
    std::reverse(state->days.begin() + move.first, state->days.begin() + move.second + 1);
  }
}

void SwapRounds(TravelState* state, const TravelMove& move, TouchedRounds* touched) {
  for (int team = 0; team < state->teams; ++team) SwapOneTeamsRounds(state, team, move, touched);
  if (!state->days.empty()) std::swap(state->days[move.first], state->days[move.second]);
}

void SwapChain(TravelState* state, const TravelMove& move, TouchedRounds* touched) {
  for (int team : move.chain) SwapOneTeamsRounds(state, team, move, touched);
}

void SwapTeams(TravelState* state, const TravelMove& move, TouchedRounds* touched) {
  const int a = move.a, b = move.b;
  for (int round = 0; round < state->rounds; ++round) {
    if (state->opponent[CellOf(*state, a, round)] == b) {
      // Their own series: each now plays the other's part, at the other park.
      Flip(state, a, round, touched);
    } else {
      TradeInRound(state, a, b, round, touched);
    }
  }
  // What each park hosts goes with the team.
  const int n = state->teams;
  for (int t = 0; t < n; ++t) std::swap(state->hosted_games[a * n + t], state->hosted_games[b * n + t]);
  for (int t = 0; t < n; ++t) std::swap(state->hosted_games[t * n + a], state->hosted_games[t * n + b]);
}

void SwapTeamRounds(TravelState* state, const TravelMove& move, TouchedRounds* touched) {
  for (int round : move.rounds) TradeInRound(state, move.a, move.b, round, touched);
  // The flips lie outside the traded rounds: made before or after the
  // trades, the same change.
  for (auto [team, round] : move.flips) Flip(state, team, round, touched);
}

// A series of `team` in `round` as a key: its opponent (or a rest), and its
// park unless `opponent_alone`.
int KeyOf(const TravelState& state, int team, int round, bool opponent_alone) {
  const size_t at = CellOf(state, team, round);
  return (state.opponent[at] + 1) * 2 + (opponent_alone ? 0 : state.at_home[at]);
}

// For rounds traded by opponent alone, the series outside them whose home
// sides swap so that `a` and `b` host each opponent as often as before: a
// pair whose traded series brought `a` more games at home gives as many of
// its others away, and `b` the reverse. False when a pair has too few.
bool PickFlips(const TravelState& state, uint64_t* random, MoveScratch* scratch,
               TravelMove* move) {
  const int a = move->a, b = move->b;
  std::vector<int>& hosting = scratch->hosting;
  hosting.assign(static_cast<size_t>(state.teams), 0);
  for (int round : move->rounds) {
    const size_t at_a = CellOf(state, a, round), at_b = CellOf(state, b, round);
    if (state.opponent[at_a] != kResting) hosting[state.opponent[at_a]] -= state.at_home[at_a];
    if (state.opponent[at_b] != kResting) hosting[state.opponent[at_b]] += state.at_home[at_b];
  }
  move->flips.clear();
  const int offset = RandomBelow(random, state.rounds);
  for (int opponent = 0; opponent < state.teams; ++opponent) {
    const int gained = hosting[opponent];
    if (gained == 0) continue;
    // `a` gives away the home games it gained (or takes back those it
    // lost); `b` the reverse.
    for (int side = 0; side < 2; ++side) {
      const int team = side == 0 ? a : b;
      const bool at_home = (gained > 0) == (side == 0);
      int wanted = gained > 0 ? gained : -gained;
      for (int step = 0; step < state.rounds && wanted > 0; ++step) {
        const int round = (offset + step) % state.rounds;
        const size_t at = CellOf(state, team, round);
        if (!scratch->in_set[round] && state.opponent[at] == opponent &&
            static_cast<bool>(state.at_home[at]) == at_home) {
          move->flips.emplace_back(team, round);
          --wanted;
        }
      }
      if (wanted > 0) return false;
    }
  }
  return true;
}

// For the series of `move->a` in `move->first`, the nearest other series of
// its pair, one way or the other, at the other park.
bool PickOtherMeeting(const TravelState& state, uint64_t* random, TravelMove* move) {
  const size_t at = CellOf(state, move->a, move->first);
  if (state.opponent[at] == kResting) return false;
  move->b = state.opponent[at];
  const int step = NextRandom(random) & 1 ? 1 : -1;
  for (int direction : {step, -step}) {
    for (int round = move->first + direction; round >= 0 && round < state.rounds;
         round += direction) {
      const size_t other = CellOf(state, move->a, round);
      // Where series keep their games, only two of equal games trade hosts:
      // each park keeps its games.
      if (state.opponent[other] == move->b && state.at_home[other] != state.at_home[at] &&
          (state.games.empty() || state.games[other] == state.games[at])) {
        move->second = round;
        return true;
      }
    }
  }
  return false;
}

// The teams linked to `team` through the rounds `move->first` and
// `move->second`: the part of the two rounds' pairings that holds it.
bool ChainOf(const TravelState& state, int team, MoveScratch* scratch, TravelMove* move) {
  move->chain.clear();
  scratch->in_chain.assign(static_cast<size_t>(state.teams), 0);
  move->chain.push_back(team);
  scratch->in_chain[team] = 1;
  for (size_t i = 0; i < move->chain.size(); ++i) {
    for (int round : {move->first, move->second}) {
      const int opponent = state.opponent[CellOf(state, move->chain[i], round)];
      if (opponent != kResting && !scratch->in_chain[opponent]) {
        scratch->in_chain[opponent] = 1;
        move->chain.push_back(opponent);
      }
    }
  }
  // Where series keep their games, each moved series must fit its new round.
  if (!state.games.empty()) {
    for (int member : move->chain) {
      const int first = state.games[CellOf(state, member, move->first)];
      const int second = state.games[CellOf(state, member, move->second)];
      if ((first > 0 && !FitsRound(state, first, move->second)) ||
          (second > 0 && !FitsRound(state, second, move->first))) {
        return false;
      }
    }
  }
  // A team alone, resting in both rounds, changes nothing.
  return move->chain.size() > 1 || state.opponent[CellOf(state, team, move->first)] !=
                                       state.opponent[CellOf(state, team, move->second)];
}

// Two rounds at random and the teams linked to one team through them.
bool PickChain(const TravelState& state, uint64_t* random, MoveScratch* scratch,
               TravelMove* move) {
  move->first = RandomBelow(random, state.rounds);
  move->second = RandomBelowExcept(random, state.rounds, move->first);
  return ChainOf(state, RandomBelow(random, state.teams), scratch, move);
}

// Two teams and rounds starting at a random one, in which the series of
// `a` are, taken together, those of `b`: trading them keeps every pair's
// series and parks.
bool PickTeamRounds(const TravelState& state, uint64_t* random, MoveScratch* scratch,
                    TravelMove* move) {
  const int a = move->a, b = move->b;
  const int start = RandomBelow(random, state.rounds);
  if (state.opponent[CellOf(state, a, start)] == b) return false;
  scratch->debt.resize(static_cast<size_t>(state.teams + 1) * 2, 0);
  scratch->in_set.resize(static_cast<size_t>(state.rounds), 0);
  int unbalanced = 0;
  auto shift = [&](int key, int by) {
    int& debt = scratch->debt[key];
    if (debt == 0) scratch->debt_keys.push_back(key);
    unbalanced += (debt + by != 0) - (debt != 0);
    debt += by;
  };
  // Trading by opponent alone makes shorter chains of rounds; the parks are
  // then mended by PickFlips.
  const bool opponent_alone = NextRandom(random) & 1;
  auto take = [&](int round) {
    scratch->in_set[round] = 1;
    move->rounds.push_back(round);
    shift(KeyOf(state, a, round, opponent_alone), 1);
    shift(KeyOf(state, b, round, opponent_alone), -1);
  };
  move->rounds.clear();
  take(start);
  bool balanced = true;
  while (unbalanced > 0) {
    // A series one team has more of than the other: the next round, on
    // from the start, where the other plays it.
    int key = -1;
    for (int k : scratch->debt_keys) {
      if (scratch->debt[k] != 0) {
        key = k;
        break;
      }
    }
    const int player = scratch->debt[key] > 0 ? b : a;
    int found = -1;
    for (int step = 1; step < state.rounds && found < 0; ++step) {
      const int round = (start + step) % state.rounds;
      if (!scratch->in_set[round] && KeyOf(state, player, round, opponent_alone) == key &&
          state.opponent[CellOf(state, a, round)] != b) {
        found = round;
      }
    }
    if (found < 0 || static_cast<int>(move->rounds.size()) >= kMostTradedRounds) {
      balanced = false;
      break;
    }
    take(found);
  }
  for (int k : scratch->debt_keys) scratch->debt[k] = 0;
  scratch->debt_keys.clear();
  move->flips.clear();
  if (balanced && opponent_alone) balanced = PickFlips(state, random, scratch, move);
  for (int round : move->rounds) scratch->in_set[round] = 0;
  std::sort(move->rounds.begin(), move->rounds.end());
  return balanced;
}

// A change at a series that breaks a rule: its round traded with another
// round, for its chain of teams or the whole round, or its home side
// swapped with that of another series of its pair.
bool PickAtBroken(const TravelState& state, uint64_t* random, MoveScratch* scratch,
                  TravelMove* move) {
  const int index = state.broken[RandomBelow(random, static_cast<int>(state.broken.size()))];
  const int team = index / state.rounds, round = index % state.rounds;
  const int pick = RandomBelow(random, 10);
  if (pick < 3) {
    move->kind = MoveKind::kSwapHomes;
    move->a = team;
    move->first = round;
    return PickOtherMeeting(state, random, move);
  }
  move->first = round;
  move->second = RandomBelowExcept(random, state.rounds, move->first);
  if (pick < 6) {
    move->kind = MoveKind::kSwapRounds;
    return true;
  }
  move->kind = MoveKind::kSwapChain;
  return ChainOf(state, team, scratch, move);
}

}  // namespace

bool PickMove(const TravelState& state, const std::vector<int>& division_of, const MoveMix& mix,
              uint64_t* random, MoveScratch* scratch, TravelMove* move) {
  if (state.rounds < 1 || state.teams < 2) return false;
  if (!state.broken.empty() && state.rounds > 1 && RandomBelow(random, 100) < mix.focus) {
    return PickAtBroken(state, random, scratch, move);
  }
  const int sum = mix.swap_homes + mix.swap_rounds + mix.swap_teams + mix.swap_chain +
                  mix.swap_team_rounds + mix.reverse_rounds;
  int pick = RandomBelow(random, sum);
  if ((pick -= mix.swap_homes) < 0) {
    move->kind = MoveKind::kSwapHomes;
    move->a = RandomBelow(random, state.teams);
    move->first = RandomBelow(random, state.rounds);
    return PickOtherMeeting(state, random, move);
  }
  if ((pick -= mix.swap_rounds) < 0) {
    if (state.rounds < 2) return false;
    move->kind = MoveKind::kSwapRounds;
    move->first = RandomBelow(random, state.rounds);
    move->second = RandomBelowExcept(random, state.rounds, move->first);
    return true;
  }
  // Where series keep their games, two teams trade no series: the games of
  // each pair at each park would change.
  if ((pick -= mix.swap_teams) < 0) {
    if (!state.games.empty()) return false;
    move->kind = MoveKind::kSwapTeams;
    move->a = RandomBelow(random, state.teams);
    move->b = RandomBelowExcept(random, state.teams, move->a);
    return division_of[move->a] == division_of[move->b];
  }
  if ((pick -= mix.swap_chain) < 0) {
    if (state.rounds < 2) return false;
    move->kind = MoveKind::kSwapChain;
    return PickChain(state, random, scratch, move);
  }
  if ((pick -= mix.swap_team_rounds) < 0) {
    if (!state.games.empty()) return false;
    move->kind = MoveKind::kSwapTeamRounds;
    move->a = RandomBelow(random, state.teams);
    move->b = RandomBelowExcept(random, state.teams, move->a);
    return PickTeamRounds(state, random, scratch, move);
  }
  // Three rounds or more, at most kMostReversedRounds.
  if (state.rounds < 3) return false;
  move->kind = MoveKind::kReverseRounds;
  move->first = RandomBelow(random, state.rounds - 2);
  const int longest = std::min(kMostReversedRounds, state.rounds - move->first);
  move->second = move->first + 2 + RandomBelow(random, longest - 2);
  return true;
}

void MakeMove(TravelState* state, const TravelMove& move, TouchedRounds* touched) {
  if (touched != nullptr && touched->of_team.size() != static_cast<size_t>(state->teams)) {
    touched->of_team.resize(static_cast<size_t>(state->teams));
  }
  switch (move.kind) {
    case MoveKind::kSwapHomes: SwapHomes(state, move, touched); break;
    case MoveKind::kSwapRounds: SwapRounds(state, move, touched); break;
    case MoveKind::kSwapTeams: SwapTeams(state, move, touched); break;
    case MoveKind::kSwapChain: SwapChain(state, move, touched); break;
    case MoveKind::kSwapTeamRounds: SwapTeamRounds(state, move, touched); break;
    case MoveKind::kReverseRounds: ReverseRounds(state, move, touched); break;
  }
  if (touched != nullptr) Tidy(touched);
}

void ClearTouched(TouchedRounds* touched) {
  for (int team : touched->teams) touched->of_team[team].clear();
  touched->teams.clear();
}

}  // namespace tool
