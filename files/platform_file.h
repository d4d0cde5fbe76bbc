// The narrow platform file layer under file access. Callers ask to open a
// name, read or write so many bytes at an offset, set a file's size, and
// close; every call answers with a run-time error code (0 for success), so
// nothing above this line sees errno or the platform's last-error value.
// One implementation per platform: platform_file_posix.cc and
// platform_file_win32.cc, each with its own table from platform errors to
// codes; the fault seam for tests at the end is shared (platform_faults.cc).
#ifndef ZELTO_FILES_PLATFORM_FILE_H_
#define ZELTO_FILES_PLATFORM_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace files {

/// A platform file handle, wide enough for a descriptor or a Windows HANDLE.
using PlatformHandle = intptr_t;

/// The handle of no file.
inline constexpr PlatformHandle kNoHandle = -1;

/// What an open asks to do with the file.
enum class Access : uint8_t { kRead, kReadWrite };

/// What an open does when the file is or is not there.
enum class Disposition : uint8_t {
  kOpenExisting,  ///< the file must exist
  kOpenAlways,    ///< an existing file keeps its contents; a missing one is created empty
};

/// Opens `name` for this process alone: no other opener, in this process or
/// another, may read or write the file while it is open (a held file gives
/// kAccessDenied). A file that allows nobody to write counts as read-only and
/// refuses kReadWrite. A folder is refused with kIsFolder. On Windows a
/// device that never ends its data (AUX, PRN, COMn, LPTn) is refused for
/// reading with kDeviceUnavailable.
int PlatformOpen(const std::string& name, Access access, Disposition disposition,
                 PlatformHandle* handle);

/// The longest file name the platform's open takes, in bytes.
size_t PlatformMaxNameLength();

/// A schedule or text file being replaced as a whole: the new file is
/// written beside the old one and put in its place only when complete.
struct Replacement {
  /// Where the bytes go: the new file, or the old file itself when it is
  /// written in place (then the same handle as lock_handle).
  PlatformHandle write_handle = kNoHandle;
  /// The file under the name asked for, held for this process alone while
  /// the new one is written, so a second copy of the program is refused.
  PlatformHandle lock_handle = kNoHandle;
  bool is_device = false;       ///< the name is no disk file: nothing was opened
  bool read_only = false;       ///< the file held was opened for reading alone
  bool linked = false;          ///< the file held has other hard links
  bool created_target = false;  ///< the name was free and an empty file now holds it
  bool in_place = false;        ///< no new file: the old one is written
  /// Written in place, but the new bytes wait in a temporary file
  /// (write_handle) until the commit copies them over the file held, once
  /// the disk has made room for them: a failure before then leaves every
  /// byte of the old file as it was.
  bool spooled = false;
  /// Spooled, and the commit copies the bytes to standard output: no file
  /// is named or held.
  bool to_standard_output = false;
  uint32_t mode = 0;            ///< POSIX: the permission bits the new file takes
  std::string new_path;         ///< the new file's name; empty when in place
  std::string target_path;      ///< the file the name reaches, links followed
};

/// Holds the file `name` reaches (links followed on POSIX), or takes a free
/// name with an empty file, for this process alone: for reading alone when
/// it is read-only or writing it is refused. A device or FIFO is left
/// unopened and marked is_device. Whether to write in place is the caller's.
int PlatformHoldTarget(const std::string& name, Replacement* replacement);

/// Makes the new file beside the file held, in the same folder, under a
/// name nobody has, and sets write_handle and new_path; a failure is the
/// run-time code of why no file could be made there.
int PlatformMakeNewFile(Replacement* replacement);

/// Makes the disk give the file room for its first `size` bytes (POSIX:
/// posix_fallocate; Windows: the end of the file moved out, never in), so
/// that writing them later cannot find the disk full. The file's bytes stay
/// as they were; its size may grow to `size`. A disk or file-size limit
/// too small for them gives kDiskFull.
int PlatformReserve(PlatformHandle handle, uint64_t size);

/// Writes `size` bytes to the process's standard output as they are (a
/// pipe, a terminal, a file), all of them or a failure.
int PlatformWriteStandardOutput(const uint8_t* bytes, uint32_t size);

/// Flushes the file's bytes to the disk (fsync; FlushFileBuffers).
int PlatformSync(PlatformHandle handle);

