#include "tool/report/report_format.h"

#include <algorithm>
#include <vector>

#include "schedule/shown_text.h"
#include "tool/csv_field.h"

namespace tool {
namespace {

constexpr char kCrLf[] = "\r\n";

// "1 date", "3 dates".
std::string Counted(int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A table of text cells: the first `left` columns are names, aligned left;
// the others are figures, aligned right under their headings.
class Table {
 public:
  Table(std::vector<std::string> headings, size_t left)
      : rows_{std::move(headings)}, left_(left) {}

  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

  std::string Text() const {
    std::vector<size_t> widths(rows_.front().size(), 0);
    for (const auto& row : rows_) {
      for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    }
    std::string text;
    for (const auto& row : rows_) {
      std::string line;
      for (size_t i = 0; i < row.size(); ++i) {
        if (i > 0) line += "  ";
        std::string pad(widths[i] - row[i].size(), ' ');
        line += i < left_ ? row[i] + pad : pad + row[i];
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      text += line + "\n";
    }
    return text;
  }

 private:
  std::vector<std::vector<std::string>> rows_;
  size_t left_;
};

std::string TotalsLine(const std::string& name, const SeasonTotals& totals) {
  return schedule::Escaped(name) + ": " + Counted(totals.dates, "date", "dates") + ", " +
         Counted(totals.games, "game", "games") + ", " + Counted(totals.teams, "team", "teams") +
         ", at most " + Counted(totals.most_games_on_a_date, "game", "games") + " on one date\n";
}

std::string TeamText(const std::vector<TeamCounts>& rows) {
  Table table({"team", "games", "home", "away", "doubleheader dates", "longest home stand",
               "longest road trip", "opponents"},
              1);
  for (const TeamCounts& row : rows) {
    table.Add({schedule::Escaped(row.team), std::to_string(row.games), std::to_string(row.home),
               std::to_string(row.away), std::to_string(row.doubleheader_dates),
               std::to_string(row.longest_home_stand), std::to_string(row.longest_road_trip),
               std::to_string(row.opponents)});
  }
  return table.Text();
}

std::string PairText(const std::vector<PairCounts>& rows) {
  Table table({"team", "opponent", "games", "home", "away"}, 2);
  for (const PairCounts& row : rows) {
    table.Add({schedule::Escaped(row.team), schedule::Escaped(row.opponent),
               std::to_string(row.games), std::to_string(row.home), std::to_string(row.away)});
  }
  return table.Text();
}

std::string TeamCsv(const std::vector<TeamCounts>& rows) {
  std::string csv = std::string(kTeamCsvHeader) + kCrLf;
  for (const TeamCounts& row : rows) {
    csv += CsvField(row.team) + "," + std::to_string(row.games) + "," + std::to_string(row.home) +
           "," + std::to_string(row.away) + "," + std::to_string(row.doubleheader_dates) + "," +
           std::to_string(row.longest_home_stand) + "," + std::to_string(row.longest_road_trip) +
           "," + std::to_string(row.opponents) + kCrLf;
  }
  return csv;
}

std::string PairCsv(const std::vector<PairCounts>& rows) {
  std::string csv = std::string(kPairCsvHeader) + kCrLf;
  for (const PairCounts& row : rows) {
    csv += CsvField(row.team) + "," + CsvField(row.opponent) + "," + std::to_string(row.games) +
           "," + std::to_string(row.home) + "," + std::to_string(row.away) + kCrLf;
  }
  return csv;
}

}  // namespace

std::string FormatReport(const std::string& name, const SeasonCounter& counter, ReportBy by,
                         ReportFormat format) {
  if (format == ReportFormat::kCsv) {
    return by == ReportBy::kTeam ? TeamCsv(counter.TeamRows()) : PairCsv(counter.PairRows());
  }
  std::string text = TotalsLine(name, counter.Totals()) + "\n";
  return text + (by == ReportBy::kTeam ? TeamText(counter.TeamRows()) : PairText(counter.PairRows()));
}

}  // namespace tool
