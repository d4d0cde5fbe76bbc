// Replacing a schedule or text file as a whole on POSIX.
//
// The name is followed through symbolic links to the file it reaches, so
// the link stays and the file it names is replaced. That file is held with
// an exclusive flock while the new one is written (a second copy of the
// program is refused); a free name is first taken by an empty file, made
// with O_EXCL, so it can be held too. The new file is made beside it with
// mkostemp (a unique name in the same folder, so rename stays on one file
// system), given the old file's owner and group where the process may,
// synced with fsync, given the old file's permission bits and renamed over
// the old one; the folder is synced after, so the rename
// itself survives a crash.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include "files/platform_faults.h"
#include "files/platform_file.h"
#include "files/platform_file_posix.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file `name` reaches through any symbolic links; a dangling link gives
// the name it points at, so the file is made there, as a shell's
// redirection would make it.
int FollowLinks(const std::string& name, std::string* target) {
  std::string path = name;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      *target = path;
      return path.size() > PlatformMaxNameLength() ? frame::kNameTooLong : 0;
    }
    std::vector<char> link(PATH_MAX + 1);
    ssize_t length = readlink(path.c_str(), link.data(), PATH_MAX);
    if (length < 0) return CodeForErrno(errno);
    std::string pointed(link.data(), static_cast<size_t>(length));
    path = pointed[0] == '/' || path.find('/') == std::string::npos
               ? pointed
               : FolderOf(path) + "/" + pointed;
  }
  return CodeForErrno(ELOOP);
}

int OpenRetrying(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Holds `fd` for this process alone; kAccessDenied when another opener has it.
int Hold(int fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) return 0;
  close(fd);
  return frame::kAccessDenied;
}

// Opens and holds the existing regular file, for reading alone when it is
// read-only or when writing is refused (its writes then fail one by one).
int HoldExisting(const struct stat& info, Replacement* out) {
  const std::string& path = out->target_path;
  bool read_only = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  int fd = read_only ? -1 : OpenRetrying(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY, 0);
  if (fd < 0) {
    fd = OpenRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY, 0);
    if (fd < 0) return CodeForErrno(errno);
    read_only = true;
  }
  if (int code = Hold(fd)) return code;
  out->lock_handle = fd;
  out->mode = static_cast<uint32_t>(info.st_mode & 07777);
  out->read_only = read_only;
  out->linked = info.st_nlink > 1;
  return 0;
}

// Takes a free name with an empty file and holds it.
int HoldFreeName(Replacement* out) {
  int fd = OpenRetrying(out->target_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == ENOENT) return frame::kPathNotFound;
    return errno == EEXIST ? frame::kAccessDenied : CodeForErrno(errno);
  }
  if (int code = Hold(fd)) return code;
  struct stat info;
  out->mode = fstat(fd, &info) == 0 ? static_cast<uint32_t>(info.st_mode & 07777) : 0644;
  out->lock_handle = fd;
  out->created_target = true;
  return 0;
}

void SyncFolder(const std::string& path) {
  int fd = OpenRetrying(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int PlatformMakeNewFile(Replacement* out) {
  std::string pattern = FolderOf(out->target_path) + "/.schedule-new-XXXXXX";
  int fd = -1;
  int error = ENAMETOOLONG;
  if (pattern.size() <= PlatformMaxNameLength()) {
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd = mkostemp(buffer.data(), O_CLOEXEC);
    error = errno;
    if (fd >= 0) out->new_path = buffer.data();
  }
  if (fd >= 0) {
    // The old file's owner and group, where this process may give them (root
    // rebuilding a user's schedule); its permission bits follow at the rename.
    struct stat info;
    if (!out->created_target && fstat(static_cast<int>(out->lock_handle), &info) == 0 &&
        fchown(fd, info.st_uid, info.st_gid) != 0) {
      // Not the owner: the new file stays this user's, as a copy would.
    }
    out->write_handle = fd;
    return 0;
  }
  return CodeForErrno(error);
}

int PlatformHoldTarget(const std::string& name, Replacement* out) {
  *out = Replacement{};
  InjectedFault fault;
  if (FaultDue(PlatformCall::kOpen, &fault)) return fault.code;
  PlatformIgnoreFileSizeSignal();
  if (int code = FollowLinks(name, &out->target_path)) return code;

  struct stat info;
  if (stat(out->target_path.c_str(), &info) != 0) {
    if (errno != ENOENT) return CodeForErrno(errno);
    if (int code = HoldFreeName(out)) return code;
  } else if (S_ISDIR(info.st_mode)) {
    return frame::kIsFolder;
  } else if (!S_ISREG(info.st_mode)) {
    out->is_device = true;  // opening a FIFO for writing could wait for a reader
    return 0;
  } else if (int code = HoldExisting(info, out)) {
    return code;
  }
  return 0;
}

int PlatformReplace(Replacement* replacement) {
  int code = 0;
  int fd = static_cast<int>(replacement->write_handle);
  if (fchmod(fd, static_cast<mode_t>(replacement->mode)) != 0) {
    code = CodeForErrno(errno);
  }
  int close_code = PlatformClose(replacement->write_handle);
  replacement->write_handle = kNoHandle;
  if (code == 0) code = close_code;
  if (code == 0 && rename(replacement->new_path.c_str(), replacement->target_path.c_str()) != 0) {
    code = CodeForErrno(errno);
  }
  if (code != 0) {
    PlatformDiscard(replacement);
    return code;
  }
  SyncFolder(replacement->target_path);
  replacement->new_path.clear();
  replacement->created_target = false;
  // The old file is let go only now: until the rename a second copy finds it held.
  PlatformClose(replacement->lock_handle);
  replacement->lock_handle = kNoHandle;
  return 0;
}

void PlatformDiscard(Replacement* replacement) {
  if (replacement->write_handle != kNoHandle &&
      replacement->write_handle != replacement->lock_handle) {
    close(static_cast<int>(replacement->write_handle));
  }
  if (!replacement->new_path.empty()) unlink(replacement->new_path.c_str());
  // Still held, so nobody else has taken the name since it was made.
  if (replacement->created_target) unlink(replacement->target_path.c_str());
  if (replacement->lock_handle != kNoHandle) close(static_cast<int>(replacement->lock_handle));
  replacement->write_handle = replacement->lock_handle = kNoHandle;
  replacement->new_path.clear();
  replacement->created_target = false;
}

int PlatformReserve(PlatformHandle handle, uint64_t size) {
  InjectedFault fault;
  if (FaultDue(PlatformCall::kReserve, &fault)) return fault.code;
  if (size == 0) return 0;
  if (size > static_cast<uint64_t>(LLONG_MAX)) return frame::kDiskFull;
  int error;
  do {
    error = posix_fallocate(static_cast<int>(handle), 0, static_cast<off_t>(size));
  } while (error == EINTR);
  // A file system that keeps no room aside (EOPNOTSUPP where the C library
  // does not stand in) is written as it always was.
  if (error == EOPNOTSUPP || error == EINVAL) return 0;
  return error == 0 ? 0 : CodeForErrno(error);
}

int PlatformWriteStandardOutput(const uint8_t* bytes, uint32_t size) {
  InjectedFault fault;
  if (WriteFaultDue(&size, &fault)) return fault.code;
  while (size > 0) {
    ssize_t written = write(STDOUT_FILENO, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return CodeForErrno(written < 0 ? errno : ENOSPC);
    bytes += written;
    size -= static_cast<uint32_t>(written);
  }
  return 0;
}

void PlatformRemovePath(const char* path) { unlink(path); }

}  // namespace files
