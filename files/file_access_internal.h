// What the parts of file access share: the checks every open makes, the
// table entry put in place, the write-behind of records and text output,
// and how an entry is closed. Internal to files/.
#ifndef ZELTO_FILES_FILE_ACCESS_INTERNAL_H_
#define ZELTO_FILES_FILE_ACCESS_INTERNAL_H_

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "files/open_file_table.h"

namespace files {

/// The largest read buffer sequential input takes: a larger one reads no
/// faster, and 64 KiB is the largest any caller asks for.
inline constexpr int64_t kMaxBufferSize = 1 << 20;

/// Records `code` in the error word and hands it back.
int Fail(int code);

/// The entry open under `number` if it was opened as one of `kinds`; else
/// null, and `*code` says why (kBadFileNumber: none; kBadFileMode: another
/// kind).
FileEntry* EntryOfKind(int16_t number, std::initializer_list<FileKind> kinds, int* code);

/// The offset of the record `index` records (from 0) into a file of
/// `record_length`-byte records; kBadRecordNumber when `index` is negative
/// or the offset would overflow.
int RecordOffset(int64_t index, uint32_t record_length, int64_t* offset);

/// The checks every open makes before anything is touched: the name, the
/// number, `length` within 1..`max_length`, and the number still free.
int CheckOpen(int16_t number, const std::string& name, int64_t length, int64_t max_length);

/// A new entry under `number` of `kind`, with a write-behind buffer of
/// `write_behind` bytes (none for 0); null when memory ran out.
std::unique_ptr<FileEntry> NewEntry(int16_t number, FileKind kind, uint32_t write_behind);

/// A sequential-input entry with a read buffer of `buffer_size` bytes;
/// null when memory ran out.
std::unique_ptr<FileEntry> NewInputEntry(int16_t number, int64_t buffer_size);

/// Finishes opening sequential input whose platform file is open: a disk
/// file's first buffer is read from `offset`, and the entry goes into the table.
int FinishInputOpen(std::unique_ptr<FileEntry> entry, uint64_t offset);

/// Puts an entry whose platform file is open into the table, unless the
/// file it holds (`held`) is held already under another number: a file read
/// and written at once would clobber the input (then kAccessDenied).
int AddEntry(std::unique_ptr<FileEntry> entry, PlatformHandle held);

/// Writes `size` bytes at `offset` now, or gathers them behind the bytes
/// just before them.
int WriteOrGather(FileEntry& entry, int64_t offset, const uint8_t* bytes, uint32_t size);

/// Hands the gathered bytes of a write-behind file to the platform.
int FlushPending(FileEntry& entry);

/// Reads up to `size` bytes at `offset` of sequential input held on a disk
/// or in memory (memory_files.h); `*got` is 0 at the end.
int ReadInputAt(const FileEntry& entry, uint64_t offset, uint8_t* bytes, uint32_t size,
                uint32_t* got);

/// Writes `size` bytes at `offset` of a records file held in memory.
int WriteToMemory(FileEntry& entry, int64_t offset, const uint8_t* bytes, uint32_t size);

/// Closes an entry taken out of the table: a new file not yet put in place
/// is removed, every other file is closed with its gathered bytes written.
int CloseEntry(FileEntry& entry);

/// Closes `handle` (PlatformClose). A close fault a test armed
/// (InjectPlatformFault) makes it answer the fault's code, the handle closed
/// all the same.
int CloseFileHandle(PlatformHandle handle);

}  // namespace files

#endif  // ZELTO_FILES_FILE_ACCESS_INTERNAL_H_
