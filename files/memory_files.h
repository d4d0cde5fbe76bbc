// Files held in memory, for the in-memory fuzzer: a schedule text read from
// bytes in memory and a schedule written into a string, through the same
// table entries, reader and record writing as disk files. Only where the
// bytes come from and go to differs: the read buffer is filled from memory
// (a disk file's reads of the buffer's size, the same refills), and written
// records land in the string (write-behind and the commit's cut as on disk).
#ifndef ZELTO_FILES_MEMORY_FILES_H_
#define ZELTO_FILES_MEMORY_FILES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace files {

/// Opens `bytes` (which must outlive the file) as file `number` for
/// sequential input through a read buffer of `buffer_size` bytes, as
/// OpenForInput opens a disk file.
int OpenMemoryInput(int16_t number, std::string_view bytes, int64_t buffer_size);

/// Opens file `number` for records of `record_length` bytes, as
/// OpenForRecords does, written into `*bytes` (emptied now, and which must
/// outlive the file) rather than a disk file; CommitRecords cuts it to the
/// records written. A file never committed keeps what reached it.
int OpenMemoryRecords(int16_t number, int64_t record_length, uint32_t write_behind,
                      std::string* bytes);

}  // namespace files

#endif  // ZELTO_FILES_MEMORY_FILES_H_
