// Reading text fields: the one place where the field rules of sequential
// input live. A field is a line of the text as the schedule builder gets it:
// leading spaces skipped; a plain field runs to a comma, CR, CR LF, LF,
// 0x1A or the end of the data, with its TAB bytes dropped; a field that
// starts with a double quote runs to the next double quote, line ends
// included. The reader also says what it did to each field, with the lines
// as an editor counts them, so that the build's warnings and the checker's
// findings come from the reading itself and never from a second copy of
// these rules.
#ifndef ZELTO_FILES_READ_FIELD_H_
#define ZELTO_FILES_READ_FIELD_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace files {

/// The bytes a plain field never holds: the reader ends a plain field at a
/// comma, CR, LF or 0x1A and drops a TAB. Only a quoted field carries them.
inline constexpr std::string_view kPlainFieldBreakers("\t\n\r,\x1a", 5);

/// The longest field read: a "line" longer than this is no schedule text
/// (a binary file, a device such as /dev/zero), and reading stops there.
inline constexpr uint32_t kMaxFieldLength = 1024 * 1024;

/// What reading did to one field. Lines count from 1 as an editor counts
/// them: CR LF, LF and CR each end one.
struct FieldNotes {
  int64_t first_line = 0;         ///< the line where the field starts
  int64_t last_line = 0;          ///< the line of its last byte (a quoted field may span lines)
  bool quoted = false;            ///< it started with a double quote, read without the quotes
  bool quote_left_open = false;   ///< the data ended before the closing double quote
  bool text_after_quote = false;  ///< the line goes on after the closing quote: the rest is the next field
  bool ended_by_comma = false;    ///< a comma, not a line end, ended it
  int tabs_dropped = 0;           ///< TAB bytes left out of a plain field
  bool end_of_text = false;       ///< a 0x1A byte ended the data right after it
  bool byte_order_mark = false;   ///< a UTF-8 byte-order mark before it was skipped
};

/// Where the data of an input ended at a 0x1A byte.
struct EndOfTextNotes {
  bool found = false;       ///< the data ended at a 0x1A byte, not at the end of the file
  int64_t line = 0;         ///< the line the 0x1A byte stands on
  int64_t bytes_after = 0;  ///< bytes after it, never read as data
  bool at_least = false;    ///< a device went on giving bytes: there are at least that many
};

/// Reads the next text field of sequential input into `field` (empty on any
/// failure). Returns kPastEndOfFile when nothing was left to read.
int ReadField(int16_t number, std::string* field);

/// True once no unread byte is left in sequential input, or the next one is
/// the end-of-text byte 0x1A. A failure answers false and sets `*error`.
bool EndOfFile(int16_t number, int* error = nullptr);

/// Reads the next field like ReadField and says what reading did to it. A
/// field longer than kMaxFieldLength fails with kFieldTooLong (the field is
/// empty, its first line is in the notes), and so does every later read. A
/// UTF-8 byte-order mark at the start of the data is skipped; UTF-16 text (a
/// UTF-16 mark, or a first line with a NUL in every other byte) fails with
/// kUtf16Text.
int ReadField(int16_t number, std::string* field, FieldNotes* notes);

/// True when `first_field`, the first field of a text, is taken for UTF-16
/// text without a mark (a NUL in every other byte, three characters at
/// least): ReadField then fails with kUtf16Text. A writer of schedule text
/// asks it of the first line it writes.
bool LooksLikeUtf16(std::string_view first_field);

/// Reads the next field as ReadField does, unless the data of input
/// `number` has ended (EndOfFile would answer true): then kPastEndOfFile,
/// and the error word is left as it was. One call per line for a reader
/// that reads to the end.
int ReadNextField(int16_t number, std::string* field, FieldNotes* notes);

/// ReadNextField for a reader that takes each line before it reads the
/// next: `*field` is the field's bytes, valid until the next read of input
/// `number`. A plain field held whole in the read buffer is handed on where
/// it stands; any other is read into `*storage` and `*field` views that.
/// The same fields, notes and codes as ReadNextField.
int ReadNextFieldView(int16_t number, std::string_view* field, std::string* storage,
                      FieldNotes* notes);

/// Whether the data of input `number` has ended at a 0x1A byte, and how many
/// bytes stand after it (counted by reading on; a device is read for at most
/// kMaxFieldLength more bytes). Call it once the reading is done.
EndOfTextNotes NotesOnEndOfText(int16_t number);

/// True when sequential input `number`, read to its end, held not a single
/// byte: an empty file, which a message calls empty rather than no text.
bool InputHeldNoByte(int16_t number);

/// Looks at up to `size` bytes of input `number` ahead of the reader
/// without taking them (at most the read buffer's size): the next read gets
/// them again. A device gives only as many as it has before its data ends.
/// This is how a command tells a schedule file from a schedule text given
/// as its input, standard input included.
int PeekBytes(int16_t number, uint8_t* bytes, uint32_t size, uint32_t* got);

/// Reads up to `size` raw bytes of input `number`, no field rules applied
/// (a schedule file read to be shown); `*got` is 0 at the end of the data.
int ReadBytes(int16_t number, uint8_t* bytes, uint32_t size, uint32_t* got);

}  // namespace files

#endif  // ZELTO_FILES_READ_FIELD_H_
