// The rows of a season file: physical lines cut from the file's bytes, and
// the days they name.
#ifndef ZELTO_TOOL_IMPORT_IMPORT_ROWS_H_
#define ZELTO_TOOL_IMPORT_IMPORT_ROWS_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

/// The longest row kept whole; a longer one is reported, not held.
inline constexpr size_t kMaxRowBytes = 4096;

/// One physical line of the file, without its line end.
struct RowLine {
  std::string_view text;  ///< at most kMaxRowBytes of it
  int number;             ///< as an editor counts lines, from 1
  size_t full_length;     ///< the line's length before any cut: one past the limit at most
  /// Cut where it passed kMaxRowBytes, before its end: the splitter reads
  /// no further, so that a row that never ends (a device of zeros) is
  /// refused at once rather than read for ever.
  bool unended = false;
};

/// Cuts a file's bytes, given in pieces of any size, into lines: LF, CR LF
/// or a CR alone ends a line, a Ctrl+Z byte (0x1A) ends the data, a UTF-8
/// byte order mark at the start is dropped. Holds one line at most; a line
/// past kMaxRowBytes is handed on cut (RowLine::unended) and ends the data.
class RowLineSplitter {
 public:
  /// Called once per line, in file order.
  using LineHandler = std::function<void(const RowLine&)>;

  /// Lines go to `take`.
  explicit RowLineSplitter(LineHandler take);

  /// Takes the next piece of the file.
  void Feed(std::string_view bytes);

  /// Hands on a last line that has no line end.
  void Finish();

  /// True once the data has ended (a Ctrl+Z, or a line past the limit):
  /// the rest of the file need not be read.
  bool Ended() const { return ended_; }

 private:
  // Hands on the line gathered, without its CR LF, and starts the next.
  void EndLine();

  LineHandler take_;
  std::string line_;
  size_t full_length_ = 0;
  bool last_was_cr_ = false;  // the line's last byte so far is a CR
  int number_ = 1;
  bool ended_ = false;  // a Ctrl+Z was met
};

/// A day as a season file writes it.
struct RowDate {
  int year;
  int month;
  int day;
  /// YYYYMMDD as a number, which sorts in calendar order.
  int Key() const { return (year * 100 + month) * 100 + day; }
};

/// Reads `text` as YYYYMMDD. False, with the reason in `problem`, when it is
/// not eight digits or not a real day (Gregorian leap years).
bool ParseRowDate(std::string_view text, RowDate* date, std::string* problem);

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_IMPORT_ROWS_H_
