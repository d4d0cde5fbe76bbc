#include "tool/generate/generate_season.h"

#include "tool/generate/generate_home_away.h"
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

}  // namespace

bool GenerateSeason(const League& league, const SeasonRules& rules, GeneratedSeason* season,
                    std::string* problem) {
  const int within = rules.division_meetings < 0 ? rules.meetings : rules.division_meetings;
  if (*problem = RulesProblem(rules, within); !problem->empty()) return false;

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
  search.most_in_a_row = rules.most_in_a_row;
  search.series_length = rules.series_length;
  search.division_of = league.division_of;
  search.distance = rules.distances.distance;
  search.seed = request.seed;
  search.effort = rules.effort;
  const TravelFigures figures = SearchTravel(search, &season->rounds);
  if (figures.runs_over > 0) {
    *problem = "no order of the series was found in which every team plays at most " +
               std::to_string(rules.most_in_a_row) + " series in a row at home or on the road";
    return false;
  }
  if (!GameDays(rules.calendar, SeasonDays(season->rounds), &season->days, problem)) return false;
  season->text = ScheduleText(league, season->rounds, season->days);
  season->summary = Summarize(league, season->rounds, season->days);
  if (rules.distances.teams > 0) AddTravel(season->rounds, rules.distances, &season->summary);
  return true;
}

}  // namespace tool
