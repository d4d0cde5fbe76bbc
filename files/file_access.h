// File access: the open files kept in a table by file number. This part
// opens sequential input (read as text fields: read_field.h) and closes
// every file; records and text output are written all or nothing
// (file_replace.h), records files and spools read by record (record_read.h).
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

/// Closes every open file, the most recently opened first; a new file not
/// committed is removed and the file it was to replace stays as it was.
/// Returns the code of the first close that failed, if any; every file is
/// closed regardless.
int CloseAllFiles();

/// True when `name` reaches the process's standard output and that is no
/// disk file (POSIX: /dev/stdout to a pipe or terminal), so that a command
/// writes it as it writes standard output.
bool NamesStandardOutput(const std::string& name);

/// True when the names `a` and `b` reach one existing file: a command's
/// output that is also its input is refused before either is opened.
bool NamesSameFile(const std::string& a, const std::string& b);

}  // namespace files

#endif  // ZELTO_FILES_FILE_ACCESS_H_
