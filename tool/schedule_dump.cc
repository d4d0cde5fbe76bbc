#include "schedule/build_report.h"
#include "tool/schedule_dump.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "schedule/shown_text.h"
#include "tool/csv_field.h"
#include "tool/record_places.h"
#include "tool/schedule_dump_text.h"
#include "schedule/schedule_record.h"
#include "schedule/schedule_text.h"
#include "files/file_access.h"
#include "files/read_field.h"
#include "frame/run_time_errors.h"

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

// The file number a schedule file is read under.
constexpr int16_t kDumpFile = 1;
// More than any season's schedule file: 64 MiB is some 156,000 dates.
constexpr size_t kMaxScheduleFileBytes = 64 * 1024 * 1024;
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

// The records of a schedule file's bytes, read front to back.
class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

  // Takes the next whole record; false at the end or at a partial record.
  bool Next(ScheduleRecord* record) {
    size_t offset = static_cast<size_t>(number_) * kRecordLength;
    if (bytes_.size() - offset < static_cast<size_t>(kRecordLength)) return false;
    std::memcpy(record, bytes_.data() + offset, kRecordLength);
    ++number_;
    return true;
  }

  // Goes back to record 1 for another pass.
  void Rewind() { number_ = 0; }

  int64_t number() const { return number_; }

 private:
  std::string_view bytes_;
  int64_t number_ = 0;  // the record read last
};

// The next piece of the schedule file open as kDumpFile: a record of a file
// opened for records, or what standard input holds next; *got is 0 at the end.
int ReadPiece(bool standard_input, int64_t record, uint8_t* bytes, uint32_t* got) {
  if (standard_input) return files::ReadBytes(kDumpFile, bytes, kRecordLength, got);
  return files::ReadRecord(kDumpFile, record, bytes, got);
}

// The whole schedule file `path` ("-": standard input), read through file
// access with the build's name rules, locks and messages; false with the
// line to show when it cannot be read.
bool ReadScheduleFile(const std::string& path, std::string* bytes, std::string* failure) {
  const bool standard_input = path == "-";
  int code = standard_input ? files::OpenStandardInput(kDumpFile, kRecordLength)
                            : files::OpenForReading(kDumpFile, path, kRecordLength);
  if (code != 0) {
    *failure = CannotText(FailedStep::kOpen, "schedule file", path, code);
    return false;
  }
  uint8_t piece[kRecordLength];
  for (int64_t record = 1;; ++record) {
    uint32_t got = 0;
    if ((code = ReadPiece(standard_input, record, piece, &got)) != 0 || got == 0) break;
    if (bytes->size() + got > kMaxScheduleFileBytes) {
      files::CloseAllFiles();
      *failure = CannotText(FailedStep::kRead, "schedule file", path,
                            "it is larger than " +
                                std::to_string(kMaxScheduleFileBytes / (1024 * 1024)) +
                                " MiB, more than any season holds: not a schedule file");
      return false;
    }
    bytes->append(reinterpret_cast<const char*>(piece), got);
  }
  files::CloseAllFiles();
  if (code != 0) {
    *failure = CannotText(FailedStep::kRead, "schedule file", path, code);
    return false;
  }
  return true;
}

// Finds what makes the file no schedule file, or (for schedule text) no
// file a schedule text builds again.
void Survey(RecordReader* reader, uint64_t size, DumpFormat format, ProblemList* problems) {
  int64_t whole = static_cast<int64_t>(size / kRecordLength);
  if (size == 0) problems->Add(RecordAt(1), "the file is empty: the header record is missing");
  if (size % kRecordLength != 0) {
    problems->Add(RecordAt(whole + 1),
                  "the file's " + std::to_string(size) + " bytes are no whole number of " +
                      std::to_string(kRecordLength) + "-byte records: this record has only " +
                      std::to_string(size % kRecordLength) + " bytes");
  }
  ScheduleRecord record;
  char previous_date[kDateWidth];
  bool have_previous = false;
  while (reader->Next(&record)) {
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
    if (format == DumpFormat::kText) {
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
    char number[8];
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

bool DumpSchedule(const std::string& path, DumpFormat format, std::ostream& out,
                  std::vector<std::string>* problems) {
  std::string bytes;
  std::string failure;
  if (!ReadScheduleFile(path, &bytes, &failure)) {
    problems->push_back(failure);
    return false;
  }
  const int64_t size = static_cast<int64_t>(bytes.size());

  // The whole file is surveyed before anything is shown, so that a damaged
  // file never passes for a shorter, whole one.
  RecordReader reader(bytes);
  ProblemList list(path, problems);
  Survey(&reader, static_cast<uint64_t>(size), format, &list);
  list.Finish();
  if (list.Any()) return false;

  reader.Rewind();
  ScheduleRecord record;
  if (format == DumpFormat::kListing) {
    int64_t records = size / kRecordLength;
    out << path << ": " << records << (records == 1 ? " record" : " records") << ", the header and "
        << records - 1 << (records == 2 ? " date\n" : " dates\n");
  }
  while (reader.Next(&record)) {
    int64_t n = reader.number();
    switch (format) {
      case DumpFormat::kListing: ListRecord(record, n, out); break;
      case DumpFormat::kText:
        if (n > 1) WriteBytes(out, WriteBackText(record));
        break;
      case DumpFormat::kCsv: CsvRecord(record, n, out); break;
    }
  }
  return true;
}

}  // namespace tool
