// File access on POSIX: descriptors stand in for the Windows file handles.
//
// What stands in for the Windows behaviour the program was made for:
// - Share mode 0 (no other opener while the file is open): an exclusive,
//   non-blocking flock on every regular file we open. flock belongs to the
//   open file description, so a second open of the same file by this process
//   is refused just as one by another running copy is.
// - The read-only attribute: a regular file whose permission bits let nobody
//   write is read-only for everyone, root included, so a read-write open of it
//   is refused and the caller falls back to reading alone.
// - Folders cannot be opened as files: kIsFolder.
// - A FIFO or terminal read as input waits for data (as cat does): poll in
//   steps of 100 ms, asking the input-wait hook between steps.
// - Device kind: a regular file is a disk file; FIFOs, terminals and
//   character devices are not.
#include "files/platform_file.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "files/input_wait.h"
#include "files/platform_faults.h"
#include "files/platform_file_posix.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

int Fd(PlatformHandle handle) { return static_cast<int>(handle); }

// A file opened for reading alone refuses changes as access denied, the way
// a read-only file does on Windows, not as a bad descriptor.
bool OpenedForReadingAlone(PlatformHandle handle) {
  return (fcntl(Fd(handle), F_GETFL) & O_ACCMODE) == O_RDONLY;
}

// A missing file and a missing folder on the way both come back as ENOENT;
// the program tells them apart by whether the folder part of the name exists.
int CodeForMissing(const std::string& name) {
  std::string::size_type slash = name.rfind('/');
  if (slash == std::string::npos) return frame::kFileNotFound;
  std::string folder = slash == 0 ? "/" : name.substr(0, slash);
  struct stat info;
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return frame::kPathNotFound;
  return frame::kFileNotFound;
}

// Waits until the device has data or its writer has gone. A FIFO opened
// before any writer came shows neither, so the wait lasts until one writes or
// closes; the hook is asked between steps of 100 ms.
int WaitForData(int fd) {
  constexpr int kStepMilliseconds = 100;
  for (;;) {
    struct pollfd wanted = {fd, POLLIN, 0};
    int ready = poll(&wanted, 1, kStepMilliseconds);
    if (ready > 0) return 0;
    if (ready < 0 && errno != EINTR) return 0;  // the read then tells what is wrong
    if (InputWaitCancelled()) return frame::kDiskNotReady;
  }
}

}  // namespace

// Writing past the file-size limit would kill the process with SIGXFSZ; with
// the signal ignored the write fails with EFBIG and is reported as disk full.
void PlatformIgnoreFileSizeSignal() {
  static bool done = false;
  if (!done) {
    signal(SIGXFSZ, SIG_IGN);
    done = true;
  }
}

size_t PlatformMaxNameLength() { return PATH_MAX - 1; }

int CodeForErrno(int error_number) {
  switch (error_number) {
    case 0: return 0;
    case ENOENT: return frame::kFileNotFound;
    case ENOTDIR: return frame::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK: return frame::kAccessDenied;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return frame::kDiskFull;
    case EMFILE:
    case ENFILE: return frame::kTooManyFiles;
    case ENOMEM: return frame::kOutOfMemory;
    case EIO: return frame::kDeviceError;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM: return frame::kDiskNotReady;
    case EBADF: return frame::kInternalError;
    case EISDIR: return frame::kIsFolder;
    case ENAMETOOLONG: return frame::kNameTooLong;
    default: return frame::kPathFileAccess;
  }
}

int PlatformOpen(const std::string& name, Access access, Disposition disposition,
                 PlatformHandle* handle) {
  *handle = kNoHandle;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kOpen, &fault)) return fault.code;
  PlatformIgnoreFileSizeSignal();

  struct stat info;
  bool exists = stat(name.c_str(), &info) == 0;
  if (!exists && errno == ENAMETOOLONG) return frame::kNameTooLong;
  if (exists && S_ISDIR(info.st_mode)) return frame::kIsFolder;
  if (exists && access == Access::kReadWrite && S_ISREG(info.st_mode) &&
      (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return frame::kAccessDenied;  // read-only for everyone, root included
  }

  int flags = (access == Access::kRead ? O_RDONLY : O_RDWR) | O_NOCTTY | O_CLOEXEC;
  // Non-blocking only for the open itself: a FIFO without a writer must not
  // hold the program at open.
  flags |= O_NONBLOCK;
  if (disposition == Disposition::kOpenAlways) flags |= O_CREAT;
  int fd;
  do {
    fd = open(name.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ENOENT) {
      return disposition == Disposition::kOpenAlways ? frame::kPathNotFound : CodeForMissing(name);
    }
    return CodeForErrno(errno);
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);

  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    return frame::kIsFolder;
  }
  if (S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    close(fd);
    return frame::kAccessDenied;  // held by another opener
  }
  *handle = fd;
  return 0;
}

bool PlatformIsDisk(PlatformHandle handle) {
  struct stat info;
  return fstat(Fd(handle), &info) == 0 && S_ISREG(info.st_mode);
}

bool PlatformNamesStandardOutput(const std::string& name) {
  struct stat named, output;
  if (stat(name.c_str(), &named) != 0 || fstat(STDOUT_FILENO, &output) != 0) return false;
  return !S_ISREG(named.st_mode) && !S_ISDIR(named.st_mode) && named.st_dev == output.st_dev &&
         named.st_ino == output.st_ino && named.st_rdev == output.st_rdev;
}

