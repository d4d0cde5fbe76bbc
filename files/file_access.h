// File access: the open files kept in a table by file number, opened for
// sequential input (read as text fields), for fixed-length records (written
// or read by record number), or for text output written front to back.
//
// A records file or text output is written all or nothing: the new bytes go
// to a new file beside the one named, and only the commit puts it in place,
// in one step. Until then the file named keeps its bytes (or stays absent),
// whatever happens: a failed build, CloseAllFiles, or a fatal signal, after
// which the new file is removed. The file named is held for this process
// alone meanwhile, so a second copy of the program writing it is refused.
// Where no new file can be made in the folder but the file named is
// writable, or the file has other hard links, it is written in place.
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

/// Opens `name` as file `number` for sequential input through a read buffer
/// of `buffer_size` bytes. The file must exist. A FIFO or other device is
/// read where it stands, and a read waits for its writer's data (as cat
/// does) until the writer has gone or the input-wait hook ends the wait.
/// Names are taken up to the platform's limit (PATH_MAX; MAX_PATH); a longer
/// one gives kNameTooLong, a folder kIsFolder.
int OpenForInput(int16_t number, const std::string& name, int64_t buffer_size);

/// Opens the process's standard input as file `number` for sequential
/// input: read as a disk file from where it stands when redirected from one,
/// else as a device.
int OpenStandardInput(int16_t number, int64_t buffer_size);

/// Opens `name` as file `number` for records of `record_length` bytes, to
/// replace the file named when committed (a symbolic link is followed and
/// stays). The new file starts empty. A read-only file is opened for
/// reading alone, and its writes fail; a device or FIFO is not opened and
/// its writes fail with kBadFileMode; a folder gives kIsFolder.
/// With `write_behind` > 0, records written one after another are gathered
/// up to that many bytes and reach the file together (at the next write
/// elsewhere, or the commit, which then report a failure); with 0 every
/// record reaches the file before WriteRecord returns.
int OpenForRecords(int16_t number, const std::string& name, int64_t record_length,
                   uint32_t write_behind = 0);

/// Puts the new file in place: flushes what write-behind gathered, cuts to
/// the records written, flushes to the disk (fsync; FlushFileBuffers), and
/// replaces the schedule file in one step (rename; MoveFileExA with
/// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), keeping the old
/// file's permission bits. The file is closed and `number` free afterwards,
/// whether or not the commit succeeded; on a failure the old file is as it was.
int CommitRecords(int16_t number, int64_t record_count);

/// Opens `name` as file `number` for text output written front to back, to
/// replace the file named when committed; the same rules as OpenForRecords.
int OpenForOutput(int16_t number, const std::string& name);

/// Appends `count` bytes to text output or a spool; they may be gathered
/// and reach the file later (at the commit or the next read of the spool,
/// which then reports a failure).
int WriteBytes(int16_t number, const uint8_t* bytes, uint32_t count);

/// Puts text output in place as CommitRecords does, cut to the bytes written.
int CommitOutput(int16_t number);

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

/// Called about every 100 ms while an input waits for data; true ends
/// the wait as a failure (kDiskNotReady).
void SetInputWaitCancel(bool (*cancel)());

/// Makes writes past the process's file-size limit fail as kDiskFull
/// instead of ending the program with SIGXFSZ. Done by every open for
/// writing as well; a program calls it at start to be sure.
void IgnoreFileSizeSignal();

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

/// Sets the size of a records file to exactly `record_count` records.
int CutToRecords(int16_t number, int64_t record_count);

/// Closes every open file, the most recently opened first; a new file not
/// committed is removed and the file it was to replace stays as it was.
/// Returns the code of the first close that failed, if any; every file is
/// closed regardless.
int CloseAllFiles();

/// True while a file is open under `number`.
bool IsOpen(int16_t number);

}  // namespace files

#endif  // ZELTO_FILES_FILE_ACCESS_H_
