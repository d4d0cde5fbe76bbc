// Opening sequential input and closing every file, and what the other
// parts of file access share (file_access_internal.h): the checks of every
// open, the table entry, the write-behind and how an entry is closed.
#include "files/file_access.h"

#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "files/file_access_internal.h"
#include "files/open_file_table.h"
#include "files/pending_files.h"
#include "files/platform_faults.h"
#include "files/platform_file.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

// A name that would not reach the file the user named is refused: an empty
// one, wildcards, a NUL byte (the name would end early), or one longer than
// the platform takes (cutting it would open some other file).
int CheckName(const std::string& name) {
  if (name.empty()) return frame::kBadFileName;
  if (name.find_first_of(std::string("*?\0", 3)) != std::string::npos) {
    return frame::kBadFileName;
  }
  return name.size() > PlatformMaxNameLength() ? frame::kNameTooLong : 0;
}

// A file this program already holds under another number is refused like a
// file held by another program.
bool AlreadyHeld(PlatformHandle handle) {
  bool held = false;
  ForEachEntry([&](const FileEntry& entry) {
    for (PlatformHandle mine : {entry.handle, entry.replacement.lock_handle}) {
      if (mine != kNoHandle && PlatformSameFile(mine, handle)) held = true;
    }
  });
  return held;
}

// The bytes written between two starts of the writeback: large enough to
// cost few calls, small enough that the disk works while the program does.
constexpr int64_t kWritebackStep = 4 * 1024 * 1024;

// Writes `size` bytes at `offset`; a short write is a full disk. Every
// kWritebackStep bytes written front to back are handed on to the disk.
int WriteThrough(FileEntry& entry, int64_t offset, const uint8_t* bytes, uint32_t size) {
  if (entry.memory_output != nullptr) return WriteToMemory(entry, offset, bytes, size);
  uint32_t written = 0;
  if (int code = PlatformWriteAt(entry.handle, offset, bytes, size, &written)) return code;
  if (written < size) return frame::kDiskFull;
  const int64_t end = offset + size;
  if (offset < entry.writeback_end) entry.writeback_end = offset;  // written out of order
  if (end - entry.writeback_end >= kWritebackStep) {
    PlatformStartWriteback(entry.handle, static_cast<uint64_t>(entry.writeback_end),
                           static_cast<uint64_t>(end - entry.writeback_end));
    entry.writeback_end = end;
  }
  return 0;
}

}  // namespace

int Fail(int code) {
  frame::RecordError(code);
  return code;
}

FileEntry* EntryOfKind(int16_t number, std::initializer_list<FileKind> kinds, int* code) {
  FileEntry* entry = FindEntry(number);
  if (entry == nullptr) {
    *code = frame::kBadFileNumber;
    return nullptr;
  }
  for (FileKind kind : kinds) {
    if (entry->kind == kind) {
      *code = 0;
      return entry;
    }
  }
  *code = frame::kBadFileMode;
  return nullptr;
}

int RecordOffset(int64_t index, uint32_t record_length, int64_t* offset) {
  if (index < 0 || index > std::numeric_limits<int64_t>::max() / record_length) {
    return frame::kBadRecordNumber;
  }
  *offset = index * static_cast<int64_t>(record_length);
  return 0;
}

int CheckOpen(int16_t number, const std::string& name, int64_t length, int64_t max_length) {
  if (int code = CheckName(name)) return code;
  if (number < 0) return frame::kBadFileNumber;
  if (length < 1 || length > max_length) return frame::kBadRecordLength;
  if (FindEntry(number) != nullptr) return frame::kFileAlreadyOpen;
  return 0;
}

std::unique_ptr<FileEntry> NewEntry(int16_t number, FileKind kind, uint32_t write_behind) {
  auto entry = std::unique_ptr<FileEntry>(new (std::nothrow) FileEntry);
  if (!entry) return nullptr;
  if (write_behind > 0) {
    entry->pending.reset(new (std::nothrow) uint8_t[write_behind]);
    if (!entry->pending) return nullptr;
    entry->pending_capacity = write_behind;
  }
  entry->number = number;
  entry->kind = kind;
  return entry;
}

int AddEntry(std::unique_ptr<FileEntry> entry, PlatformHandle held) {
  if (held != kNoHandle && AlreadyHeld(held)) {
    CloseEntry(*entry);
    return Fail(frame::kAccessDenied);
  }
  InsertEntry(std::move(entry));
  return 0;
}

int FlushPending(FileEntry& entry) {
  if (entry.pending_count == 0) return 0;
  uint32_t count = entry.pending_count;
  entry.pending_count = 0;
  return WriteThrough(entry, entry.pending_offset, entry.pending.get(), count);
}

