// Reading a schedule text as the builder reads it, field by field, while
// counting lines as an editor does (CR LF, LF or CR ends one), so that each
// line the builder gets can be traced to the line a person sees.
#ifndef ZELTO_SCHEDULE_SCHEDULE_CHECK_READER_H_
#define ZELTO_SCHEDULE_SCHEDULE_CHECK_READER_H_

#include <cstdint>
#include <streambuf>
#include <string>

namespace schedule {

/// One line as the builder gets it, with where it came from and what the
/// reading did to the bytes of the file.
struct ReadLine {
  std::string text;     ///< the line the builder takes
  int first_line = 0;   ///< the editor line where it starts
  int last_line = 0;    ///< the editor line of its last byte (a quoted line may span lines)
  bool quoted = false;  ///< it started with a double quote
  bool closed = true;   ///< a quoted line met its closing double quote
  bool text_after_quote = false;  ///< the file goes on after the closing quote on the same line
  int tabs_dropped = 0;           ///< TAB bytes left out of a plain line
  bool ended_by_comma = false;    ///< a comma, not a line end, ended it
};

/// The reading rules of the builder over a stream of bytes.
class CheckReader {
 public:
  /// Reads from `bytes`, which must outlive the reader.
  explicit CheckReader(std::streambuf* bytes) : bytes_(bytes) {}

  /// Reads the next line; false when the data has ended.
  bool Next(ReadLine* line);

  /// The editor line where the data ended at a 0x1A byte, or 0.
  int end_of_text_line() const { return end_of_text_line_; }

  /// Bytes that stand after that 0x1A byte and are never read.
  int64_t bytes_after_end_of_text() const { return bytes_after_end_of_text_; }

 private:
  int Peek();
  void Advance();
  void ReadPlain(ReadLine* line);
  void ReadQuoted(ReadLine* line);
  void ConsumeCarriageReturn();
  void NoteEndOfText();

  std::streambuf* bytes_;
  int line_ = 1;           // the editor line of the next byte
  bool after_cr_ = false;  // the byte consumed last was a CR
  int end_of_text_line_ = 0;
  int64_t bytes_after_end_of_text_ = 0;
};

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_CHECK_READER_H_
