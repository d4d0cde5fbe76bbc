// Files written all or nothing: records files and text output go to a new
// file beside the one named, put in its place by the commit.
#include "files/file_replace.h"

#include <cmath>
#include <memory>
#include <new>
#include <utility>

#include "files/file_access.h"
#include "files/file_access_internal.h"
#include "files/open_file_table.h"
#include "files/pending_files.h"
#include "files/platform_faults.h"
#include "files/platform_file.h"
#include "frame/fatal_signals.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

// Text output gathers this much before it goes to the file: few calls, and
// never the whole output in memory.
constexpr uint32_t kOutputGather = 64 * 1024;

// Writes the file held itself rather than a new file beside it. A file
// that may be written gets its new bytes in a temporary file first, copied
// over it by the commit once the disk has room for them all, so that a
// write that fails on the way (a full disk, a file-size limit, a signal)
// leaves every old byte where it was. A read-only file is written itself:
// its first write fails, and nothing of it changes.
int WriteInPlace(Replacement* replacement) {
  replacement->in_place = true;
  if (replacement->read_only) {
    replacement->write_handle = replacement->lock_handle;
    return 0;
  }
  replacement->spooled = true;
  return PlatformOpenTemporary(&replacement->write_handle);
}

// Holds the file `name` reaches and makes the new file that will replace
// it, or decides to write the file itself: a read-only file keeps its bytes
// because its writes fail, and a file with other hard links is written in
// place so that every name sees the new schedule. Where no new file can be
// made in the folder (a folder the user may not write, a read-only medium,
// a name at the length limit) but the file itself can be written, it is:
// the user asked for that file and may write it.
int OpenReplacement(const std::string& name, Replacement* replacement) {
  *replacement = Replacement{};
  if (int code = PlatformHoldTarget(name, replacement)) return code;
  if (replacement->is_device) return 0;
  int code = 0;
  if (replacement->read_only || replacement->linked) {
    code = WriteInPlace(replacement);
  } else {
    code = PlatformMakeNewFile(replacement);
    if (code != 0 && (replacement->created_target || code == frame::kAccessDenied ||
                      code == frame::kNameTooLong)) {
      code = WriteInPlace(replacement);
    }
  }
  if (code != 0) PlatformDiscard(replacement);
  return code;
}

// Opens the replacement of `name` for `entry` and puts the entry in the table.
int OpenReplacing(std::unique_ptr<FileEntry> entry, const std::string& name) {
  Replacement& replacement = entry->replacement;
  if (int code = OpenReplacement(name, &replacement)) return Fail(code);
  if (replacement.is_device) {
    // Nothing is opened: a device takes no records, and opening a FIFO for
    // writing could wait for a reader.
    entry->device = DeviceKind::kOther;
    return AddEntry(std::move(entry), kNoHandle);
  }
  entry->handle = replacement.write_handle;
  bool removable = !replacement.in_place || replacement.created_target;
  // The temporary file of a spooled write goes with the process; the file
  // held is not touched before the commit.
  if (removable) {
    entry->pending_slot = NotePendingFile(
        replacement.new_path, replacement.created_target ? replacement.target_path : "");
  }
  PlatformHandle held = replacement.lock_handle;
  return AddEntry(std::move(entry), held);
}

// The entry of a file being replaced, or a failure code in `*code`: a
// device takes no records nor text.
FileEntry* ReplacingEntry(int16_t number, FileKind kind, int* code) {
  FileEntry* entry = EntryOfKind(number, {kind}, code);
  if (entry != nullptr && entry->device != DeviceKind::kDisk) {
    *code = frame::kBadFileMode;
    return nullptr;
  }
  return entry;
}

