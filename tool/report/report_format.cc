#include "tool/report/report_format.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "schedule/messages.h"
#include "schedule/shown_text.h"
#include "tool/csv_field.h"

namespace tool {

using schedule::Counted;

namespace {

constexpr char kCrLf[] = "\r\n";

// The cells a terminal gives a name: a name of people's writing is as wide
// as its characters, two for an East Asian wide one, not as its bytes.
size_t Characters(std::string_view text) { return schedule::DisplayWidth(text); }

// One column of a report: its heading in the table and in the CSV header,
// whether it holds names (aligned left in the table, quoted in the CSV as
// a spreadsheet needs) or figures (aligned right), and its cell of a row as
// the format shows it. The table and the CSV are made from one list, so a
// column added to the list is added to both.
template <typename Row>
struct Column {
  const char* heading;
  const char* csv_heading;
  bool name;
  std::function<std::string(const Row&, ReportFormat)> cell;
};

// A name column: a team's file name, escaped for the terminal in the table
// and byte for byte in the CSV.
template <typename Row>
Column<Row> NameColumn(const char* heading, std::string Row::*team) {
  return {heading, heading, true, [team](const Row& row, ReportFormat format) {
            return format == ReportFormat::kText ? schedule::Escaped(row.*team) : row.*team;
          }};
}

// A team's display name, or its file name when it has none. A display
// name is UTF-8 with no control character, so it stands as it is in both.
template <typename Row>
Column<Row> DisplayColumn(const char* heading, const char* csv_heading,
                          const DisplayNames& names, std::string Row::*team) {
  return {heading, csv_heading, true, [&names, team](const Row& row, ReportFormat format) {
            const std::string_view display = DisplayNameOf(names, row.*team);
            if (!display.empty()) return std::string(display);
            return format == ReportFormat::kText ? schedule::Escaped(row.*team) : row.*team;
          }};
}

template <typename Row>
Column<Row> FigureColumn(const char* heading, const char* csv_heading, int64_t Row::*figure) {
  return {heading, csv_heading, false,
          [figure](const Row& row, ReportFormat) { return std::to_string(row.*figure); }};
}

std::vector<Column<TeamCounts>> TeamColumns(const ReportTeams& teams) {
  std::vector<Column<TeamCounts>> columns = {NameColumn("team", &TeamCounts::team)};
  if (teams.given) {
    columns.push_back(DisplayColumn("display", "display", teams.display, &TeamCounts::team));
  }
  for (Column<TeamCounts> figure :
       {FigureColumn("games", "games", &TeamCounts::games),
        FigureColumn("home", "home", &TeamCounts::home),
        FigureColumn("away", "away", &TeamCounts::away),
        FigureColumn("doubleheader dates", "doubleheader_dates", &TeamCounts::doubleheader_dates),
        FigureColumn("longest home stand", "longest_home_stand", &TeamCounts::longest_home_stand),
        FigureColumn("longest road trip", "longest_road_trip", &TeamCounts::longest_road_trip),
        FigureColumn("opponents", "opponents", &TeamCounts::opponents)}) {
    columns.push_back(std::move(figure));
  }
  if (teams.travel_shown) {
    columns.push_back({"travel", "travel", false, [&teams](const TeamCounts& row, ReportFormat) {
                         auto found = teams.travel.find(row.team);
                         return std::to_string(found == teams.travel.end() ? 0 : found->second);
                       }});
  }
  // After every column of before, so that what reads them by place still does.
  columns.push_back(FigureColumn("off days", "off_days", &TeamCounts::off_days));
  return columns;
}

std::vector<Column<PairCounts>> PairColumns(const ReportTeams& teams) {
  std::vector<Column<PairCounts>> columns = {NameColumn("team", &PairCounts::team)};
  if (teams.given) {
    columns.push_back(DisplayColumn("display", "display", teams.display, &PairCounts::team));
  }
  columns.push_back(NameColumn("opponent", &PairCounts::opponent));
  if (teams.given) {
    columns.push_back(DisplayColumn("opponent display", "opponent_display", teams.display,
                                    &PairCounts::opponent));
  }
  for (Column<PairCounts> figure : {FigureColumn("games", "games", &PairCounts::games),
                                    FigureColumn("home", "home", &PairCounts::home),
                                    FigureColumn("away", "away", &PairCounts::away)}) {
    columns.push_back(std::move(figure));
  }
  return columns;
}

// The rows as a table: each column as wide as its widest cell in
// characters, two blanks between columns, no trailing blanks.
template <typename Row>
std::string TableText(const std::vector<Column<Row>>& columns, const std::vector<Row>& rows) {
  std::vector<std::vector<std::string>> cells(rows.size() + 1);
  for (const Column<Row>& column : columns) cells[0].push_back(column.heading);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (const Column<Row>& column : columns) {
      cells[r + 1].push_back(column.cell(rows[r], ReportFormat::kText));
    }
  }
  std::vector<size_t> widths(columns.size(), 0);
  for (const auto& line : cells) {
    for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], Characters(line[i]));
  }
  std::string text;
  for (const auto& line_cells : cells) {
    std::string line;
    for (size_t i = 0; i < line_cells.size(); ++i) {
      if (i > 0) line += "  ";
      std::string pad(widths[i] - Characters(line_cells[i]), ' ');
      line += columns[i].name ? line_cells[i] + pad : pad + line_cells[i];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text;
}

template <typename Row>
std::string TableCsv(const std::vector<Column<Row>>& columns, const std::vector<Row>& rows) {
  std::string csv;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) csv += ',';
    csv += columns[i].csv_heading;
  }
  csv += kCrLf;
  for (const Row& row : rows) {
    for (size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) csv += ",";
      std::string cell = columns[i].cell(row, ReportFormat::kCsv);
      csv += columns[i].name ? CsvField(cell) : cell;
    }
    csv += kCrLf;
  }
  return csv;
}

template <typename Row>
std::string Rows(const std::vector<Column<Row>>& columns, const std::vector<Row>& rows,
                 ReportFormat format) {
  return format == ReportFormat::kCsv ? TableCsv(columns, rows) : TableText(columns, rows);
}

std::string TotalsLine(const std::string& name, const SeasonTotals& totals,
                       const ReportTeams& teams) {
  std::string line = schedule::Escaped(name) + ": " + Counted(totals.dates, "date", "dates") +
                     ", " + Counted(totals.games, "game", "games") + ", " +
                     Counted(totals.teams, "team", "teams") + ", at most " +
                     Counted(totals.most_games_on_a_date, "game", "games") + " on one date";
  if (teams.travel_shown) {
    int64_t total = 0;
    for (const auto& [team, travel] : teams.travel) total += travel;
    line += "; travel " + std::to_string(total) +
            (teams.travel_unit.empty() ? "" : " " + teams.travel_unit) + " in all";
  }
  return line + "\n";
}

}  // namespace

std::string FormatReport(const std::string& name, const SeasonCounter& counter, ReportBy by,
                         ReportFormat format, const ReportTeams& teams) {
  std::string report =
      format == ReportFormat::kText ? TotalsLine(name, counter.Totals(), teams) + "\n" : std::string();
  return report + (by == ReportBy::kTeam ? Rows(TeamColumns(teams), counter.TeamRows(), format)
                                         : Rows(PairColumns(teams), counter.PairRows(), format));
}

}  // namespace tool
