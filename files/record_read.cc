// Reading records files and spools.
#include "files/record_read.h"

#include <memory>
#include <utility>

#include "files/file_access.h"
#include "files/file_access_internal.h"
#include "files/open_file_table.h"
#include "files/platform_file.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

// Reads until `size` bytes are in or the data ends: a disk file from
// `offset`, a device where it stands.
int ReadFull(const FileEntry& entry, uint64_t offset, uint8_t* bytes, uint32_t size,
             uint32_t* got) {
  *got = 0;
  if (entry.device == DeviceKind::kDisk) {
    // Past the end is no record at all, not a file cut short while read.
    uint64_t file_size = 0;
    if (int code = PlatformFileSize(entry.handle, &file_size)) return code;
    if (offset >= file_size) return 0;
  }
  while (*got < size) {
    uint32_t step = 0;
    int code = entry.device == DeviceKind::kDisk
                   ? PlatformReadAt(entry.handle, offset + *got, bytes + *got, size - *got, &step)
                   : PlatformReadNext(entry.handle, bytes + *got, size - *got, &step);
    if (code != 0) return code;
    if (step == 0) break;
    *got += step;
  }
  return 0;
}

// The entry of a file read by records; a spool's gathered bytes are
// written first, so that the reading finds them.
FileEntry* ReadingEntry(int16_t number, int* code) {
  FileEntry* entry = EntryOfKind(number, {FileKind::kRecordInput, FileKind::kSpool}, code);
  if (entry != nullptr && entry->kind == FileKind::kSpool) *code = FlushPending(*entry);
  return *code == 0 ? entry : nullptr;
}

// A spool gathers this much before it goes to the file.
constexpr uint32_t kSpoolGather = 64 * 1024;

}  // namespace

int OpenForReading(int16_t number, const std::string& name, int64_t record_length) {
  if (int code = CheckOpen(number, name, record_length, kMaxRecordLength)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewEntry(number, FileKind::kRecordInput, 0);
  if (!entry) return Fail(frame::kOutOfMemory);
  entry->record_length = static_cast<uint32_t>(record_length);
  if (int code = PlatformOpen(name, Access::kRead, Disposition::kOpenExisting, &entry->handle)) {
    return Fail(code);
  }
  entry->device = PlatformIsDisk(entry->handle) ? DeviceKind::kDisk : DeviceKind::kOther;
  PlatformHandle held = entry->handle;
  return AddEntry(std::move(entry), held);
}

int OpenSpool(int16_t number, int64_t record_length) {
  if (int code = CheckOpen(number, "spool", record_length, kMaxRecordLength)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewEntry(number, FileKind::kSpool, kSpoolGather);
  if (!entry) return Fail(frame::kOutOfMemory);
  entry->record_length = static_cast<uint32_t>(record_length);
  if (int code = PlatformOpenTemporary(&entry->handle)) return Fail(code);
  entry->device = DeviceKind::kDisk;
  return AddEntry(std::move(entry), kNoHandle);
}

int FileSize(int16_t number, uint64_t* bytes) {
  *bytes = 0;
  int code = 0;
  FileEntry* entry = ReadingEntry(number, &code);
  if (entry == nullptr) return Fail(code);
  if (entry->device != DeviceKind::kDisk) return Fail(frame::kBadFileMode);
  if (int size_code = PlatformFileSize(entry->handle, bytes)) return Fail(size_code);
  return 0;
}

int ReadRecord(int16_t number, int64_t record_number, uint8_t* bytes, uint32_t* got) {
  *got = 0;
  int code = 0;
  FileEntry* entry = ReadingEntry(number, &code);
  if (entry == nullptr) return Fail(code);
  int64_t offset = 0;
  if (record_number < 1) return Fail(frame::kBadRecordNumber);
  if (int offset_code = RecordOffset(record_number - 1, entry->record_length, &offset)) {
    return Fail(offset_code);
  }
  if (int read_code = ReadFull(*entry, static_cast<uint64_t>(offset), bytes, entry->record_length, got)) {
    return Fail(read_code);
  }
  return 0;
}

int ReadBytesAt(int16_t number, uint64_t offset, uint8_t* bytes, uint32_t size, uint32_t* got) {
  *got = 0;
  int code = 0;
  FileEntry* entry = ReadingEntry(number, &code);
  if (entry == nullptr) return Fail(code);
  if (entry->device != DeviceKind::kDisk) return Fail(frame::kBadFileMode);
  // The caller reads no further than the end it was told (FileSize), so no
  // size is asked for a read: a file found shorter was cut while it was read.
  while (*got < size) {
    uint32_t step = 0;
    if (int read_code = PlatformReadAt(entry->handle, offset + *got, bytes + *got, size - *got, &step)) {
      return Fail(read_code);
    }
    if (step == 0) break;
    *got += step;
  }
  return 0;
}

}  // namespace files