/// Starts writing `size` bytes at `offset` that were written to the file
/// onto the disk, without waiting for them (Linux: sync_file_range), so
/// that the flush at the commit finds most of the work done. A hint alone:
/// where the platform has none it does nothing, and a failure is the
/// commit's flush to report.
void PlatformStartWriteback(PlatformHandle handle, uint64_t offset, uint64_t size);

/// Puts a synced new file (never a file written in place) in place of the
/// old one in one step and closes both handles; the new file takes the old
/// one's permission bits. Both handles are gone afterwards, also after a
/// failure, which discards the new file.
int PlatformReplace(Replacement* replacement);

/// Closes both handles of an uncommitted replacement and removes the new
/// file, and the empty one that held a free name.
void PlatformDiscard(Replacement* replacement);

/// Removes the file `path`; async-signal-safe, for the fatal-signal cleanup.
void PlatformRemovePath(const char* path);

/// Opens a new, empty file for reading and writing that no name reaches
/// and that goes when it is closed or the process ends, in the folder for
/// temporary files (POSIX: TMPDIR, else /tmp, the name removed at once;
/// Windows: the temporary folder, deleted on close).
int PlatformOpenTemporary(PlatformHandle* handle);

/// Opens the process's standard input as a handle of its own; `*offset` is
/// where a disk file stands now.
int PlatformOpenStandardInput(PlatformHandle* handle, uint64_t* offset);

/// The size of a disk file in bytes.
int PlatformFileSize(PlatformHandle handle, uint64_t* bytes);

/// Sets the process to report writes past the file-size limit as failures
/// instead of being ended by SIGXFSZ (nothing to do on Windows).
void PlatformIgnoreFileSizeSignal();

/// True for a disk file, false for a terminal, pipe or other device.
bool PlatformIsDisk(PlatformHandle handle);

/// True when `name` reaches the process's own standard output and that is
/// no disk file (a pipe, a terminal: /dev/stdout, /proc/self/fd/1), so that
/// it is written as standard output is rather than replaced.
bool PlatformNamesStandardOutput(const std::string& name);

/// True when both handles reach the same file.
bool PlatformSameFile(PlatformHandle a, PlatformHandle b);

/// True when the names `a` and `b` both reach one existing file, through
/// links or other spellings of its name too; asked before either is opened.
bool PlatformNamesSameFile(const std::string& a, const std::string& b);

/// Reads up to `size` bytes at `offset` from the file's start; `*got` is 0 at
/// the end of the file. A file found to end before `offset` was cut short
/// by another program after its bytes there were read, and fails.
int PlatformReadAt(PlatformHandle handle, uint64_t offset, uint8_t* buffer, uint32_t size,
                   uint32_t* got);

/// Reads up to `size` bytes from a device where it stands, with no
/// positioning; `*got` is 0 at the end of the data. A FIFO or pipe without
/// data waits for its writer, asking the input-wait cancel hook about every
/// 100 ms; a cancelled wait fails with kDiskNotReady.
int PlatformReadNext(PlatformHandle handle, uint8_t* buffer, uint32_t size, uint32_t* got);

/// Writes `size` bytes at `offset` from the file's start (a negative offset is
/// refused); `*written` says how many reached the file.
int PlatformWriteAt(PlatformHandle handle, int64_t offset, const uint8_t* bytes, uint32_t size,
                    uint32_t* written);

/// Sets the file's size to `size` bytes.
int PlatformSetSize(PlatformHandle handle, uint64_t size);

/// Closes the handle.
int PlatformClose(PlatformHandle handle);

/// The platform calls that tests can make fail.
enum class PlatformCall : uint8_t {
  kOpen, kReadAt, kReadNext, kWriteAt, kSetSize, kSync, kReplace, kClose, kReserve
};

/// For tests: after `calls_before` more successful calls of `call`, the next
/// one fails with run-time error `code`; with `short_by` > 0 a write instead
/// reports that many bytes fewer written and no error. Cleared by
/// ClearPlatformFaults.
void InjectPlatformFault(PlatformCall call, int calls_before, int code, uint32_t short_by = 0);

/// For tests: removes every injected fault.
void ClearPlatformFaults();

}  // namespace files

#endif  // ZELTO_FILES_PLATFORM_FILE_H_
