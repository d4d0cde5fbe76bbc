// Reading a season: the games of a schedule file, or of a schedule text
// counted as the build would store them, told one at a time in the order of
// the file (record, then slot). The commands that look at a season as a
// whole (report, calendar) read it here, so that a text and the schedule
// file built from it give the same games.
//
// A schedule file is told from a text by its content, as the build tells
// one given as its input: its first 430 bytes are the header record. A text
// goes through the build's own reader and grouper: a date's first 15 games,
// blank lines and games past the 15th left out.
#ifndef ZELTO_TOOL_SEASON_SEASON_READER_H_
#define ZELTO_TOOL_SEASON_SEASON_READER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "schedule/schedule_grouper.h"

namespace tool {

/// One game as it is stored. A slot with both names blank is no game and
/// is never told.
struct SeasonGame {
  std::string_view date;     ///< the stored date, 8 bytes, space-padded
  std::string_view visitor;  ///< the visitor's stored name, trailing blanks removed
  std::string_view home;     ///< the home team's stored name, trailing blanks removed
  std::string_view options;  ///< the stored options, trailing blanks removed
  int64_t record = 0;        ///< the record it is stored in: 2 for the first date
  int slot = 0;              ///< its slot in that record, 1 to 15
  int64_t line = 0;          ///< the text's editor line; 0 in a schedule file
};

/// What a season holds, told as it is read.
class SeasonListener {
 public:
  virtual ~SeasonListener() = default;
  /// The record of `date` (8 bytes) begins; `record` is 2 for the first date.
  virtual void DateBegun(std::string_view date, int64_t record) = 0;
  /// A game of the date begun last.
  virtual void GameRead(const SeasonGame& game) = 0;
  /// The record of the date begun last is complete.
  virtual void DateEnded() = 0;
  /// A text's games that the build leaves out, as the build warns of them
  /// ("FILE:LINE: message"): a game line before the first date, a date's
  /// games past the 15th. They are in no count; a listener that shows
  /// what it read says so.
  virtual void GamesLost(const std::string& /*warning*/) {}
};

/// Which kind of file a season was.
enum class SeasonKind : uint8_t { kText, kScheduleFile };

/// Opens the season `path` ("-": standard input) as kToolInputFile; false with
/// the line to show in `failure`.
bool OpenSeason(const std::string& path, std::string* failure);

/// Reads the season open as kToolInputFile to its end and tells `listener`
/// its games; `kind` says what it was. False, with the line to show in
/// `failure`, when it is neither a whole schedule file nor a schedule text
/// (a read fails, a record is damaged, it is UTF-16, it has no date line).
/// The file stays open.
bool ReadOpenSeason(const std::string& path, SeasonListener* listener, SeasonKind* kind,
                    std::string* failure);

/// Where a game stands, as a message names it: "FILE:LINE" for a text,
/// "FILE: record R slot S" for a schedule file.
std::string GamePlace(const std::string& path, const SeasonGame& game);

/// Turns the build's grouping of a text into the games of a season: the
/// one adaptor that reading a text here and check both use.
class SeasonFromGrouping : public schedule::GroupingListener {
 public:
  /// `listener` must outlive this.
  /// `path` names the text in the warnings of games left out.
  SeasonFromGrouping(SeasonListener* listener, std::string path)
      : listener_(listener), path_(std::move(path)) {}

  bool DateBegun(const std::string& date, const schedule::SourceLine& source) override;
  bool DateRepeated(const std::string& date, const schedule::SourceLine& source) override;
  bool GameStored(int slot, const schedule::GameFields& game,
                  const schedule::SourceLine& source) override;
  bool GameLeftOut(int game_number, const schedule::SourceLine& source) override;
  bool LineSkipped(const schedule::SourceLine& source) override;
  bool DateEnded(const std::string& date, int games, int64_t first_left_out) override;

  /// After the text's end: how many warnings of games left out went
  /// untold past the first kLossesTold, when any did.
  void TellLossesUntold();

  /// The warnings of games left out told one by one; past them they are
  /// counted, so that a text of no season (a log, endless lines) neither
  /// floods the screen nor fills the disk with warnings held for later.
  static constexpr int64_t kLossesTold = 100;

 private:
  void Lost(std::string warning);

  SeasonListener* listener_;
  std::string path_;
  int64_t losses_ = 0;  // warnings of games left out, told or not
  std::string date_;    // the date being filled
  int64_t record_ = 1;  // its record
};

}  // namespace tool

#endif  // ZELTO_TOOL_SEASON_SEASON_READER_H_
