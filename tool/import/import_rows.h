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
  size_t full_length;     ///< the line's length before any cut
};

/// Cuts a file's bytes, given in pieces of any size, into lines: LF or CR LF
/// ends a line, a Ctrl+Z byte (0x1A) ends the data, a UTF-8 byte order mark
/// at the start is dropped. Holds one line at most.
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
