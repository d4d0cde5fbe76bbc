// Reading records: a schedule file read by record number or in large
// blocks, and a spool, a temporary file for data that can be read only once
// but must be looked at twice. Failures are recorded in the error word, as
// in file_access.h.
#ifndef ZELTO_FILES_RECORD_READ_H_
#define ZELTO_FILES_RECORD_READ_H_

#include <cstdint>
#include <string>

namespace files {

/// Opens a temporary file as file `number`, for data that can be read only
/// once (a pipe) but must be looked at twice: written front to back with
/// WriteBytes, then read back as records of `record_length` bytes with
/// ReadRecord and FileSize, as often as needed. No name reaches the file,
/// and it goes when it is closed or the process ends.
int OpenSpool(int16_t number, int64_t record_length);

/// Opens `name` as file `number` to read records of `record_length` bytes;
/// the file must exist and is not changed.
int OpenForReading(int16_t number, const std::string& name, int64_t record_length);

/// The size in bytes of a disk file opened for reading records.
int FileSize(int16_t number, uint64_t* bytes);

/// Reads record `record_number` (from 1) of a file opened for reading
/// records into `bytes` (room for the record length); `*got` is less than the
/// record length at the end of the file. A device is read where it stands,
/// whatever the number.
int ReadRecord(int16_t number, int64_t record_number, uint8_t* bytes, uint32_t* got);

/// Reads up to `size` bytes at `offset` of a disk file opened for reading
/// records, or of a spool, many records at a time; `*got` is less than
/// `size` only at the end of the file. `offset` is at most the size
/// FileSize told: a file found to end before it was cut short while read,
/// and fails.
int ReadBytesAt(int16_t number, uint64_t offset, uint8_t* bytes, uint32_t size, uint32_t* got);

}  // namespace files

#endif  // ZELTO_FILES_RECORD_READ_H_
