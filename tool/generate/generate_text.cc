#include "tool/generate/generate_text.h"

#include <algorithm>

#include "schedule/schedule_text.h"
#include "tool/generate/generate_calendar.h"
#include "tool/season/day_formats.h"

namespace tool {

int RoundDays(const SeriesRound& round) {
  int days = 0;
  for (const Series& series : round) days = std::max(days, series.games);
  return days;
}

size_t SeasonDays(const std::vector<SeriesRound>& rounds) {
  size_t days = 0;
  for (const SeriesRound& round : rounds) days += static_cast<size_t>(RoundDays(round));
  return days;
}

std::string ScheduleText(const League& league, const std::vector<SeriesRound>& rounds,
                         const std::vector<std::chrono::sys_days>& days) {
  const size_t home_at = schedule::kHomeColumn - schedule::kVisitorColumn;
  std::string text;
  size_t next_day = 0;
  for (const SeriesRound& round : rounds) {
    for (int day = 0; day < RoundDays(round); ++day) {
      text += schedule::kDateLineMark;
      text += SlashDate(std::chrono::year_month_day{days[next_day++]});
      text += schedule::kDateLineEnd;
      text += "\r\n";
      for (const Series& series : round) {
        if (series.games <= day) continue;
        std::string line = league.teams[series.visitor].name;
        line.resize(home_at, ' ');
        line += league.teams[series.home].name;
        text += line;
        text += "\r\n";
      }
    }
  }
  return text;
}

}  // namespace tool
