// The open-file table: one entry per open file, newest first, each file
// number in at most one entry.
#ifndef ZELTO_FILES_OPEN_FILE_TABLE_H_
#define ZELTO_FILES_OPEN_FILE_TABLE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "files/platform_file.h"

namespace files {

/// How a file was opened.
enum class FileKind : uint8_t {
  kSequentialInput,  ///< read as text fields
  kRecords,          ///< written by record number
  kRecordInput,      ///< read by record number
  kTextOutput,       ///< written front to back as bytes
  kSpool,            ///< a temporary file written front to back, then read by record number
};

/// 1 for a disk file, 2 for anything else (terminal, pipe, null device).
enum class DeviceKind : uint16_t { kDisk = 1, kOther = 2 };

/// One open file.
struct FileEntry {
  std::unique_ptr<FileEntry> next;  ///< the next older entry
  int16_t number = 0;               ///< the number it was opened under
  PlatformHandle handle = kNoHandle;
  DeviceKind device = DeviceKind::kDisk;
  FileKind kind = FileKind::kSequentialInput;
  /// Sequential input: file offset of the first byte held in the read buffer.
  /// Records: the number of the record last written.
  int64_t position = 0;
  /// Records: the record length. Sequential input: the read buffer's size.
  uint32_t record_length = 0;
  uint32_t buffer_index = 0;  ///< read-buffer bytes already consumed
  uint32_t buffer_count = 0;  ///< read-buffer bytes held
  std::unique_ptr<uint8_t[]> buffer;  ///< sequential input: the bytes last read
  /// Sequential input: the editor line of the next unconsumed byte (from 1),
  /// whether the byte consumed last was a CR (so that an LF after it ends no
  /// second line), and the line of the 0x1A byte where the data ended (0
  /// while none was met).
  int64_t line = 1;
  bool after_carriage_return = false;
  int64_t end_of_text_line = 0;
  bool start_read = false;  ///< the start of the data (a byte-order mark) has been looked at
  bool too_long = false;  ///< a field ran past the longest one read: reading has stopped
  /// Records with write-behind: the gathered bytes, where they go in the
  /// file, how many there are and how many fit.
  std::unique_ptr<uint8_t[]> pending;
  int64_t pending_offset = 0;
  uint32_t pending_count = 0;
  uint32_t pending_capacity = 0;
  /// Records and text output: the end of the bytes already handed to the
  /// disk's writeback, so that the commit's flush has little left to wait for.
  int64_t writeback_end = 0;
  /// Records and text output: the old file held and the new one written
  /// beside it until the commit puts it in place.
  Replacement replacement;
  /// The slot naming the new file for the fatal-signal cleanup, or -1.
  int pending_slot = -1;
  /// A file held in memory (memory_files.h) rather than on a disk: the bytes
  /// sequential input reads, or the string a records file writes into.
  const uint8_t* memory_input = nullptr;
  uint64_t memory_input_size = 0;
  std::string* memory_output = nullptr;
};

/// The entry open under `number`, or null.
FileEntry* FindEntry(int16_t number);

/// Puts `entry` at the head of the table.
void InsertEntry(std::unique_ptr<FileEntry> entry);

/// Takes the entry under `number` out of the table and hands it back.
std::unique_ptr<FileEntry> UnlinkEntry(int16_t number);

/// Takes the head entry (the newest) out of the table; null when empty.
std::unique_ptr<FileEntry> UnlinkHead();

/// The table's head, the newest entry; null when the table is empty.
FileEntry* TableHead();

/// Calls `visit` for every entry, newest first.
template <typename Visit>
void ForEachEntry(Visit visit) {
  for (FileEntry* entry = TableHead(); entry != nullptr; entry = entry->next.get()) visit(*entry);
}

}  // namespace files

#endif  // ZELTO_FILES_OPEN_FILE_TABLE_H_
