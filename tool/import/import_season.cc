#include "tool/import/import_season.h"

#include <cstdio>
#include <utility>

#include "schedule/messages.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "tool/csv_field.h"
#include "tool/import/team_list.h"
#include "tool/season/day_formats.h"

namespace tool {
namespace {

constexpr size_t kFields = 12;
constexpr size_t kCityLetters = 5;  // of a made name: year, league letter, five letters

// The columns of a row, counted from 0.
enum Field : size_t {
  kDate = 0,
  kGameNumber = 1,
  kVisitor = 3,
  kVisitorLeague = 4,
  kHome = 6,
  kHomeLeague = 7,
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLeague(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string TwoDigits(int value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02d", value % 100);
  return text;
}

// True for a code that a message may show as it stands: short, printable,
// no blank, comma or double quote.
bool IsPlainCode(std::string_view code) {
  if (code.size() > 16) return false;
  for (char c : code) {
    if (c <= ' ' || c > '~' || c == ',' || c == '"') return false;
  }
  return true;
}

// A game line: the visitor in columns 1-8, a blank, the home team from 10.
std::string GameLine(std::string_view visitor, std::string_view home) {
  std::string line(visitor);
  line.resize(schedule::kNameWidth, ' ');
  line += ' ';
  line += home;
  line += "\r\n";
  return line;
}

}  // namespace

SeasonImporter::SeasonImporter(const ImportOptions& options, TextSink sink)
    : options_(options),
      sink_(std::move(sink)),
      splitter_([this](const RowLine& line) { TakeLine(line); }),
      league_seen_(options.leagues.size(), false) {
  for (const MappedName& team : options_.teams) mapped_.emplace(team.code, team.name);
}

void SeasonImporter::TakeBytes(std::string_view bytes) {
  if (!stopped_) splitter_.Feed(bytes);
}

void SeasonImporter::TakeLine(const RowLine& line) {
  if (stopped_) return;
  if (line.unended) {
    ++report_.rows;
    stopped_ = true;
    Error(line.number, "a row of more than " + std::to_string(kMaxRowBytes) +
                           " bytes; a row holds at most " + std::to_string(kMaxRowBytes) +
                           ", and the rest of the file was not read");
    return;
  }
  TakeRow(line.text, line.number);
}

void SeasonImporter::TakeRow(std::string_view row, int line) {
  if (row.find_first_not_of(" \t") == std::string_view::npos) return;
  ++report_.rows;
  // A first row that is no season row at all (a pipe of other lines, a
  // file of another kind) ends the reading: what follows is not looked at.
  const bool first = report_.rows == 1;
  const std::string rest = first ? "; no season file starts so, and the rest was not read" : "";
  std::string problem;
  if (!SplitCsvRow(row, &fields_, &problem)) {
    stopped_ = stopped_ || first;
    return Error(line, problem + rest);
  }
  if (fields_.size() != kFields) {
    stopped_ = stopped_ || first;
    return Error(line, "a row has 12 fields, this one " + std::to_string(fields_.size()) + ": " +
                           schedule::Quoted(row) + rest);
  }
  RowDate date;
  if (!TakeDate(fields_[kDate], line, &date)) return;
  const std::string& game_number = fields_[kGameNumber];
  if (game_number != "0" && game_number != "1" && game_number != "2") {
    return Error(line, "game number " + schedule::Quoted(game_number) +
                           " is not 0 (a single game), 1 or 2 (a doubleheader's first or second)");
  }
  if (!Kept(fields_[kVisitorLeague], fields_[kHomeLeague])) return;
  // A season is named by its first year: a winter league's games after New
  // Year keep their clubs' names, so that one club has one name.
  if (season_year_ == 0) season_year_ = date.year;
  const std::string* visitor = NameFor(fields_[kVisitor], fields_[kVisitorLeague], season_year_, line);
  const std::string* home = NameFor(fields_[kHome], fields_[kHomeLeague], season_year_, line);
  if (visitor == nullptr || home == nullptr) return;

  if (date.Key() != date_key_) StartDate(date);
  if (++date_games_ == schedule::kSlotsPerRecord + 1) first_left_out_line_ = line;
  ++report_.games;
  Write(GameLine(*visitor, *home));
}

// Checks the row's date and that the dates do not go backwards.
bool SeasonImporter::TakeDate(std::string_view text, int line, RowDate* date) {
  std::string problem;
  if (!ParseRowDate(text, date, &problem)) {
    Error(line, problem);
    return false;
  }
  if (date->Key() < last_key_) {
    Error(line, "date " + std::string(text) + " is earlier than " + std::to_string(last_key_) + " on line " +
                    std::to_string(last_line_) + ": the rows must be in date order");
    return false;
  }
  last_key_ = date->Key();
  last_line_ = line;
  return true;
}

// True when the game is one of the leagues asked for (or none were).
bool SeasonImporter::Kept(std::string_view visitor_league, std::string_view home_league) {
  if (options_.leagues.empty()) return true;
  bool visitor = false, home = false;
  for (size_t i = 0; i < options_.leagues.size(); ++i) {
    bool is_visitor = SameLeague(options_.leagues[i], visitor_league);
    bool is_home = SameLeague(options_.leagues[i], home_league);
    if (is_visitor || is_home) league_seen_[i] = true;
    visitor = visitor || is_visitor;
    home = home || is_home;
  }
  return visitor && home;
}

// The team's name in this row, made once per code, league and year; null
// when it cannot be had (told once, on the first row that needs it).
const std::string* SeasonImporter::NameFor(const std::string& code, const std::string& league, int year,
                                           int line) {
  std::string key = code + '\n' + league + '\n' + std::to_string(year);
  auto known = names_.find(key);
  if (known == names_.end()) known = names_.emplace(key, MadeName(code, league, year, line)).first;
  return known->second.empty() ? nullptr : &known->second;
}

// The name from the MAP, else the year, league letter and city letters;
// checked to fit a game line and to be no other team's. Empty when refused.
std::string SeasonImporter::MadeName(const std::string& code, const std::string& league, int year,
                                     int line) {
  std::string name;
  bool from_map = false;
  if (auto given = mapped_.find(code); given != mapped_.end()) {
    name = given->second;
    from_map = true;
  } else {
    const TeamListEntry* team = FindTeam(code);
    if (team == nullptr) {
      Error(line, "unknown team code " + schedule::Quoted(code) + ": name it with --teams (a line " +
                      (IsPlainCode(code) ? code : std::string("CODE")) + ",NAME in the MAP file)");
      return "";
    }
    if (league.empty()) {
      Error(line, "team " + schedule::Quoted(code) + " has no league code in this row: name it with --teams");
      return "";
    }
    name = TwoDigits(year) + Lower(league[0]);
    for (char c : team->city) {
      if (name.size() == 3 + kCityLetters) break;
      if (char letter = Lower(c); letter >= 'a' && letter <= 'z') name += letter;
    }
  }
  if (std::string problem = schedule::TeamNameProblem(name); !problem.empty()) {
    Error(line, "team " + schedule::Quoted(code) + ": " + problem + (from_map ? "" : ": name it with --teams"));
    return "";
  }
  auto [owner, added] = owners_.emplace(name, code);
  if (!added && owner->second != code) {
    Error(line, "teams " + schedule::Quoted(owner->second) + " and " + schedule::Quoted(code) + " both get the name " +
                    schedule::Quoted(name) + ": give one of them another name with --teams");
    return "";
  }
  if (added) {
    ++report_.teams;
    teams_.push_back(ImportedTeam{name, code, league});
  }
  return name;
}

void SeasonImporter::StartDate(const RowDate& date) {
  FinishDate();
  date_key_ = date.Key();
  date_text_ = SlashDate(std::chrono::year_month_day{
      std::chrono::year{date.year}, std::chrono::month{static_cast<unsigned>(date.month)},
      std::chrono::day{static_cast<unsigned>(date.day)}});
  date_games_ = 0;
  ++report_.dates;
  Write("[" + date_text_ + "]\r\n");
}

// A date record holds 15 games: the build keeps the first 15 of a longer date.
void SeasonImporter::FinishDate() {
  if (date_games_ <= schedule::kSlotsPerRecord) return;
  // The text keeps every game; it is the build that keeps the first 15.
  const int after = date_games_ - schedule::kSlotsPerRecord - 1;
  Warn(first_left_out_line_,
       "date " + schedule::Quoted(date_text_) + " has " + std::to_string(date_games_) +
           " games: the text keeps them all, but a date holds " + std::to_string(schedule::kSlotsPerRecord) +
           " and the build leaves out " +
           (after == 0 ? std::string("this one") : "this one and the " + std::to_string(after) + " after it"));
}

void SeasonImporter::Finish() {
  splitter_.Finish();
  FinishDate();
  date_games_ = 0;
  for (size_t i = 0; i < options_.leagues.size(); ++i) {
    if (!league_seen_[i]) Warn(0, "league " + schedule::Quoted(options_.leagues[i]) + " is in no row");
  }
  if (report_.games == 0 && report_.error_count == 0) {
    Error(0, report_.rows == 0 ? "no rows: there is no game to import"
                               : "none of its " + std::to_string(report_.rows) +
                                     " games is between teams of the leagues asked for");
  }
  if (int hidden = report_.error_count - kMaxShownErrors; hidden > 0) {
    report_.errors.push_back(Where(0) + schedule::NotShownText(hidden, "error", "errors"));
  }
}

void SeasonImporter::Write(std::string_view text) {
  if (report_.error_count == 0) sink_(text);
}

void SeasonImporter::Error(int line, const std::string& message) {
  if (++report_.error_count <= kMaxShownErrors) report_.errors.push_back(Where(line) + message);
}

void SeasonImporter::Warn(int line, const std::string& message) {
  report_.warnings.push_back(Where(line) + message);
}

// "FILE:LINE: ", or "FILE: " for the file as a whole.
std::string SeasonImporter::Where(int line) const {
  std::string where = options_.source_name;
  if (line > 0) where.append(":").append(std::to_string(line));
  return where.append(": ");
}

ImportReport ImportSeason(std::string_view file_bytes, const ImportOptions& options, const TextSink& sink) {
  SeasonImporter importer(options, sink);
  importer.TakeBytes(file_bytes);
  importer.Finish();
  return importer.report();
}

}  // namespace tool
