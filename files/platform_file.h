// The narrow platform file layer under file access. Callers ask to open a
// name, read or write so many bytes at an offset, set a file's size, and
// close; every call answers with a run-time error code (0 for success), so
// nothing above this line sees errno or the platform's last-error value.
// One implementation per platform: platform_file_posix.cc and
// platform_file_win32.cc, each with its own table from platform errors to
// codes; the fault seam for tests at the end is shared (platform_faults.cc).
#ifndef ZELTO_FILES_PLATFORM_FILE_H_
#define ZELTO_FILES_PLATFORM_FILE_H_

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
/// refuses kReadWrite. A folder is refused with kAccessDenied.
int PlatformOpen(const std::string& name, Access access, Disposition disposition,
                 PlatformHandle* handle);

/// True for a disk file, false for a terminal, pipe or other device.
bool PlatformIsDisk(PlatformHandle handle);

/// True when both handles reach the same file.
bool PlatformSameFile(PlatformHandle a, PlatformHandle b);

/// Reads up to `size` bytes at `offset` from the file's start; `*got` is 0 at
/// the end of the file. A file found to end before `offset` was cut short
/// by another program after its bytes there were read, and fails.
int PlatformReadAt(PlatformHandle handle, uint64_t offset, uint8_t* buffer, uint32_t size,
                   uint32_t* got);

/// Reads up to `size` bytes from a device where it stands, with no
/// positioning; `*got` is 0 at the end of the data.
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
enum class PlatformCall : uint8_t { kOpen, kReadAt, kReadNext, kWriteAt, kSetSize, kClose };

/// For tests: after `calls_before` more successful calls of `call`, the next
/// one fails with run-time error `code`; with `short_by` > 0 a write instead
/// reports that many bytes fewer written and no error. Cleared by
/// ClearPlatformFaults.
void InjectPlatformFault(PlatformCall call, int calls_before, int code, uint32_t short_by = 0);

/// For tests: removes every injected fault.
void ClearPlatformFaults();

}  // namespace files

#endif  // ZELTO_FILES_PLATFORM_FILE_H_
