#include "schedule/schedule_check_reader.h"

namespace schedule {
namespace {

constexpr int kNoByte = -1;
constexpr int kComma = ',';
constexpr int kCarriageReturn = '\r';
constexpr int kLineFeed = '\n';
constexpr int kTab = '\t';
constexpr int kSpace = ' ';
constexpr int kQuote = '"';
constexpr int kEndOfText = 0x1A;  // Ctrl+Z: the builder reads nothing after it

}  // namespace

int CheckReader::Peek() {
  std::streambuf::int_type byte = bytes_->sgetc();
  return std::streambuf::traits_type::eq_int_type(byte, std::streambuf::traits_type::eof())
             ? kNoByte
             : static_cast<unsigned char>(std::streambuf::traits_type::to_char_type(byte));
}

// A CR ends an editor line, and so does an LF unless it follows a CR.
void CheckReader::Advance() {
  int byte = Peek();
  bytes_->sbumpc();
  if (byte == kCarriageReturn || (byte == kLineFeed && !after_cr_)) ++line_;
  after_cr_ = byte == kCarriageReturn;
}

void CheckReader::ConsumeCarriageReturn() {
  Advance();
  if (Peek() == kLineFeed) Advance();
}

// The data ends at a 0x1A byte; what stands after it is counted, never read.
void CheckReader::NoteEndOfText() {
  if (end_of_text_line_ != 0) return;
  end_of_text_line_ = line_;
  bytes_->sbumpc();
  while (Peek() != kNoByte) {
    bytes_->sbumpc();
    ++bytes_after_end_of_text_;
  }
}

// A plain line runs to a comma, CR, LF, 0x1A or the end; TABs are dropped.
void CheckReader::ReadPlain(ReadLine* line) {
  for (;;) {
    int byte = Peek();
    if (byte == kNoByte) return;
    if (byte == kEndOfText) {
      NoteEndOfText();
      return;
    }
    if (byte == kCarriageReturn) {
      ConsumeCarriageReturn();
      return;
    }
    Advance();
    if (byte == kLineFeed) return;
    if (byte == kComma) {
      line->ended_by_comma = true;
      return;
    }
    if (byte == kTab) {
      ++line->tabs_dropped;
      continue;
    }
    line->text.push_back(static_cast<char>(byte));
  }
}

// A quoted line takes every byte up to the next double quote. After it,
// blanks, TABs and LFs are skipped, and one comma or one CR (LF) ends it.
void CheckReader::ReadQuoted(ReadLine* line) {
  line->quoted = true;
  Advance();
  for (;;) {
    int byte = Peek();
    if (byte == kNoByte) {
      line->closed = false;
      line->last_line = line_;
      return;
    }
    Advance();
    if (byte == kQuote) break;
    line->text.push_back(static_cast<char>(byte));
  }
  int closing_line = line_;
  line->last_line = closing_line;
  for (;;) {
    int byte = Peek();
    if (byte == kSpace || byte == kTab || byte == kLineFeed) {
      Advance();
      continue;
    }
    if (byte == kComma) Advance();
    if (byte == kCarriageReturn) ConsumeCarriageReturn();
    // Anything else starts the next line where it stands.
    if (byte != kNoByte && byte != kComma && byte != kCarriageReturn && line_ == closing_line) {
      line->text_after_quote = true;
    }
    return;
  }
}

bool CheckReader::Next(ReadLine* line) {
  *line = ReadLine{};
  while (Peek() == kSpace) Advance();
  int byte = Peek();
  if (byte == kNoByte) return false;
  if (byte == kEndOfText) {
    NoteEndOfText();
    return false;
  }
  line->first_line = line_;
  line->last_line = line_;
  if (byte == kQuote) {
    ReadQuoted(line);
  } else {
    ReadPlain(line);
  }
  return true;
}

}  // namespace schedule