// Copies the spooled bytes (the first `size` of the temporary file) over
// the file held: room for them first, and while the disk has none the old
// file keeps every byte and its size; then the bytes, the new size, the
// flush to the disk.
int CopySpooledBytes(const Replacement& replacement, uint64_t size) {
  const PlatformHandle held = replacement.lock_handle;
  uint64_t old_size = 0;
  if (int code = PlatformFileSize(held, &old_size)) return code;
  if (int code = PlatformReserve(held, size)) {
    PlatformSetSize(held, old_size);  // the room that was made goes back
    return code;
  }
  constexpr uint32_t kCopyChunk = 1 << 20;
  std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[kCopyChunk]);
  if (!chunk) return frame::kOutOfMemory;
  for (uint64_t offset = 0; offset < size;) {
    const uint64_t left = size - offset;
    const uint32_t want = left < kCopyChunk ? static_cast<uint32_t>(left) : kCopyChunk;
    uint32_t got = 0;
    if (int code = PlatformReadAt(replacement.write_handle, offset, chunk.get(), want, &got)) {
      return code;
    }
    if (got == 0) return frame::kInternalError;  // the spool holds what was written to it
    for (uint32_t done = 0; done < got;) {
      uint32_t written = 0;
      if (int code = PlatformWriteAt(held, static_cast<int64_t>(offset + done), chunk.get() + done,
                                     got - done, &written)) {
        return code;
      }
      if (written == 0) return frame::kDiskFull;
      done += written;
    }
    offset += got;
  }
  if (int code = PlatformSetSize(held, size)) return code;
  return PlatformSync(held);
}

// The copy over the file held, not stopped half done by Ctrl+C, a hang-up
// or kill (but for SIGKILL): such a signal ends the program once the file
// holds all its new bytes, where it would have left some old, some new.
int CopyOverHeld(const Replacement& replacement, uint64_t size) {
  frame::HoldFatalSignals();
  const int code = CopySpooledBytes(replacement, size);
  frame::ReleaseFatalSignals();
  return code;
}

// Copies the first `size` bytes of the temporary file `spool` to standard
// output.
int CopyToStandardOutput(PlatformHandle spool, uint64_t size) {
  constexpr uint32_t kCopyChunk = 1 << 20;
  std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[kCopyChunk]);
  if (!chunk) return frame::kOutOfMemory;
  for (uint64_t offset = 0; offset < size;) {
    const uint64_t left = size - offset;
    uint32_t got = 0;
    if (int code = PlatformReadAt(spool, offset, chunk.get(),
                                  left < kCopyChunk ? static_cast<uint32_t>(left) : kCopyChunk, &got)) {
      return code;
    }
    if (got == 0) return frame::kInternalError;  // the spool holds what was written to it
    if (int code = PlatformWriteStandardOutput(chunk.get(), got)) return code;
    offset += got;
  }
  return 0;
}

// Puts the new file in place of the old one (PlatformReplace), or copies
// the spooled bytes over the file held, or closes the file written in place. A replace fault a test armed fails it before
// anything is put in place: the new file is discarded, the file written in
// place closed.
int PutInPlace(Replacement* replacement, uint64_t size) {
  InjectedFault fault;
  const int injected = FaultDue(PlatformCall::kReplace, &fault) ? fault.code : 0;
  if (replacement->spooled) {
    const int code = injected != 0                      ? injected
                     : replacement->to_standard_output ? CopyToStandardOutput(replacement->write_handle, size)
                                                       : CopyOverHeld(*replacement, size);
    // A free name taken for the output is the output now; after a failure
    // it is given back.
    if (code == 0) replacement->created_target = false;
    PlatformDiscard(replacement);  // the temporary file, and the hold of the file
    return code;
  }
  if (replacement->in_place) {
    const int close_code = CloseFileHandle(replacement->write_handle);
    replacement->write_handle = replacement->lock_handle = kNoHandle;
    return injected != 0 ? injected : close_code;
  }
  if (injected != 0) {
    PlatformDiscard(replacement);
    return injected;
  }
  return PlatformReplace(replacement);
}

// Writes what is gathered, cuts the new file to `size` bytes, syncs it and
// puts it in place.
int Commit(FileEntry& entry, uint64_t size) {
  if (int code = FlushPending(entry)) return code;
  if (entry.memory_output != nullptr) {
    entry.memory_output->resize(size, '\0');  // nothing to flush or put in place
    return 0;
  }
  if (int code = PlatformSetSize(entry.handle, size)) return code;
  // A temporary file needs no flush: its bytes are read back at once.
  if (!entry.replacement.spooled) {
    if (int code = PlatformSync(entry.handle)) return code;
  }
  // From here a signal must not remove the file that held a free name: the
  // rename is about to make it the schedule file.
  ForgetPlaceholder(entry.pending_slot);
  int code = PutInPlace(&entry.replacement, size);
  entry.handle = kNoHandle;
  ForgetPendingFile(entry.pending_slot);
  entry.pending_slot = -1;
  return code;
}