bool PlatformSameFile(PlatformHandle a, PlatformHandle b) {
  struct stat first, second;
  if (fstat(Fd(a), &first) != 0 || fstat(Fd(b), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool PlatformNamesSameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

int PlatformReadAt(PlatformHandle handle, uint64_t offset, uint8_t* buffer, uint32_t size,
                   uint32_t* got) {
  *got = 0;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kReadAt, &fault)) return fault.code;
  if (offset > static_cast<uint64_t>(LLONG_MAX)) return frame::kPathFileAccess;
  ssize_t n;
  do {
    n = pread(Fd(handle), buffer, size, static_cast<off_t>(offset));
  } while (n < 0 && errno == EINTR);
  if (n < 0) return CodeForErrno(errno);
  // The reader asks for bytes at the end of those it has taken. Finding the
  // file now ends before that offset means another program cut it short
  // while it was read (an advisory lock stops no one): the bytes taken are
  // gone, and ending quietly would give a schedule of a file that no longer
  // exists, reported as built.
  struct stat info;
  if (n == 0 && offset > 0 && fstat(Fd(handle), &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<uint64_t>(info.st_size) < offset) {
    return frame::kPathFileAccess;
  }
  *got = static_cast<uint32_t>(n);
  return 0;
}

int PlatformReadNext(PlatformHandle handle, uint8_t* buffer, uint32_t size, uint32_t* got) {
  *got = 0;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kReadNext, &fault)) return fault.code;
  if (int code = WaitForData(Fd(handle))) return code;
  ssize_t n;
  do {
    n = read(Fd(handle), buffer, size);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return CodeForErrno(errno);
  *got = static_cast<uint32_t>(n);
  return 0;
}

int PlatformWriteAt(PlatformHandle handle, int64_t offset, const uint8_t* bytes, uint32_t size,
                    uint32_t* written) {
  *written = 0;
  InjectedFault fault;
  if (WriteFaultDue(&size, &fault)) return fault.code;
  if (offset < 0) return frame::kPathFileAccess;  // no file position before the start
  while (*written < size) {
    ssize_t n = pwrite(Fd(handle), bytes + *written, size - *written,
                       static_cast<off_t>(offset + *written));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return OpenedForReadingAlone(handle) ? frame::kAccessDenied : CodeForErrno(errno);
    if (n == 0) break;  // the caller sees the short count
    *written += static_cast<uint32_t>(n);
  }
  return 0;
}

int PlatformSetSize(PlatformHandle handle, uint64_t size) {
  InjectedFault fault;
  if (FaultDue(PlatformCall::kSetSize, &fault)) return fault.code;
  if (size > static_cast<uint64_t>(LLONG_MAX)) return frame::kPathFileAccess;
  int result;
  do {
    result = ftruncate(Fd(handle), static_cast<off_t>(size));
  } while (result != 0 && errno == EINTR);
  if (result == 0) return 0;
  return OpenedForReadingAlone(handle) ? frame::kAccessDenied : CodeForErrno(errno);
}

int PlatformSync(PlatformHandle handle) {
  InjectedFault fault;
  if (FaultDue(PlatformCall::kSync, &fault)) return fault.code;
  int result;
  do {
    result = fsync(Fd(handle));
  } while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : CodeForErrno(errno);
}

int PlatformOpenTemporary(PlatformHandle* handle) {
  *handle = kNoHandle;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kOpen, &fault)) return fault.code;
  const char* folder = getenv("TMPDIR");
  std::string pattern = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                        "/.schedule-spool-XXXXXX";
  int fd;
  do {
    fd = mkostemp(pattern.data(), O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return CodeForErrno(errno);
  // No name is left to remove: the file goes with its last descriptor,
  // whatever ends the process.
  unlink(pattern.c_str());
  *handle = fd;
  return 0;
}

void PlatformStartWriteback(PlatformHandle handle, uint64_t offset, uint64_t size) {
#if defined(__linux__)
  sync_file_range(Fd(handle), static_cast<off_t>(offset), static_cast<off_t>(size),
                  SYNC_FILE_RANGE_WRITE);
#else
  (void)handle, (void)offset, (void)size;  // other systems write back on their own
#endif
}

int PlatformFileSize(PlatformHandle handle, uint64_t* bytes) {
  *bytes = 0;
  struct stat info;
  if (fstat(Fd(handle), &info) != 0) return CodeForErrno(errno);
  if (!S_ISREG(info.st_mode)) return frame::kBadFileMode;
  *bytes = static_cast<uint64_t>(info.st_size);
  return 0;
}

int PlatformOpenStandardInput(PlatformHandle* handle, uint64_t* offset) {
  *handle = kNoHandle;
  *offset = 0;
  // A descriptor of its own, so that closing the file leaves descriptor 0
  // to the process.
  int fd = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
  if (fd < 0) return errno == EBADF ? frame::kFileNotFound : CodeForErrno(errno);
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    return frame::kIsFolder;
  }
  off_t here = lseek(fd, 0, SEEK_CUR);
  if (here > 0) *offset = static_cast<uint64_t>(here);
  *handle = fd;
  return 0;
}

int PlatformClose(PlatformHandle handle) {
  // On Linux the descriptor is released even when close reports EINTR, so it
  // is never closed twice.
  if (close(Fd(handle)) != 0 && errno != EINTR) return CodeForErrno(errno);
  return 0;
}

}  // namespace files
