// File access: the open files kept in a table by file number, opened either
// for sequential input (read as text fields) or for fixed-length records
// (written by record number).
//
// Every operation that fails records its run-time error code in the error
// word and also returns it (0 for success), so the schedule builder can name
// each failure to the user. Nothing here stops the run or prints anything.
#ifndef ZELTO_FILES_FILE_ACCESS_H_
#define ZELTO_FILES_FILE_ACCESS_H_

#include <cstdint>
#include <string>

namespace files {

/// The read-buffer size of sequential input unless a caller asks for another.
inline constexpr uint32_t kDefaultReadBufferSize = 128;

/// The longest record a records file takes.
inline constexpr uint32_t kMaxRecordLength = 32768;

/// The longest file name accepted, in bytes.
inline constexpr size_t kMaxNameLength = 255;

/// Opens `name` as file `number` for sequential input through a read buffer
/// of `buffer_size` bytes. The file must exist.
int OpenForInput(int16_t number, const std::string& name, int64_t buffer_size);

/// Opens `name` as file `number` for records of `record_length` bytes. An
/// existing file keeps its contents; a missing one is created empty; a file
/// that cannot be written is opened for reading alone, and its writes fail.
/// With `write_behind` > 0, records written one after another are gathered
/// up to that many bytes and reach the file together (at the next write
/// elsewhere, CutToRecords or CloseAllFiles, which then report a failure);
/// with 0 every record reaches the file before WriteRecord returns.
int OpenForRecords(int16_t number, const std::string& name, int64_t record_length,
                   uint32_t write_behind = 0);

/// Reads the next text field of sequential input into `field` (empty on any
/// failure). Returns kPastEndOfFile when nothing was left to read.
int ReadField(int16_t number, std::string* field);

/// True once no unread byte is left in sequential input, or the next one is
/// the end-of-text byte 0x1A. A failure answers false and sets `*error`.
bool EndOfFile(int16_t number, int* error = nullptr);

/// Writes `count` bytes (at most the record length) as record
/// `record_number` (from 1; a fraction rounds to the nearest whole number,
/// halves to even) of a records file.
int WriteRecord(int16_t number, double record_number, const uint8_t* bytes, uint32_t count);

/// Hands every record gathered by write-behind to the file now.
int FlushRecords(int16_t number);

/// Sets the size of a records file to exactly `record_count` records, so that
/// nothing of an older, longer file is left behind them.
int CutToRecords(int16_t number, int64_t record_count);

/// Closes every open file, the most recently opened first. Returns the code
/// of the first close that failed, if any; every file is closed regardless.
int CloseAllFiles();

/// True while a file is open under `number`.
bool IsOpen(int16_t number);

}  // namespace files

#endif  // ZELTO_FILES_FILE_ACCESS_H_
