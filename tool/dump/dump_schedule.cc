#include "tool/dump/dump_schedule.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/read_field.h"
#include "files/record_read.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "schedule/messages.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "schedule/shown_text.h"
#include "tool/csv_field.h"
#include "tool/record_places.h"
#include "tool/dump/dump_text.h"
#include "tool/tool_input.h"

namespace tool {

using schedule::CannotText;
using schedule::FailedStep;
using schedule::GameSlot;
using schedule::IsBlankLine;
using schedule::IsBlankSlot;
using schedule::ScheduleRecord;
using schedule::TrimTrailingSpaces;
using schedule::kDateWidth;
using schedule::kNameWidth;
using schedule::kOptionsWidth;
using schedule::kRecordLength;
using schedule::kSlotsPerRecord;

namespace {

// A file of zero bytes would otherwise give one line for every record.
constexpr int kMaxProblems = 20;
constexpr std::string_view kHeaderKind = "D ";
constexpr std::string_view kDateKind = "  ";

int GameCount(const ScheduleRecord& record) {
  int count = 0;
  for (const GameSlot& slot : record.games) count += IsBlankSlot(slot) ? 0 : 1;
  return count;
}

// True when the header holds nothing but its kind.
bool HeaderIsBlank(const ScheduleRecord& header) {
  return IsBlankLine(std::string_view(header.date, kRecordLength - 2));
}

// The problems found, each line naming the file; past kMaxProblems only
// counted.
class ProblemList {
 public:
  ProblemList(const std::string& path, std::vector<std::string>* lines)
      : path_(path), lines_(lines) {}

  void Add(const std::string& where, const std::string& what) {
    ++count_;
    if (count_ <= kMaxProblems) lines_->push_back(path_ + ": " + where + ": " + what);
  }

  // Says how many were left unshown.
  void Finish() {
    if (count_ > kMaxProblems) {
      lines_->push_back(path_ + ": " +
                        schedule::NotShownText(count_ - kMaxProblems, "problem", "problems"));
    }
  }

  bool Any() const { return count_ > 0; }

 private:
  const std::string& path_;
  std::vector<std::string>* lines_;
  int64_t count_ = 0;
};

// The records of the schedule file open as `number`, read front to back,
// a block of records at a time, as often as asked: what is held is one block.
class RecordReader {
 public:
  explicit RecordReader(int16_t number)
      : number_(number), block_(new uint8_t[kBlockRecords * kRecordLength]) {}

  // Takes the next whole record where it stands in the block, valid until
  // the next call; null at the end, at a partial record, or when the
  // reading failed (code()). Looked at where it stands, a record is read
  // straight from what the reading put there, not through a fresh copy.
  const ScheduleRecord* Next() {
    if (at_ == held_) {
      const uint64_t offset = static_cast<uint64_t>(record_) * kRecordLength;
      uint32_t got = 0;
      code_ = files::ReadBytesAt(number_, offset, block_.get(), kBlockRecords * kRecordLength, &got);
      at_ = 0;
      held_ = code_ == 0 ? got / kRecordLength : 0;
      if (held_ == 0) return nullptr;
    }
    // A record is bytes alone (no alignment, no padding): the block holds
    // it as it holds any bytes.
    const auto* record = reinterpret_cast<const ScheduleRecord*>(
        block_.get() + static_cast<size_t>(at_) * kRecordLength);
    ++at_;
    ++record_;
    return record;
  }

  // Goes back to record 1 for another pass.
  void Rewind() {
    record_ = 0;
    at_ = held_ = 0;
  }

  int64_t number() const { return record_; }
  int code() const { return code_; }

 private:
  static constexpr uint32_t kBlockRecords = 610;  // some 256 KiB

