#include "schedule/schedule_check.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string_view>

#include "schedule/schedule_check_reader.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/tool_files.h"

namespace schedule {
namespace {

constexpr size_t kVisitorEnd = 8;  // column 8, the visitor's last
constexpr size_t kHomeStart = 10;  // column 10, the home team's first
constexpr size_t kHomeEnd = 17;    // column 17, the home team's last
constexpr size_t kLastReadColumn = 30;
constexpr size_t kUnreadColumns[] = {9, 18};  // the blanks between the fields

// Column `column` (from 1) of a line, or a blank past its end.
char At(std::string_view text, size_t column) {
  return column <= text.size() ? text[column - 1] : ' ';
}

// The date as a number that sorts in calendar order (YYMMDD), or -1 when the
// date is not MM/DD/YY; `real` tells whether such a day exists. A two-digit
// year divisible by four is taken as a leap year.
int DateKey(std::string_view date, bool* real) {
  *real = false;
  if (date.size() != 8 || date[2] != '/' || date[5] != '/') return -1;
  int parts[3];
  for (int part = 0; part < 3; ++part) {
    char tens = date[part * 3];
    char ones = date[part * 3 + 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return -1;
    parts[part] = (tens - '0') * 10 + (ones - '0');
  }
  int month = parts[0], day = parts[1], year = parts[2];
  static constexpr int kDaysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month >= 1 && month <= 12 && day >= 1 && day <= kDaysIn[month - 1]) {
    *real = !(month == 2 && day == 29 && year % 4 != 0);
  }
  return year * 10000 + month * 100 + day;
}

// The three fields as the builder stores them, for a message.
std::string StoredAs(std::string_view text) {
  GameFields fields = TakeGameFields(text);
  return "visitor " + Quoted(TrimTrailingSpaces(fields.visitor)) + ", home " +
         Quoted(TrimTrailingSpaces(fields.home)) + ", options " + Quoted(TrimTrailingSpaces(fields.options));
}

// The run of non-blank characters that covers column `column`, and the
// column where it starts.
std::string_view WordAt(std::string_view text, size_t column, size_t* start) {
  size_t before = text.rfind(' ', column - 1);
  size_t first = before == std::string_view::npos ? 0 : before + 1;
  size_t end = text.find(' ', column - 1);
  *start = first + 1;
  return text.substr(first, end == std::string_view::npos ? std::string_view::npos : end - first);
}

// What the fixed columns do to a game line that a person may not see: a
// name running into an unread column, a home name out of its columns.
std::vector<std::string> ColumnNotes(std::string_view text) {
  std::vector<std::string> notes;
  size_t previous_start = 0;
  for (size_t column : kUnreadColumns) {
    if (At(text, column) == ' ') continue;
    size_t start;
    std::string_view word = WordAt(text, column, &start);
    if (start == previous_start) continue;  // one word over both columns is told once
    previous_start = start;
    if (start == 1 || start == kHomeStart) {
      notes.push_back(std::string(start == 1 ? "visitor" : "home team") + " name " + Quoted(word) +
                      " is longer than 8 characters");
    } else {
      notes.push_back(Quoted(word) + " runs into column " + std::to_string(column) +
                      ", which is not read");
    }
  }
  bool home_text = text.size() > kHomeStart &&
                   !TrimTrailingSpaces(text.substr(kHomeStart - 1, kHomeEnd - kHomeStart + 1)).empty();
  if (At(text, kVisitorEnd + 1) == ' ' && At(text, kHomeStart) == ' ' && home_text) {
    size_t first = text.find_first_not_of(' ', kHomeStart - 1) + 1;
    notes.push_back("the home team name starts in column " + std::to_string(first) + ", not 10");
  }
  return notes;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : "; ") + part;
  return joined;
}

// The builder's grouping of lines under dates, followed line by line.
class Checker {
 public:
  void Take(const ReadLine& line) {
    NoteReading(line);
    if (IsDateLine(line.text)) {
      TakeDateLine(line);
    } else if (!have_date_) {
      if (!IsBlankLine(line.text)) {
        Add(line.first_line, "a game line before the first date is skipped");
      }
    } else {
      TakeGameLine(line);
    }
    previous_comma_line_ = line.ended_by_comma ? line.first_line : 0;
  }

  std::vector<CheckFinding> Finish(const CheckReader& reader) {
    if (have_date_) {
      FinishDate();
    } else {
      Add(1, "no date line: the schedule holds the header alone");
    }
    if (int64_t after = reader.bytes_after_end_of_text(); after > 0) {
      Add(reader.end_of_text_line(),
          "a Ctrl+Z byte (0x1A) ends the data here: the " + std::to_string(after) +
              (after == 1 ? " byte after it is" : " bytes after it are") + " never read");
    }
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
    return std::move(findings_);
  }

 private:
  void Add(int line, std::string message) { findings_.push_back({line, std::move(message)}); }