// Commits the entry under `number`, then closes it whatever came of it.
int CommitAndClose(int16_t number, FileKind kind, const int64_t* record_count) {
  int code = 0;
  FileEntry* entry = ReplacingEntry(number, kind, &code);
  if (entry == nullptr) return Fail(code);
  int64_t size = entry->position;
  if (record_count != nullptr) {
    if (int size_code = RecordOffset(*record_count, entry->record_length, &size)) {
      return Fail(size_code);
    }
  }
  code = Commit(*entry, static_cast<uint64_t>(size));
  std::unique_ptr<FileEntry> closed = UnlinkEntry(number);
  CloseEntry(*closed);  // after a failure: removes the new file
  return code != 0 ? Fail(code) : 0;
}

}  // namespace

int OpenForRecords(int16_t number, const std::string& name, int64_t record_length,
                   uint32_t write_behind) {
  if (int code = CheckOpen(number, name, record_length, kMaxRecordLength)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewEntry(number, FileKind::kRecords, write_behind);
  if (!entry) return Fail(frame::kOutOfMemory);
  entry->record_length = static_cast<uint32_t>(record_length);
  return OpenReplacing(std::move(entry), name);
}

int OpenForOutput(int16_t number, const std::string& name) {
  if (int code = CheckOpen(number, name, 1, 1)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewEntry(number, FileKind::kTextOutput, kOutputGather);
  if (!entry) return Fail(frame::kOutOfMemory);
  entry->record_length = 1;
  return OpenReplacing(std::move(entry), name);
}

int OpenRecordsForStandardOutput(int16_t number, int64_t record_length, uint32_t write_behind) {
  if (int code = CheckOpen(number, "-", record_length, kMaxRecordLength)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewEntry(number, FileKind::kRecords, write_behind);
  if (!entry) return Fail(frame::kOutOfMemory);
  entry->record_length = static_cast<uint32_t>(record_length);
  Replacement& replacement = entry->replacement;
  replacement.in_place = replacement.spooled = replacement.to_standard_output = true;
  if (int code = PlatformOpenTemporary(&replacement.write_handle)) return Fail(code);
  entry->handle = replacement.write_handle;
  return AddEntry(std::move(entry), kNoHandle);
}

int WriteBytes(int16_t number, const uint8_t* bytes, uint32_t count) {
  int code = 0;
  FileEntry* entry = FindEntry(number);
  if (entry == nullptr || entry->kind != FileKind::kSpool) {
    entry = ReplacingEntry(number, FileKind::kTextOutput, &code);
  }
  if (entry == nullptr) return Fail(code);
  if (count == 0) return 0;
  if (int write_code = WriteOrGather(*entry, entry->position, bytes, count)) {
    return Fail(write_code);
  }
  entry->position += count;
  return 0;
}

int WriteRecord(int16_t number, double record_number, const uint8_t* bytes, uint32_t count) {
  // Record numbers round to the nearest whole number, halves to even, under
  // the rounding mode the process set at start-up. Values no file could
  // reach are refused before any arithmetic can overflow.
  constexpr double kLargest = 4.0e18;
  if (!std::isfinite(record_number) || std::fabs(record_number) > kLargest) {
    return Fail(frame::kBadRecordNumber);
  }
  int64_t n = static_cast<int64_t>(std::nearbyint(record_number));

  int code = 0;
  FileEntry* entry = ReplacingEntry(number, FileKind::kRecords, &code);
  if (entry == nullptr) return Fail(code);
  entry->position = n;
  if (n == 0) return Fail(frame::kBadRecordNumber);
  if (n < 0) return Fail(frame::kPathFileAccess);  // no record lies before the file's start
  int64_t offset = 0;
  if (int offset_code = RecordOffset(n - 1, entry->record_length, &offset)) {
    return Fail(offset_code);
  }
  uint32_t size = count < entry->record_length ? count : entry->record_length;
  if (int code = WriteOrGather(*entry, offset, bytes, size)) return Fail(code);
  return 0;
}

int CommitRecords(int16_t number, int64_t record_count) {
  return CommitAndClose(number, FileKind::kRecords, &record_count);
}

int CommitOutput(int16_t number) { return CommitAndClose(number, FileKind::kTextOutput, nullptr); }

void IgnoreFileSizeSignal() { PlatformIgnoreFileSizeSignal(); }

}  // namespace files
