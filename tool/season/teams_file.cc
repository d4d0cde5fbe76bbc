#include "tool/season/teams_file.h"

#include <charconv>
#include <cmath>
#include <map>
#include <numbers>

#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "tool/csv_field.h"
#include "tool/file_lines.h"
#include "tool/tool_input.h"

namespace tool {
namespace {

// The columns a CSV teams file may name.
enum Column { kName, kDivision, kDisplay, kLatitude, kLongitude, kCode, kLeague, kColumns };
constexpr const char* kColumnNames[kColumns] = {"name",     "division",  "display", "latitude",
                                                "longitude", "code",     "league"};

// Why `text` cannot be shown as a display name, or an empty string: it must
// be UTF-8 (no overlong form, no surrogate, nothing past U+10FFFF), hold no
// control character (it goes into pages, calendars and CSV rows), and be at
// most kMaxDisplayCharacters characters.
std::string DisplayProblem(std::string_view text) {
  size_t characters = 0;
  for (size_t at = 0; at < text.size(); ++characters) {
    const size_t length = schedule::CharacterLength(text, at);
    if (length == 0) {
      return "display name " + schedule::Quoted(text) + " is not UTF-8 (byte " +
             std::to_string(at + 1) + "): save the file as UTF-8";
    }
    // The C0 controls and DEL are one byte; the C1 controls U+0080 to U+009F
    // are 0xC2 followed by 0x80 to 0x9F.
    const auto lead = static_cast<unsigned char>(text[at]);
    const bool control = length == 1 ? lead < 0x20 || lead == 0x7F
                                     : length == 2 && lead == 0xC2 &&
                                           static_cast<unsigned char>(text[at + 1]) < 0xA0;
    if (control) return "display name " + schedule::Quoted(text) + " holds a control character";
    at += length;
  }
  if (characters > kMaxDisplayCharacters) {
    return "display name " + schedule::Quoted(text) + " is " + std::to_string(characters) +
           " characters long; a display name holds at most " +
           std::to_string(kMaxDisplayCharacters);
  }
  return "";
}

// Why a public code or league cannot stand in a season file's row, or "".
std::string CodeProblem(const char* what, std::string_view text) {
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == ',' || byte < 0x20 || byte >= 0x7F) {
      return std::string(what) + " " + schedule::Quoted(text) +
             " holds a character other than a printable ASCII letter, digit or sign, or a comma "
             "or double quote";
    }
  }
  return "";
}

// Reads degrees written as a decimal number within -limit..limit.
bool ParseDegrees(std::string_view text, double limit, double* degrees) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, *degrees, std::chars_format::fixed);
  return error == std::errc() && stop == end && !text.empty() && std::isfinite(*degrees) &&
         *degrees >= -limit && *degrees <= limit;
}

// What one line gives, before the checks that need the lines before it.
struct Row {
  std::string_view name, division, display, latitude, longitude, code, league;
};

// Takes the header's columns. False, with the reason, when `name` is not
// among them or a column is named twice.
bool ReadHeader(const std::vector<std::string>& fields, std::vector<int>* column_of_field,
                std::string* problem) {
  bool named[kColumns] = {};
  column_of_field->assign(fields.size(), -1);
  for (size_t f = 0; f < fields.size(); ++f) {
    const std::string word = ColumnName(fields[f]);
    for (int c = 0; c < kColumns; ++c) {
      if (word != kColumnNames[c]) continue;
      if (named[c]) {
        *problem = "the header names column \"" + word + "\" twice";
        return false;
      }
      named[c] = true;
      (*column_of_field)[f] = c;
    }
  }
  if (!named[kName]) {
    *problem = "the header " + schedule::Quoted(Trimmed(fields.empty() ? "" : fields[0])) +
               (fields.size() > 1 ? "..." : "") +
               " names no column \"name\": a CSV teams file starts with a line naming its "
               "columns, name among them (division, display, latitude, longitude, code, league)";
    return false;
  }
  return true;
}

// The checks of one team that need nothing but its own row.
std::string RowProblem(const Row& row, TeamEntry* team) {
  if (std::string problem = schedule::TeamNameProblem(row.name); !problem.empty()) return problem;
  const std::string who = "team " + schedule::Quoted(row.name);
  if (std::string problem = DisplayProblem(row.display); !problem.empty()) {
    return who + ": " + problem;
  }
  for (auto [what, text] : {std::pair{"code", row.code}, std::pair{"league", row.league}}) {
    if (std::string problem = CodeProblem(what, text); !problem.empty()) return who + ": " + problem;
  }
  if (row.latitude.empty() != row.longitude.empty()) {
    return who + ": give both its latitude and its longitude, or neither";
  }
  if (!row.latitude.empty()) {
    Place place;
    if (!ParseDegrees(row.latitude, 90, &place.latitude)) {
      return who + ": latitude " + schedule::Quoted(row.latitude) +
             " is no number of degrees from -90 to 90 (north positive)";
    }
    if (!ParseDegrees(row.longitude, 180, &place.longitude)) {
      return who + ": longitude " + schedule::Quoted(row.longitude) +
             " is no number of degrees from -180 to 180 (east positive)";
    }
    team->place = place;
  }
  team->name = std::string(row.name);
  team->division = std::string(row.division);
  team->display = std::string(row.display);
  team->code = std::string(row.code);
  team->league = std::string(row.league);
  return "";
}

}  // namespace

