#include "tool/calendar/calendar_html.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "schedule/messages.h"
#include "schedule/shown_text.h"
#include "tool/calendar/calendar_html_style.h"
#include "tool/output_batcher.h"
#include "tool/season/season_days.h"

namespace tool {

using schedule::Counted;

using std::chrono::sys_days;
using std::chrono::year_month;
using std::chrono::year_month_day;

namespace {

constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",
                                       "May",     "June",     "July",      "August",
                                       "September", "October", "November", "December"};
constexpr int kDaysInWeek = 7;

// One game as its team sees it.
struct TeamGame {
  CalendarDay day;
  bool home = false;
  int32_t opponent = 0;
};

// A team as the page shows it, escaped for the page: the name people read
// (its display name, or else its file name) and its file name, which marks
// its section whatever names the page shows.
struct ShownTeam {
  std::string name;
  std::string file_name;
  std::string boxed;     // `name` with the points a day's box may hyphenate it at
  bool display = false;  // `name` is a display name
};

// The characters a long word keeps together at each end of it, and the
// longest word left as it is: a file name's 8 bytes fit a day's box.
constexpr size_t kWordEndCharacters = 3;
constexpr size_t kShortWordCharacters = 8;

// `text` with a soft hyphen (U+00AD) between the characters of each word
// longer than kShortWordCharacters, which may not fit a day's box, but not within
// kWordEndCharacters of either end of it nor before a combining mark. A
// browser breaks such a word only there, showing a hyphen, and breaks
// between words first: "Diamond-" / "backs", never "Diamondback" / "s".
std::string WithHyphenPoints(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  size_t at = 0;
  while (at < text.size()) {
    const size_t word_end = std::min(text.find(' ', at), text.size());
    std::vector<size_t> starts;  // each character's first byte in the word
    for (size_t c = at; c < word_end;) {
      starts.push_back(c);
      c += std::max<size_t>(1, schedule::CharacterLength(text, c));
    }
    for (size_t i = 0; i < starts.size(); ++i) {
      const size_t end = i + 1 < starts.size() ? starts[i + 1] : word_end;
      const auto lead = static_cast<unsigned char>(text[starts[i]]);
      const auto next = end > starts[i] + 1 ? static_cast<unsigned char>(text[starts[i] + 1]) : 0;
      const bool combining = (lead == 0xCC && next >= 0x80) || (lead == 0xCD && next < 0xB0);
      if (starts.size() > kShortWordCharacters && i >= kWordEndCharacters &&
          i + kWordEndCharacters <= starts.size() && !combining) {
        out += "\xC2\xAD";
      }
      out.append(text.substr(starts[i], end - starts[i]));
    }
    if (word_end < text.size()) out += ' ';
    at = word_end + 1;
  }
  return out;
}

ShownTeam Shown(const CalendarSeason& season, int32_t team) {
  ShownTeam shown;
  shown.name = HtmlEscaped(CalendarShownName(season, team));
  shown.boxed = HtmlEscaped(WithHyphenPoints(CalendarShownName(season, team)));
  shown.file_name = HtmlEscaped(CalendarName(season.teams[static_cast<size_t>(team)]));
  shown.display = shown.name != shown.file_name;
  return shown;
}

// Every team as the page shows it, by index: made once, not once a game.
using ShownNames = std::vector<ShownTeam>;

ShownNames AllShownNames(const CalendarSeason& season) {
  ShownNames shown;
  shown.reserve(season.teams.size());
  for (size_t team = 0; team < season.teams.size(); ++team) {
    shown.push_back(Shown(season, static_cast<int32_t>(team)));
  }
  return shown;
}

// The team's games in the order of their days; a day's games in the order
// of the file.
std::vector<TeamGame> GamesOf(const CalendarSeason& season, int32_t team) {
  auto plays = [team](const CalendarGame& game) { return game.visitor == team || game.home == team; };
  std::vector<TeamGame> games;
  games.reserve(static_cast<size_t>(std::count_if(season.games.begin(), season.games.end(), plays)));
  for (const CalendarGame& game : season.games) {
    if (!plays(game)) continue;
    const bool home = game.home == team;
    games.push_back({game.day, home, home ? game.visitor : game.home});
  }
  // A season is most often in order of its days already; sorting then would
  // only take a copy's room.
  auto earlier = [](const TeamGame& a, const TeamGame& b) { return a.day < b.day; };
  if (!std::is_sorted(games.begin(), games.end(), earlier)) {
    std::stable_sort(games.begin(), games.end(), earlier);
  }
  return games;
}

// A game's box: its mark and its opponent. A display name longer than the
// box's three lines is cut there with an ellipsis (the style's), and is
// whole in the box's title, which a browser shows when the pointer rests
// on it.
std::string GameBox(const ShownNames& shown, const TeamGame& game) {
  const ShownTeam& opponent = shown[static_cast<size_t>(game.opponent)];
  return std::string("<span class=\"game ") + (game.home ? "home" : "away") + "\"" +
         (opponent.display ? " title=\"" + opponent.name + "\"" : "") +
         "><span class=\"mark\">" + (game.home ? "vs" : "at") +
         "</span> <span class=\"opponent\">" + opponent.boxed + "</span></span>";
}

// One month as a table of weeks from Sunday: a game day holds its games,
// a day of the season without one is empty (an off day), days before the
// first game and after the last are shaded.
std::string MonthTable(const ShownNames& shown, year_month month,
                       const std::vector<TeamGame>& games, size_t* next) {
  const sys_days first{month / std::chrono::day{1}};
  const sys_days last{month / std::chrono::last};
  const sys_days season_first = games.front().day;
  const sys_days season_last = games.back().day;
  std::string html = "<table class=\"month\"><caption>" +
                     std::string(kMonthNames[static_cast<unsigned>(month.month()) - 1]) + " " +
                     std::to_string(static_cast<int>(month.year())) + "</caption>\n<thead><tr>";
  for (const char* name : kWeekdayNames) html += std::string("<th scope=\"col\">") + name + "</th>";
  html += "</tr></thead>\n<tbody><tr>";
  const unsigned lead = std::chrono::weekday{first}.c_encoding();
  int column = 0;
  for (unsigned i = 0; i < lead; ++i, ++column) html += "<td class=\"pad\"></td>";
  for (sys_days day = first; day <= last; day += std::chrono::days{1}) {
    if (column == kDaysInWeek) {
      html += "</tr>\n<tr>";
      column = 0;
    }
    std::string boxes;
    size_t count = 0;
    for (; *next < games.size() && games[*next].day == day; ++*next, ++count) {
      boxes += GameBox(shown, games[*next]);
    }
    const char* kind = count > 1                                        ? "day dh"
                       : count == 1                                     ? "day"
                       : day < season_first || day > season_last        ? "day out"
                                                                        : "day off";
    html += std::string("<td class=\"") + kind + "\" data-date=\"" + IsoDate(day) +
            "\"><span class=\"date\">" +
            std::to_string(static_cast<unsigned>(year_month_day{day}.day())) + "</span>" + boxes +
            "</td>";
    ++column;
  }
  for (; column < kDaysInWeek; ++column) html += "<td class=\"pad\"></td>";
  html += "</tr></tbody></table>\n";
  return html;
}

std::string Legend() {
  return "<p class=\"legend\">"
         "<span><span class=\"sample home\"><span class=\"mark\">vs</span> name</span>"
         " home game</span>"
         "<span><span class=\"sample away\"><span class=\"mark\">at</span> name</span>"
         " road game</span>"
         "<span><span class=\"cell\"><span class=\"date dh-sample\">4</span></span>"
         " doubleheader: two games in the day</span>"
         "<span><span class=\"cell\"><span class=\"date\">5</span></span> off day</span>"
         "<span><span class=\"cell out\"><span class=\"date\">6</span></span>"
         " before the first game or after the last</span></p>\n";
}

void WriteTeamSection(const CalendarSeason& season, const ShownNames& shown, int32_t team,
                      OutputBatcher* out) {
  const std::vector<TeamGame> games = GamesOf(season, team);
  const size_t home = static_cast<size_t>(
      std::count_if(games.begin(), games.end(), [](const TeamGame& game) { return game.home; }));
  size_t doubleheaders = 0;
  for (size_t i = 1; i < games.size(); ++i) {
    // A day counts once, however many games it holds.
    if (games[i].day == games[i - 1].day && (i < 2 || games[i - 2].day != games[i].day)) {
      ++doubleheaders;
    }
  }
  const ShownTeam& name = shown[static_cast<size_t>(team)];
  out->Add("<section class=\"team\" data-team=\"" + name.file_name + "\">\n<h1>" + name.name +
           "</h1>\n<p class=\"totals\">" + Counted(games.size(), "game", "games") + ": " +
           std::to_string(home) + " home, " + std::to_string(games.size() - home) + " away; " +
           Counted(doubleheaders, "doubleheader", "doubleheaders") + "</p>\n" + Legend() +
           "<div class=\"months\">\n");
  // Each month that holds a game of the team: a month with none between
  // two that do is no part of a printed pocket schedule.
  size_t next = 0;
  while (next < games.size()) {
    const year_month_day day{games[next].day};
    out->Add(MonthTable(shown, day.year() / day.month(), games, &next));
  }
  out->Add("</div>\n</section>\n");
}

}  // namespace

