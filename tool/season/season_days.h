// The real days of a season's dates, for the commands that place a season
// on the calendar (calendar, export). A stored date holds two digits of the
// year (MM/DD/YY); the season's first date fixes the century, and later
// dates follow it, passing into the next century where a 99 year is
// followed by a 00 year, as check counts the dates.
#ifndef ZELTO_TOOL_SEASON_SEASON_DAYS_H_
#define ZELTO_TOOL_SEASON_SEASON_DAYS_H_

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "tool/season/day_formats.h"

namespace tool {

/// Follows the dates of a season in the order of the file and turns each
/// into its real day.
class SeasonDays {
 public:
  /// `first_year`: the year of the season's first date (--year), or nullopt
  /// for the default rule, which reads `today`.
  SeasonDays(std::optional<std::chrono::year> first_year, std::chrono::year today)
      : first_year_(first_year), today_(today) {}

  /// The real day of the stored date `date` (8 bytes, space-padded). False
  /// with the reason in `problem` when it is not written MM/DD/YY, is no
  /// real day in its year, or does not agree with --year (the first date's
  /// two digits are not the last two of the year given).
  bool Take(std::string_view date, std::chrono::sys_days* day, std::string* problem);

  /// Without --year, which century the rule took for the season's first
  /// date and how to ask for the other: "SEASON: dates read as 1928
  /// (two-digit year 28); give --year 2028 for another century". A season
  /// of 2028 read as 1928 falls on the wrong weekdays without a word
  /// otherwise. Empty with --year, or before a date was placed.
  std::string CenturyNote(const std::string& season) const;

  /// The days of a season by --year's value `year_option` (empty: the
  /// default rule, read in this year). False, with the message, when the
  /// value is no year: the one reading of --year for calendar and export.
  static bool FromYearOption(const std::string& year_option, std::optional<SeasonDays>* days,
                             std::string* problem);

  /// True once a date disagreed with --year: nothing more can be placed.
  bool year_refused() const { return year_refused_; }

 private:
  std::optional<std::chrono::year> first_year_;
  std::chrono::year today_;
  bool anchored_ = false;  // the first written date has fixed the century
  bool year_refused_ = false;
  int century_start_ = 0;  // the year of the century's 00, e.g. 1800
  int last_two_digits_ = -1;
  int first_two_digits_ = -1;  // the two digits of the first date placed
};

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_SEASON_DAYS_H_