  // What reading did to the bytes: quotes, commas and TABs.
  void NoteReading(const ReadLine& line) {
    std::vector<std::string> notes;
    if (line.quoted && !line.closed) {
      notes.push_back(
          "a line that starts with a double quote has no closing double quote: "
          "the rest of the file is read as one line");
    } else if (line.quoted && line.last_line > line.first_line) {
      std::string lines = std::to_string(line.first_line) + "-" + std::to_string(line.last_line);
      notes.push_back(
          "a line that starts with a double quote runs to the next double quote, on line " +
          std::to_string(line.last_line) + ": lines " + lines +
          " are read as one line, without the quotes");
    } else if (line.quoted) {
      notes.push_back("a line that starts with a double quote is read without its quotes");
    }
    if (line.text_after_quote) {
      notes.push_back("the text after the closing double quote is read as another line");
    }
    if (line.ended_by_comma) {
      notes.push_back("a comma ends the line: the text after it is read as another line");
    }
    if (line.tabs_dropped > 0) {
      notes.push_back(
          line.tabs_dropped == 1
              ? "a TAB byte is dropped: the text after it moves one column left"
              : std::to_string(line.tabs_dropped) +
                    " TAB bytes are dropped: the text after each moves one column left");
    }
    if (!notes.empty()) Add(line.first_line, Join(notes));
  }

  void TakeDateLine(const ReadLine& line) {
    std::string date = DateOf(line.text);
    // The same date again goes on filling its record.
    if (have_date_ && date == current_date_) return;
    if (have_date_) FinishDate();
    have_date_ = true;
    current_date_ = date;
    game_count_ = 0;
    first_left_out_line_ = 0;

    bool real;
    int key = DateKey(date, &real);
    if (key < 0) {
      Add(line.first_line, "date " + Quoted(TrimTrailingSpaces(date)) +
                               " is not written MM/DD/YY; it is stored as it stands");
      return;
    }
    if (!real) {
      Add(line.first_line, "date " + date + " is not a real calendar date");
      return;
    }
    if (key < ordered_key_) {
      Add(line.first_line, "date " + date + " comes before " + ordered_date_ + " (line " +
                               std::to_string(ordered_line_) +
                               "), yet its record comes after it: records keep the order of the "
                               "file");
    } else if (key == ordered_key_) {
      Add(line.first_line, "date " + date + " was already used on line " +
                               std::to_string(ordered_line_) +
                               ": it makes a second record for that date");
    }
    ordered_key_ = key;
    ordered_date_ = date;
    ordered_line_ = line.first_line;
  }

  void TakeGameLine(const ReadLine& line) {
    ++game_count_;
    if (game_count_ == kSlotsPerRecord + 1) first_left_out_line_ = line.first_line;
    if (IsBlankLine(line.text)) {
      if (game_count_ > kSlotsPerRecord) return;
      std::string slot = "game slot " + std::to_string(game_count_) + " of date " +
                         Quoted(TrimTrailingSpaces(current_date_));
      if (previous_comma_line_ == line.first_line) {
        Add(line.first_line,
            "nothing follows the comma: the empty rest is read as a blank line and takes " + slot);
      } else {
        Add(line.first_line, "a blank line takes " + slot + " and leaves it blank");
      }
      return;
    }
    std::vector<std::string> notes = ColumnNotes(line.text);
    if (!notes.empty()) Add(line.first_line, Join(notes) + ": stored as " + StoredAs(line.text));
    if (line.text.size() > kLastReadColumn) {
      std::string_view beyond = TrimTrailingSpaces(std::string_view(line.text).substr(kLastReadColumn));
      if (beyond.find_first_not_of(' ') != std::string_view::npos) {
        Add(line.first_line, "text beyond column 30 is not read: " + Quoted(beyond));
      }
    }
  }

  // A date holds 15 games; the build counts the rest and leaves them out.
  void FinishDate() {
    if (game_count_ <= kSlotsPerRecord) return;
    int left_out = game_count_ - kSlotsPerRecord;
    std::string message = "date " + Quoted(TrimTrailingSpaces(current_date_)) + " has " +
                          std::to_string(game_count_) + " games: ";
    message += left_out == 1
                   ? "this one is left out"
                   : "this one and the " + std::to_string(left_out - 1) + " after it are left out";
    Add(first_left_out_line_, message + " (a date holds 15)");
  }

  std::vector<CheckFinding> findings_;
  bool have_date_ = false;
  std::string current_date_;     // the date of the record being filled
  int game_count_ = 0;           // its games, those past the 15th included
  int first_left_out_line_ = 0;  // the line of its 16th game
  int previous_comma_line_ = 0;  // the line whose comma ended the line before
  int ordered_key_ = -1;         // the last real date, to find dates out of order
  std::string ordered_date_;
  int ordered_line_ = 0;
};

}  // namespace

std::vector<CheckFinding> CheckScheduleText(std::streambuf* bytes) {
  CheckReader reader(bytes);
  Checker checker;
  ReadLine line;
  while (reader.Next(&line)) checker.Take(line);
  return checker.Finish(reader);
}

bool CheckScheduleFile(const std::string& path, std::vector<CheckFinding>* findings,
                       std::string* failure) {
  std::ifstream in;
  if (std::string reason = OpenToRead(path, &in); !reason.empty()) {
    *failure = "Cannot open input file \"" + path + "\": " + reason;
    return false;
  }
  *findings = CheckScheduleText(in.rdbuf());
  return true;
}

}  // namespace schedule