int WriteOrGather(FileEntry& entry, int64_t offset, const uint8_t* bytes, uint32_t size) {
  if (entry.pending_capacity == 0) return WriteThrough(entry, offset, bytes, size);
  bool follows = entry.pending_count > 0 && offset == entry.pending_offset + entry.pending_count;
  if (!follows || entry.pending_count + size > entry.pending_capacity) {
    if (int code = FlushPending(entry)) return code;
    if (size > entry.pending_capacity) return WriteThrough(entry, offset, bytes, size);
    entry.pending_offset = offset;
  }
  std::memcpy(entry.pending.get() + entry.pending_count, bytes, size);
  entry.pending_count += size;
  return 0;
}

int CloseEntry(FileEntry& entry) {
  Replacement& replacement = entry.replacement;
  bool replacing = replacement.lock_handle != kNoHandle;
  if (replacing && (!replacement.in_place || replacement.created_target || replacement.spooled)) {
    // Never committed: the old file stays as it was, or the name free.
    PlatformDiscard(&replacement);
    ForgetPendingFile(entry.pending_slot);
    entry.pending_slot = -1;
    entry.handle = kNoHandle;
    return 0;
  }
  if (entry.handle == kNoHandle) return 0;
  int code = FlushPending(entry);
  int close_code = CloseFileHandle(entry.handle);
  entry.handle = replacement.write_handle = replacement.lock_handle = kNoHandle;
  return code != 0 ? code : close_code;
}

int CloseFileHandle(PlatformHandle handle) {
  InjectedFault fault;
  if (FaultDue(PlatformCall::kClose, &fault)) {
    PlatformClose(handle);  // the handle is gone all the same
    return fault.code;
  }
  return PlatformClose(handle);
}

int OpenForInput(int16_t number, const std::string& name, int64_t buffer_size) {
  if (int code = CheckOpen(number, name, buffer_size, kMaxBufferSize)) return Fail(code);

  std::unique_ptr<FileEntry> entry = NewInputEntry(number, buffer_size);
  if (!entry) return Fail(frame::kOutOfMemory);
  if (int code = PlatformOpen(name, Access::kRead, Disposition::kOpenExisting, &entry->handle)) {
    return Fail(code);
  }
  return FinishInputOpen(std::move(entry), 0);
}

int OpenStandardInput(int16_t number, int64_t buffer_size) {
  if (int code = CheckOpen(number, "-", buffer_size, kMaxBufferSize)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewInputEntry(number, buffer_size);
  if (!entry) return Fail(frame::kOutOfMemory);
  uint64_t offset = 0;
  if (int code = PlatformOpenStandardInput(&entry->handle, &offset)) return Fail(code);
  return FinishInputOpen(std::move(entry), offset);
}

std::unique_ptr<FileEntry> NewInputEntry(int16_t number, int64_t buffer_size) {
  std::unique_ptr<FileEntry> entry = NewEntry(number, FileKind::kSequentialInput, 0);
  if (!entry) return nullptr;
  entry->buffer.reset(new (std::nothrow) uint8_t[buffer_size]);
  if (!entry->buffer) return nullptr;
  entry->record_length = static_cast<uint32_t>(buffer_size);
  return entry;
}

int FinishInputOpen(std::unique_ptr<FileEntry> entry, uint64_t offset) {
  // A disk file's first buffer is read at open; a device is read only when
  // the program asks for its first byte.
  entry->device = PlatformIsDisk(entry->handle) ? DeviceKind::kDisk : DeviceKind::kOther;
  if (entry->device == DeviceKind::kDisk) {
    entry->position = static_cast<int64_t>(offset);
    int code = ReadInputAt(*entry, offset, entry->buffer.get(), entry->record_length,
                           &entry->buffer_count);
    if (code != 0) {
      CloseFileHandle(entry->handle);
      return Fail(code);
    }
  }
  PlatformHandle held = entry->handle;
  return AddEntry(std::move(entry), held);
}

int CloseAllFiles() {
  int first_failure = 0;
  while (std::unique_ptr<FileEntry> entry = UnlinkHead()) {
    int code = CloseEntry(*entry);
    if (code != 0 && first_failure == 0) first_failure = code;
  }
  if (first_failure != 0) frame::RecordError(first_failure);
  return first_failure;
}

bool NamesStandardOutput(const std::string& name) { return PlatformNamesStandardOutput(name); }

bool NamesSameFile(const std::string& a, const std::string& b) {
  return PlatformNamesSameFile(a, b);
}

}  // namespace files
