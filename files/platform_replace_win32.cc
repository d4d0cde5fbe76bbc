// Replacing a schedule or text file as a whole on Windows.
//
// The file named is held (share mode 0) while the new one is written; a
// free name is first taken by an empty file made with CREATE_NEW, held with
// FILE_SHARE_DELETE alone, so that the console-event cleanup can still
// delete it. The new file is made in the same folder under a unique name,
// also with FILE_SHARE_DELETE for the same reason, flushed with
// FlushFileBuffers, and moved over the old one with MoveFileExA
// (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). A file held open
// cannot be replaced, so both handles are closed just before the move.
// A symbolic link is replaced itself, not followed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "files/platform_faults.h"
#include "files/platform_file.h"
#include "files/platform_file_win32.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

constexpr int kNameTries = 100;

HANDLE Win32Handle(PlatformHandle handle) { return reinterpret_cast<HANDLE>(handle); }

std::string FolderPrefix(const std::string& path) {
  size_t end = path.find_last_of("\\/:");
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// CreateFileA judged by its handle; `*error` is the last-error value left.
HANDLE Create(const std::string& name, DWORD access, DWORD share, DWORD creation, DWORD* error) {
  HANDLE opened = INVALID_HANDLE_VALUE;
  *error = CallGuarded([&] {
    opened = CreateFileA(name.c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  });
  return opened;
}

int CodeOf(DWORD error) {
  int code = CodeForLastError(error);
  return code != 0 ? code : frame::kInternalError;
}

void DeleteQuietly(const std::string& name) {
  CallGuarded([&] { DeleteFileA(name.c_str()); });
}

// Opens and holds the existing file: for reading alone when it is
// read-only or writing is refused.
int HoldExisting(DWORD attributes, Replacement* out) {
  bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  DWORD error = 0;
  HANDLE held = INVALID_HANDLE_VALUE;
  if (!read_only) held = Create(out->target_path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, &error);
  if (held == INVALID_HANDLE_VALUE && (read_only || error == ERROR_ACCESS_DENIED)) {
    held = Create(out->target_path, GENERIC_READ, 0, OPEN_EXISTING, &error);
    read_only = true;
  }
  if (held == INVALID_HANDLE_VALUE) return CodeOf(error);
  DWORD type = GetFileType(held);
  if (type != FILE_TYPE_DISK) {
    CloseHandle(held);
    out->is_device = true;
    return 0;
  }
  out->lock_handle = reinterpret_cast<PlatformHandle>(held);
  BY_HANDLE_FILE_INFORMATION info = {};
  out->linked = GetFileInformationByHandle(held, &info) && info.nNumberOfLinks > 1;
  out->read_only = read_only;
  return 0;
}

int HoldFreeName(Replacement* out) {
  DWORD error = 0;
  HANDLE held = Create(out->target_path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE,
                       CREATE_NEW, &error);
  if (held == INVALID_HANDLE_VALUE) {
    return error == ERROR_FILE_EXISTS ? frame::kAccessDenied : CodeOf(error);
  }
  out->lock_handle = reinterpret_cast<PlatformHandle>(held);
  out->created_target = true;
  return 0;
}

}  // namespace

// The new file takes a name nobody has, made of the process and the clock.
int PlatformMakeNewFile(Replacement* out) {
  std::string folder = FolderPrefix(out->target_path);
  DWORD error = ERROR_FILENAME_EXCED_RANGE;
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    char unique[40];
    std::snprintf(unique, sizeof unique, "~schedule-new-%08lx%04x.tmp",
                  static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<unsigned>((GetTickCount() + attempt) & 0xFFFF));
    std::string name = folder + unique;
    if (name.size() > PlatformMaxNameLength()) break;
    HANDLE made = Create(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, CREATE_NEW, &error);
    if (made != INVALID_HANDLE_VALUE) {
      out->new_path = name;
      out->write_handle = reinterpret_cast<PlatformHandle>(made);
      return 0;
    }
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return CodeOf(error);
}

int PlatformHoldTarget(const std::string& name, Replacement* out) {
  *out = Replacement{};
  InjectedFault fault;
  if (FaultDue(PlatformCall::kOpen, &fault)) return fault.code;
  bool never_ends = false;
  if (IsDeviceName(name, &never_ends)) {
    out->is_device = true;  // never opened: a port or the console could wait or fail
    return 0;
  }
  out->target_path = name;
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  DWORD error = CallGuarded([&] { attributes = GetFileAttributesA(name.c_str()); });
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (error != ERROR_FILE_NOT_FOUND) return CodeOf(error);
    return HoldFreeName(out);
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return frame::kIsFolder;
  return HoldExisting(attributes, out);
}

int PlatformReplace(Replacement* replacement) {
  CloseHandle(Win32Handle(replacement->write_handle));
  CloseHandle(Win32Handle(replacement->lock_handle));
  replacement->write_handle = replacement->lock_handle = kNoHandle;
  DWORD error = CallGuarded([&] {
    MoveFileExA(replacement->new_path.c_str(), replacement->target_path.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  });
  if (error != 0) {
    PlatformDiscard(replacement);
    return CodeOf(error);
  }
  replacement->new_path.clear();
  replacement->created_target = false;
  return 0;
}

void PlatformDiscard(Replacement* replacement) {
  if (replacement->write_handle != kNoHandle &&
      replacement->write_handle != replacement->lock_handle) {
    CloseHandle(Win32Handle(replacement->write_handle));
  }
  if (replacement->lock_handle != kNoHandle) CloseHandle(Win32Handle(replacement->lock_handle));
  replacement->write_handle = replacement->lock_handle = kNoHandle;
  if (!replacement->new_path.empty()) DeleteQuietly(replacement->new_path);
  if (replacement->created_target) DeleteQuietly(replacement->target_path);
  replacement->new_path.clear();
  replacement->created_target = false;
}

// NTFS gives a file the clusters of its whole length when its end moves
// out, and refuses the move with ERROR_DISK_FULL when they are not there;
// the bytes before the old end stay as they were.
int PlatformReserve(PlatformHandle handle, uint64_t size) {
  InjectedFault fault;
  if (FaultDue(PlatformCall::kReserve, &fault)) return fault.code;
  uint64_t current = 0;
  if (int code = PlatformFileSize(handle, &current)) return code;
  return size > current ? PlatformSetSize(handle, size) : 0;
}

int PlatformWriteStandardOutput(const uint8_t* bytes, uint32_t size) {
  InjectedFault fault;
  if (WriteFaultDue(&size, &fault)) return fault.code;
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return frame::kFileNotFound;
  while (size > 0) {
    DWORD written = 0;
    BOOL ok = FALSE;
    DWORD error = CallGuarded([&] { ok = WriteFile(output, bytes, size, &written, nullptr); });
    if (!ok) return CodeOf(error);
    if (written == 0) return frame::kDiskFull;
    bytes += written;
    size -= written;
  }
  return 0;
}

void PlatformRemovePath(const char* path) { DeleteFileA(path); }

}  // namespace files
