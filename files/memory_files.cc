#include "files/memory_files.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "files/file_access.h"
#include "files/file_access_internal.h"
#include "files/open_file_table.h"
#include "frame/run_time_errors.h"

namespace files {

int OpenMemoryInput(int16_t number, std::string_view bytes, int64_t buffer_size) {
  if (int code = CheckOpen(number, "memory", buffer_size, kMaxBufferSize)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewInputEntry(number, buffer_size);
  if (!entry) return Fail(frame::kOutOfMemory);
  entry->memory_input = reinterpret_cast<const uint8_t*>(bytes.data());
  entry->memory_input_size = bytes.size();
  entry->device = DeviceKind::kDisk;
  if (int code = ReadInputAt(*entry, 0, entry->buffer.get(), entry->record_length,
                             &entry->buffer_count)) {
    return Fail(code);
  }
  return AddEntry(std::move(entry), kNoHandle);
}

int OpenMemoryRecords(int16_t number, int64_t record_length, uint32_t write_behind,
                      std::string* bytes) {
  if (int code = CheckOpen(number, "memory", record_length, kMaxRecordLength)) return Fail(code);
  std::unique_ptr<FileEntry> entry = NewEntry(number, FileKind::kRecords, write_behind);
  if (!entry) return Fail(frame::kOutOfMemory);
  entry->record_length = static_cast<uint32_t>(record_length);
  entry->device = DeviceKind::kDisk;
  bytes->clear();
  entry->memory_output = bytes;
  return AddEntry(std::move(entry), kNoHandle);
}

int ReadInputAt(const FileEntry& entry, uint64_t offset, uint8_t* bytes, uint32_t size,
                uint32_t* got) {
  if (entry.memory_input == nullptr) {
    return PlatformReadAt(entry.handle, offset, bytes, size, got);
  }
  *got = 0;
  if (offset > entry.memory_input_size) return frame::kPathFileAccess;  // as a file cut short
  *got = static_cast<uint32_t>(std::min<uint64_t>(size, entry.memory_input_size - offset));
  if (*got > 0) std::memcpy(bytes, entry.memory_input + offset, *got);
  return 0;
}

int WriteToMemory(FileEntry& entry, int64_t offset, const uint8_t* bytes, uint32_t size) {
  if (offset < 0) return frame::kPathFileAccess;
  std::string& file = *entry.memory_output;
  const auto end = static_cast<size_t>(offset) + size;
  if (file.size() < end) file.resize(end, '\0');
  std::memcpy(file.data() + offset, bytes, size);
  return 0;
}

}  // namespace files