std::string HtmlEscaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

void WriteCalendarHtmlHead(const CalendarSeason& season, const std::vector<int32_t>& teams,
                           OutputBatcher* out) {
  std::string title = teams.size() == 1 ? "Schedule of " + Shown(season, teams.front()).name
                                        : "Schedules of " + std::to_string(teams.size()) + " teams";
  out->Add("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
           "<meta charset=\"utf-8\">\n<title>" +
           title + "</title>\n<style>" + kCalendarStyle + "</style>\n</head>\n<body>\n");
}

void WriteCalendarHtmlTeams(const CalendarSeason& season, const std::vector<int32_t>& teams,
                            OutputBatcher* out) {
  const ShownNames shown = AllShownNames(season);
  for (int32_t team : teams) WriteTeamSection(season, shown, team, out);
}

void WriteCalendarHtmlEnd(OutputBatcher* out) { out->Add("</body>\n</html>\n"); }

void WriteCalendarHtml(const CalendarSeason& season, const std::vector<int32_t>& teams,
                       OutputBatcher* out) {
  WriteCalendarHtmlHead(season, teams, out);
  WriteCalendarHtmlTeams(season, teams, out);
  WriteCalendarHtmlEnd(out);
}

std::string CalendarHtml(const CalendarSeason& season, const std::vector<int32_t>& teams) {
  std::string html;
  OutputBatcher out(AppendTo(&html));
  WriteCalendarHtml(season, teams, &out);
  out.Finish();
  return html;
}

}  // namespace tool