std::string ColumnName(std::string_view field) {
  std::string name(Trimmed(field));
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

const TeamEntry* TeamsFile::Find(std::string_view name) const {
  for (const TeamEntry& team : teams) {
    if (team.name == name) return &team;
  }
  return nullptr;
}

bool ReadTeamsFile(std::string_view text, const std::string& file_name, TeamsFile* teams,
                   std::vector<std::string>* errors) {
  const size_t errors_before = errors->size();
  std::map<std::string, int, std::less<>> named_on;  // name -> its line
  int first_with_division = 0, first_without_division = 0;
  bool header_read = false;
  std::vector<int> column_of_field;
  std::vector<std::string> fields;
  int number = 0;
  std::string_view line;
  for (size_t at = 0; NextLine(text, &at, &line);) {
    ++number;
    if (Trimmed(line).empty() || line.front() == '#') continue;
    auto refuse = [&](const std::string& problem) {
      errors->push_back(file_name + ":" + std::to_string(number) + ": " + problem);
    };

    if (!header_read) {
      header_read = true;
      teams->csv = line.find(',') != std::string_view::npos;
      if (teams->csv) {
        std::string problem;
        if (!SplitCsvRow(line, &fields, &problem) || !ReadHeader(fields, &column_of_field, &problem)) {
          refuse(problem);
          return false;  // without its columns no row can be read
        }
        continue;
      }
    }

    Row row;
    if (teams->csv) {
      std::string problem;
      if (!SplitCsvRow(line, &fields, &problem)) {
        refuse(problem);
        continue;
      }
      if (fields.size() > column_of_field.size()) {
        refuse("a row has " + std::to_string(fields.size()) + " fields; the header names " +
               std::to_string(column_of_field.size()));
        continue;
      }
      std::string_view* into[kColumns] = {&row.name,      &row.division, &row.display, &row.latitude,
                                          &row.longitude, &row.code,     &row.league};
      for (size_t f = 0; f < fields.size(); ++f) {
        if (column_of_field[f] >= 0) *into[column_of_field[f]] = Trimmed(fields[f]);
      }
    } else {
      std::vector<std::string_view> words = LineWords(line);
      if (words.size() > 2) {
        refuse("a line is NAME or NAME DIVISION; this one has " + std::to_string(words.size()) +
               " words: " + schedule::Quoted(line));
        continue;
      }
      row.name = words[0];
      if (words.size() == 2) row.division = words[1];
    }

    TeamEntry team;
    team.line = number;
    std::string problem = RowProblem(row, &team);
    if (!problem.empty()) {
      // the row's own checks say why
    } else if (auto earlier = named_on.find(row.name); earlier != named_on.end()) {
      problem = "team " + schedule::Quoted(row.name) + " was already named on line " +
                std::to_string(earlier->second);
    } else if (!row.division.empty() && first_without_division != 0) {
      problem = "team " + schedule::Quoted(row.name) + " names a division, but the team on line " +
                std::to_string(first_without_division) + " names none: give every team one or none";
    } else if (row.division.empty() && first_with_division != 0) {
      problem = "team " + schedule::Quoted(row.name) + " names no division, but the team on line " +
                std::to_string(first_with_division) + " does: give every team one or none";
    }
    if (!problem.empty()) {
      refuse(problem);
      continue;
    }
    named_on.emplace(team.name, number);
    int& first = team.division.empty() ? first_without_division : first_with_division;
    if (first == 0) first = number;
    teams->teams.push_back(std::move(team));
  }
  return errors->size() == errors_before;
}

bool ReadTeamsFileAt(int16_t number, const std::string& path, TeamsFile* teams,
                     std::vector<std::string>* failures) {
  std::string text;
  std::string failure = ReadWholeInput(number, path, "teams file", kMaxTeamsFileBytes,
                                       [&text](std::string_view piece) { text.append(piece); });
  if (!failure.empty()) {
    failures->push_back(failure);
    return false;
  }
  return ReadTeamsFile(text, path, teams, failures);
}

int64_t GreatCircleKilometres(const Place& from, const Place& to) {
  constexpr double kEarthRadius = 6371.0;
  constexpr double kRadians = std::numbers::pi / 180.0;
  const double lat1 = from.latitude * kRadians, lat2 = to.latitude * kRadians;
  const double half_dlat = (to.latitude - from.latitude) * kRadians / 2;
  const double half_dlon = (to.longitude - from.longitude) * kRadians / 2;
  // The haversine of the angle between them; kept within 1 where rounding
  // would take two opposite points past it.
  double h = std::sin(half_dlat) * std::sin(half_dlat) +
             std::cos(lat1) * std::cos(lat2) * std::sin(half_dlon) * std::sin(half_dlon);
  h = std::min(1.0, std::max(0.0, h));
  return std::llround(kEarthRadius * 2 * std::asin(std::sqrt(h)));
}

}  // namespace tool
