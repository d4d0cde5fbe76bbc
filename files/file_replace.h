// Files written all or nothing: a records file (written by record number)
// or text output (written front to back).
//
// The new bytes go to a new file beside the one named, and only the commit
// puts it in place, in one step. Until then the file named keeps its bytes
// (or stays absent), whatever happens: a failed build, CloseAllFiles, or a
// fatal signal, after which the new file is removed. The file named is held
// for this process alone meanwhile, so a second copy of the program writing
// it is refused. Where no new file can be made in the folder but the file
// named is writable, or the file has other hard links, it is written in
// place, so that it keeps its other names, owner and mode: the new bytes
// wait in a temporary file, and the commit copies them over the file only
// after the disk has made room for them all, so a failure leaves the old
// bytes as they were here too. Failures are recorded in the error word, as
// in file_access.h.
#ifndef ZELTO_FILES_FILE_REPLACE_H_
#define ZELTO_FILES_FILE_REPLACE_H_

#include <cstdint>
#include <string>

namespace files {

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

/// Opens file `number` for records of `record_length` bytes bound for
/// standard output: they wait in a temporary file, and CommitRecords
/// copies them out front to back, so that nothing reaches standard output
/// unless the whole file does. `write_behind` as for OpenForRecords.
int OpenRecordsForStandardOutput(int16_t number, int64_t record_length, uint32_t write_behind = 0);

/// Writes `count` bytes (at most the record length) as record
/// `record_number` (from 1; a fraction rounds to the nearest whole number,
/// halves to even) of a records file.
int WriteRecord(int16_t number, double record_number, const uint8_t* bytes, uint32_t count);

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

/// Makes writes past the process's file-size limit fail as kDiskFull
/// instead of ending the program with SIGXFSZ. Done by every open for
/// writing as well; a program calls it at start to be sure.
void IgnoreFileSizeSignal();

}  // namespace files

#endif  // ZELTO_FILES_FILE_REPLACE_H_
