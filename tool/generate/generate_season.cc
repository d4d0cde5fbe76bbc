#include "tool/generate/generate_season.h"

#include "tool/generate/generate_home_away.h"
#include "tool/generate/generate_league.h"
#include "tool/generate/generate_rounds.h"
#include "tool/generate/generate_text.h"
#include "tool/generate/travel_search.h"

namespace tool {
namespace {

// How many places of the teams are tried before the rules are found too
// tight.
constexpr int kPlacesTried = 16;
// The most effort the travel search is asked for: its steps stay well
// within 64 bits.
constexpr int kMostEffort = 1'000'000;

// Why the numbers of `rules` cannot make a season, or an empty string.
std::string RulesProblem(const SeasonRules& rules, int within) {
  for (auto [value, name] : {std::pair{rules.meetings, "--meetings"},
                             std::pair{within, "--division-meetings"}}) {
    if (value < 0 || value > kMaxMeetings) {
      return std::string(name) + " " + std::to_string(value) + ": a pair meets 0 to " +
             std::to_string(kMaxMeetings) + " times";
    }
  }
  if (rules.series_length < 1) return "--series " + std::to_string(rules.series_length) +
                                      ": a series holds at least 1 game";
  if (rules.most_in_a_row < 1) return "--most-in-a-row " + std::to_string(rules.most_in_a_row) +
                                      ": a team plays at least 1 series in a row at one park";
  if (rules.effort < 1 || rules.effort > kMostEffort) {
    return "--effort " + std::to_string(rules.effort) + ": the search's effort is 1 to " +
           std::to_string(kMostEffort);
  }
  return "";
}

// Each pair's meetings as games at each park: half at each, the odd one at
// the lower-numbered team's park for every other pair, so that each team
// hosts about as many as it visits.
std::vector<int> HostedOfMeetings(const League& league, const SeasonRules& rules, int within) {
  const int n = static_cast<int>(league.teams.size());
  std::vector<int> hosted(static_cast<size_t>(n * n), 0);
  for (int a = 0; a < n; ++a) {
    for (int b = a + 1; b < n; ++b) {
      const int meetings =
          league.division_of[a] == league.division_of[b] && league.division_count > 0
              ? within
              : rules.meetings;
      const int extra = meetings % 2;
      const bool a_hosts_extra = (a + b) % 2 == 1;
      hosted[a * n + b] = meetings / 2 + (a_hosts_extra ? extra : 0);
      hosted[b * n + a] = meetings / 2 + (a_hosts_extra ? 0 : extra);
    }
  }
  return hosted;
}

std::string WindowProblem(int needed, int window) {
  return "the league needs " + std::to_string(needed) + " game days; the window from --start to " +
         "--end has " + std::to_string(window);
}

// Orders the series of `rounds` for least travel by `search` (its series
// length, seed and any rounds' days set by the caller), the league's and the
// options' part filled in here. False, with the reason, when no order keeps
// every team within the limit of series in a row at one park.
bool OrderForLeastTravel(const League& league, const SeasonRules& rules, TravelSearchRules search,
                         std::vector<SeriesRound>* rounds, std::string* problem) {
  search.most_in_a_row = rules.most_in_a_row;
  search.division_of = league.division_of;
  search.distance = rules.distances.distance;
  search.effort = rules.effort;
  if (SearchTravel(search, rounds).runs_over > 0) {
    *problem = "no order of the series was found in which every team plays at most " +
               std::to_string(rules.most_in_a_row) + " series in a row at home or on the road";
    return false;
  }
  return true;
}

// The season of a league whose series keep their own games: split into
// series of the lengths allowed, every team as many, dealt into rounds that
// each last as long as their longest series, laid on the window.
bool LeagueSeason(const League& league, const SeasonRules& rules, int within,
                  GeneratedSeason* season, std::string* problem) {
  const int n = static_cast<int>(league.teams.size());
  SeriesLengths lengths;
  lengths.least = rules.series_least > 0 ? rules.series_least : rules.series_length;
  lengths.most = rules.series_most > 0 ? rules.series_most : rules.series_length;
  if (lengths.most > kMostSeriesGames) {
    *problem = "--series " + std::to_string(lengths.most) + ": a series holds at most " +
               std::to_string(kMostSeriesGames) + " games";
    return false;
  }
  const std::vector<int> hosted =
      rules.hosted.empty() ? HostedOfMeetings(league, rules, within) : rules.hosted;
  LeagueRounds rounds;
  if (!LeagueSeries(hosted, n, lengths, rules.seed, &rounds, problem)) return false;
  if (rules.end) {
    const int window = GameDaysUpTo(rules.calendar, *rules.end);
    if (LeagueDays(rounds) > window) {
      *problem = WindowProblem(LeagueDays(rounds), window);
      return false;
    }
    GiveRoom(lengths, window, &rounds);
  }
  season->rounds = std::move(rounds.rounds);
  TravelSearchRules search;
  search.series_length = lengths.most;
  search.seed = rules.seed;
  search.round_days = std::move(rounds.days);
  search.most_idle = lengths.most_idle;
  return OrderForLeastTravel(league, rules, std::move(search), &season->rounds, problem);
}

// Lays the rounds on the game days, refusing a season that runs past the
// window's end, and writes its text and summary.
bool LayOnCalendar(const League& league, const SeasonRules& rules, GeneratedSeason* season,
                   std::string* problem) {
  const size_t needed = SeasonDays(season->rounds);
  if (!GameDays(rules.calendar, needed, &season->days, problem)) return false;
  const int window = rules.end ? GameDaysUpTo(rules.calendar, *rules.end) : 0;
  if (rules.end && !season->days.empty() && season->days.back() > *rules.end) {
    *problem = WindowProblem(static_cast<int>(needed), window);
    return false;
  }
  season->text = ScheduleText(league, season->rounds, season->days);
  season->summary = Summarize(league, season->rounds, season->days);
  season->summary.window_days = window;
  if (rules.distances.teams > 0) AddTravel(season->rounds, rules.distances, &season->summary);
  return true;
}

}  // namespace

bool GenerateSeason(const League& league, const SeasonRules& rules, GeneratedSeason* season,
                    std::string* problem) {
  const int within = rules.division_meetings < 0 ? rules.meetings : rules.division_meetings;
  if (*problem = RulesProblem(rules, within); !problem->empty()) return false;
  const bool keeps_games = !rules.hosted.empty() || rules.series_least > 0;
  if (keeps_games) {
    if (!LeagueSeason(league, rules, within, season, problem)) return false;
    return LayOnCalendar(league, rules, season, problem);
  }

  HomeAwayRules home_away;
  home_away.division_of = league.division_of;
  home_away.meetings_between = rules.meetings;
  home_away.meetings_within = within;
  home_away.series_length = rules.series_length;
  home_away.most_in_a_row = rules.most_in_a_row;
  home_away.seed = rules.seed;

  RoundsRequest request;
  request.division_of = league.division_of;
  request.division_count = league.division_count;
  request.series_between_divisions = SeriesOfPair(rules.meetings, rules.series_length);
  request.series_within_division = SeriesOfPair(within, rules.series_length);
  // Where the home sides cannot be settled within the limits, other places
  // of the teams in the circle are tried, each as the seed picks them.
  uint64_t state = rules.seed;
  bool settled = false;
  // Each place is tried with round robins that meet without repeaters, then,
  // should those break a tight limit of series in a row, with round robins
  // mirrored plainly where they meet, whose repeaters the search below
  // removes where the limit allows.
  for (int attempt = 0; attempt < kPlacesTried && !settled; ++attempt) {
    request.seed = attempt == 0 ? rules.seed : NextRandom(&state);
    home_away.seed = request.seed;
    for (bool plain : {false, true}) {
      if (settled) break;
      request.plain_mirrors = plain;
      season->rounds = PairRounds(request);
      if (season->rounds.empty()) {
        *problem = "the meetings give no game to play";
        return false;
      }
      settled = SettleHomeAndAway(home_away, &season->rounds, problem);
    }
  }
  if (!settled) return false;

  TravelSearchRules search;
  search.series_length = rules.series_length;
  search.seed = request.seed;
  if (!OrderForLeastTravel(league, rules, std::move(search), &season->rounds, problem)) {
    return false;
  }
  return LayOnCalendar(league, rules, season, problem);
}

}  // namespace tool
