// Importing a season file (one game per row, as Retrosheet publishes them)
// as schedule text: a date line "[MM/DD/YY]" for each date of the file and
// a game line "visitor home" for each game under it, CR LF line ends, in the
// file's order. The importer takes one row at a time and hands the text on
// in pieces as it goes: what it holds grows with the teams of the season,
// never with its rows.
#ifndef ZELTO_TOOL_IMPORT_IMPORT_SEASON_H_
#define ZELTO_TOOL_IMPORT_IMPORT_SEASON_H_

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tool/import/import_rows.h"
#include "tool/import/import_team_map.h"

namespace tool {

/// What to import and how to name it.
struct ImportOptions {
  std::vector<std::string> leagues;  ///< keep games between these leagues' teams; empty: all
  std::vector<MappedName> teams;     ///< names given in a MAP file, in place of the made ones
  std::string source_name;           ///< the season file's name, for messages
};

/// Where the schedule text goes, piece by piece, in order.
using TextSink = std::function<void(std::string_view)>;

/// Errors shown at most; the rest are counted.
inline constexpr int kMaxShownErrors = 50;

/// What an import found and did.
struct ImportReport {
  /// "FILE:LINE: message", at most kMaxShownErrors, then how many more
  /// were not shown.
  std::vector<std::string> errors;
  int error_count = 0;                ///< every error, shown or not
  std::vector<std::string> warnings;  ///< "FILE:LINE: message"
  int rows = 0;                       ///< rows read (blank lines not counted)
  int games = 0;                      ///< game lines written
  int dates = 0;                      ///< date lines written
  int teams = 0;                      ///< distinct team names written
  /// True when nothing stopped the import: the text is whole and may be kept.
  bool Succeeded() const { return error_count == 0; }
};

/// A team as the text names it, with the code and league of the row that
/// first gave it that name.
struct ImportedTeam {
  std::string name;
  std::string code;
  std::string league;
};

/// Turns a season file's rows into schedule text. Feed it the file's bytes
/// (TakeBytes) or its lines (TakeRow), then call Finish. Once an error is
/// found no more text goes to the sink, but the rows are still checked, so
/// that every error is reported at once; the text the sink got by then must
/// be thrown away.
class SeasonImporter {
 public:
  /// Imports by `options`, writing the text to `sink`.
  SeasonImporter(const ImportOptions& options, TextSink sink);

  /// Takes the next piece of the file, of any size.
  void TakeBytes(std::string_view bytes);

  /// Takes one physical line, without its line end, as line `line` of the
  /// file. A line with nothing but blanks is skipped.
  void TakeRow(std::string_view row, int line);

  /// Ends the file: the last date's count, whole-file checks.
  void Finish();

  /// True once the rest of the file is not wanted: its first row is no
  /// season row, or a row passed the longest a row may be. Bytes taken
  /// after that are not looked at.
  bool Stopped() const { return stopped_; }

  /// What was found so far; complete after Finish.
  const ImportReport& report() const { return report_; }

  /// The teams named so far, in the order the text first names them.
  const std::vector<ImportedTeam>& teams() const { return teams_; }

 private:
  // A line from the splitter: an overlong one is refused, else TakeRow.
  void TakeLine(const RowLine& line);
  // The row's date, checked to be real and not before the last row's.
  bool TakeDate(std::string_view text, int line, RowDate* date);
  // Whether a game between these leagues is kept by --league.
  bool Kept(std::string_view visitor_league, std::string_view home_league);
  // The team's name in this row, made once; null when it is refused.
  const std::string* NameFor(const std::string& code, const std::string& league, int year, int line);
  // Makes and checks a name the first time it is needed; empty: refused.
  std::string MadeName(const std::string& code, const std::string& league, int year, int line);
  // Writes a date line, after telling the last date's count if too long.
  void StartDate(const RowDate& date);
  // Warns of a date of more than 15 games.
  void FinishDate();
  // Hands text to the sink while no error has been found.
  void Write(std::string_view text);
  // Records an error or a warning on `line` (0: the file as a whole).
  void Error(int line, const std::string& message);
  void Warn(int line, const std::string& message);
  // "FILE:LINE: " or "FILE: ".
  std::string Where(int line) const;

  ImportOptions options_;
  TextSink sink_;
  RowLineSplitter splitter_;
  ImportReport report_;
  std::vector<ImportedTeam> teams_;
  std::map<std::string, std::string, std::less<>> mapped_;  // code -> name from the MAP
  std::map<std::string, std::string> names_;  // code, league, year -> name; empty: refused
  std::map<std::string, std::string> owners_;  // name -> the code that has it
  std::vector<bool> league_seen_;             // per options_.leagues
  std::vector<std::string> fields_;           // the current row's, kept for their buffers
  int last_key_ = 0;                          // the last good date, YYYYMMDD
  int last_line_ = 0;                         // and its line
  int date_key_ = 0;                          // the date being written, 0 before the first
  std::string date_text_;                     // as MM/DD/YY
  int date_games_ = 0;                        // its games, past the 15th too
  int first_left_out_line_ = 0;               // the line of its 16th
  bool stopped_ = false;                      // the rest of the file is not read
  int season_year_ = 0;                       // the first kept row's year, which names the teams
};

/// Imports the whole of `file_bytes` at once: a SeasonImporter fed and
/// finished.
ImportReport ImportSeason(std::string_view file_bytes, const ImportOptions& options, const TextSink& sink);

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_IMPORT_SEASON_H_