  int16_t number_;
  int64_t record_ = 0;  // the record read last
  uint32_t at_ = 0;     // the next record of the block
  uint32_t held_ = 0;   // the whole records the block holds
  int code_ = 0;
  std::unique_ptr<uint8_t[]> block_;
};

// The temporary copy of a schedule file that can be read only once.
constexpr int16_t kDumpSpool = 3;

// Copies what the input open as `from` holds into a spool opened as
// kDumpSpool: standard input (taken as it comes) or a device opened by name
// (read by records where it stands). An input whose first record is no
// header is no schedule file, and the copy stops there: endless or foreign
// input (a pipe of lines, a device of zeros) is refused after its first
// 430 bytes, `*not_header` then holding that record's kind bytes. A failure
// of the temporary file (not of the input) sets `*spool_failed`.
int SpoolInput(int16_t from, bool standard_input, std::string* not_header, bool* spool_failed) {
  *spool_failed = true;
  if (int code = files::OpenSpool(kDumpSpool, kRecordLength)) return code;
  *spool_failed = false;
  uint8_t piece[16 * kRecordLength];
  std::string first;  // the input's first bytes, until a whole record is there
  for (int64_t record = 1;; ++record) {
    uint32_t got = 0;
    int code = standard_input ? files::ReadBytes(from, piece, sizeof piece, &got)
                              : files::ReadRecord(from, record, piece, &got);
    if (code != 0) return code;
    if (got == 0) return 0;
    if (first.size() < kRecordLength) {
      first.append(reinterpret_cast<const char*>(piece),
                   std::min<size_t>(got, kRecordLength - first.size()));
      if (first.size() == kRecordLength && std::string_view(first).substr(0, 2) != kHeaderKind) {
        *not_header = KindBytes(first.data());
        return 0;
      }
    }
    if ((code = files::WriteBytes(kDumpSpool, piece, got)) != 0) {
      *spool_failed = true;
      return code;
    }
  }
}

// Finds what makes the file no schedule file, or (for schedule text) no
// file a schedule text builds again.
// `*all_plain` tells whether every date record is plain (IsPlainRecord),
// so that the showing need not look again.
void Survey(RecordReader* reader, uint64_t size, DumpFormat format, ProblemList* problems,
            bool* all_plain) {
  *all_plain = true;
  int64_t whole = static_cast<int64_t>(size / kRecordLength);
  if (size == 0) problems->Add(RecordAt(1), "the file is empty: the header record is missing");
  if (size % kRecordLength != 0) {
    problems->Add(RecordAt(whole + 1),
                  "the file's " + std::to_string(size) + " bytes are no whole number of " +
                      std::to_string(kRecordLength) + "-byte records: this record has only " +
                      std::to_string(size % kRecordLength) + " bytes");
  }
  char previous_date[kDateWidth];
  bool have_previous = false;
  while (const ScheduleRecord* next = reader->Next()) {
    const ScheduleRecord& record = *next;
    int64_t n = reader->number();
    std::string_view kind(record.kind, 2);
    if (n == 1) {
      if (kind != kHeaderKind) {
        problems->Add(RecordAt(n), "the first record is not the header: its kind bytes are " +
                                       KindBytes(record.kind) + ", not \"D \"");
      } else if (format == DumpFormat::kText && !HeaderIsBlank(record)) {
        problems->Add(RecordAt(n),
                      "the header holds bytes other than spaces after \"D \"; no "
                      "schedule text builds that header");
      }
      continue;
    }
    if (kind != kDateKind) {
      problems->Add(RecordAt(n), "not a date record: its kind bytes are " + KindBytes(record.kind) +
                                     ", not two spaces");
      continue;
    }
    const bool plain = format == DumpFormat::kText && IsPlainRecord(record);
    *all_plain = *all_plain && plain;
    if (format == DumpFormat::kText &&
        !(plain ? CanWritePlainBack(record, have_previous ? previous_date : nullptr)
                : CanWriteBack(record, have_previous ? previous_date : nullptr))) {
      for (const WriteBackProblem& problem :
           WriteBackProblems(record, have_previous ? previous_date : nullptr)) {
        problems->Add(problem.slot == 0 ? RecordAt(n) : SlotAt(n, problem.slot),
                      "cannot be written back as schedule text: " + problem.reason);
      }
    }
    std::memcpy(previous_date, record.date, kDateWidth);
    have_previous = true;
  }
}

void WriteBytes(std::ostream& out, std::string_view bytes) {
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void ListRecord(const ScheduleRecord& record, int64_t n, std::ostream& out) {
  if (n == 1) {
    out << "record 1  header";
    if (!HeaderIsBlank(record)) out << " (holds bytes other than spaces after \"D \")";
    out << '\n';
    return;
  }
  int games = GameCount(record);
  out << "record " << n << "  date ";
  out << schedule::Escaped(std::string_view(record.date, kDateWidth));
  if (games == 0) {
    out << "  no games\n";
  } else {
    out << "  " << games << (games == 1 ? " game\n" : " games\n");
  }
  for (int slot = 1; slot <= kSlotsPerRecord; ++slot) {
    if (IsBlankSlot(record.games[slot - 1])) continue;
    char number[16];  // room for any int, though a slot is 1 to 15
    std::snprintf(number, sizeof number, "%4d  ", slot);
    out << number;
    // A name may hold any byte the text held; a terminal must not take it
    // for a command.
    out << schedule::Escaped(GameSlotText(record.games[slot - 1], "  "));
    out << '\n';
  }
}

void CsvRecord(const ScheduleRecord& record, int64_t n, std::ostream& out) {
  if (n == 1) {
    out << "record,date,slot,visitor,home,options\r\n";
    return;
  }
  std::string date = CsvField(std::string_view(record.date, kDateWidth));
  for (int slot = 1; slot <= kSlotsPerRecord; ++slot) {
    const GameSlot& game = record.games[slot - 1];
    if (IsBlankSlot(game)) continue;
    std::string row = std::to_string(n) + "," + date + "," + std::to_string(slot) + "," +
                      CsvField(std::string_view(game.visitor, kNameWidth)) + "," +
                      CsvField(std::string_view(game.home, kNameWidth)) + "," +
                      CsvField(std::string_view(game.options, kOptionsWidth)) + "\r\n";
    WriteBytes(out, row);
  }
}

}  // namespace

bool OpenScheduleForDump(const std::string& path, int16_t* number, std::string* failure) {
  *number = kToolInputFile;
  const bool standard_input = path == "-";
  int code = standard_input ? files::OpenStandardInput(kToolInputFile, 64 * 1024)
                            : files::OpenForReading(kToolInputFile, path, kRecordLength);
  if (code != 0) {
    *failure = CannotText(FailedStep::kOpen, "schedule file", path, code);
    return false;
  }
  // A file is surveyed whole before it is shown: what can be read only once
  // (standard input, a pipe or other device by name) is copied into a
  // temporary file first, so that memory never holds it.
  uint64_t size = 0;
  if (!standard_input) {
    if (files::FileSize(kToolInputFile, &size) == 0) return true;
    frame::ResetErrorWord();  // a device has no size: it is copied
  }
  std::string not_header;
  bool spool_failed = false;
  if ((code = SpoolInput(kToolInputFile, standard_input, &not_header, &spool_failed)) != 0) {
    // The temporary file's failure is told as its own, naming the input.
    *failure = spool_failed ? schedule::TemporaryFileText(FailedStep::kWrite,
                                                          "schedule file " + schedule::Quoted(path), code)
                            : CannotText(FailedStep::kRead, "schedule file", path, code);
    return false;
  }
  if (!not_header.empty()) {
    *failure = path + ": " + RecordAt(1) + ": the first record is not the header: its kind bytes are " +
               not_header + ", not \"D \"; no schedule file starts so, and the rest was not read";
    return false;
  }
  *number = kDumpSpool;
  return true;
}

bool DumpOpenSchedule(const std::string& path, int16_t number, DumpFormat format,
                      std::ostream& out, std::vector<std::string>* problems) {
  uint64_t size = 0;
  if (int code = files::FileSize(number, &size)) {
    problems->push_back(CannotText(FailedStep::kRead, "schedule file", path, code));
    return false;
  }

  // The whole file is surveyed before anything is shown, so that a damaged
  // file never passes for a shorter, whole one.
  RecordReader reader(number);
  ProblemList list(path, problems);
  bool all_plain = false;
  Survey(&reader, size, format, &list, &all_plain);
  if (reader.code() != 0) {
    problems->push_back(CannotText(FailedStep::kRead, "schedule file", path, reader.code()));
    return false;
  }
  list.Finish();
  if (list.Any()) return false;

  reader.Rewind();
  // A record's text, handed on to `out`, whose gatherer makes pieces of
  // many records.
  std::string text;
  const int64_t records = static_cast<int64_t>(size / kRecordLength);
  if (format == DumpFormat::kListing) {
    out << path << ": " << schedule::Counted(records, "record", "records") << ", the header and "
        << schedule::Counted(records - 1, "date", "dates") << "\n";
  }
  while (reader.number() < records) {
    const ScheduleRecord* next = reader.Next();
    if (next == nullptr) break;
    const ScheduleRecord& record = *next;
    int64_t n = reader.number();
    switch (format) {
      case DumpFormat::kListing: ListRecord(record, n, out); break;
      case DumpFormat::kText:
        if (n > 1) {
          if (n == 2) text.append(WriteBackStart(record));
          if (all_plain) {
            AppendPlainWriteBackText(record, &text);
          } else {
            AppendWriteBackText(record, &text);
          }
          WriteBytes(out, text);
          text.clear();
        }
        break;
      case DumpFormat::kCsv: CsvRecord(record, n, out); break;
    }
  }
  WriteBytes(out, text);
  if (reader.number() < records) {
    // Cut short between the two passes: what was shown is no whole dump.
    problems->push_back(CannotText(FailedStep::kRead, "schedule file", path,
                                   reader.code() != 0 ? reader.code() : frame::kPathFileAccess));
    return false;
  }
  return true;
}

bool DumpSchedule(const std::string& path, DumpFormat format, std::ostream& out,
                  std::vector<std::string>* problems) {
  int16_t number = 0;
  std::string failure;
  bool shown = OpenScheduleForDump(path, &number, &failure);
  if (shown) {
    shown = DumpOpenSchedule(path, number, format, out, problems);
  } else {
    problems->push_back(failure);
  }
  files::CloseAllFiles();
  return shown;
}

}  // namespace tool
