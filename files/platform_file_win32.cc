// File access on Windows, through the Win32 file functions.
//
// How every call is made (CallGuarded below):
// 1. The process error mode becomes SEM_FAILCRITICALERRORS |
//    SEM_NOOPENFILEERRORBOX (0x8001), the previous mode remembered, so that
//    a drive that is not ready or a file that cannot be opened never brings
//    up a dialog box: the failure comes back to us instead.
// 2. The thread's last-error value is set to 0.
// 3. The call is made.
// 4. The last-error value is read, then the previous error mode restored.
// 5. The call failed if and only if the last-error value is not 0, whatever
//    the function returned. SetFilePointer is the reason: its failure value
//    0xFFFFFFFF is also a valid low half of a large offset. Two calls are
//    judged by their result instead: CreateFileA by INVALID_HANDLE_VALUE,
//    since OPEN_ALWAYS leaves ERROR_ALREADY_EXISTS (183) behind when it
//    opens an existing file; GetFileType never fails, its answer counts.
//
// The remembered error mode lives on the stack of the one call, so no lock
// is needed around it: the program has one thread, and a second thread
// would only see its own last-error value anyway.
//
// Quirks written down here:
// - Share mode 0 makes a file this process already holds refuse a second
//   open with ERROR_SHARING_VIOLATION (32 -> 70): the same name given for
//   input and output fails at the second open, before anything is written.
// - A folder opened without FILE_FLAG_BACKUP_SEMANTICS fails with
//   ERROR_ACCESS_DENIED (5 -> 70), so a folder is told apart first by its
//   attributes: kIsFolder.
// - A file with FILE_ATTRIBUTE_READONLY refuses GENERIC_WRITE with
//   ERROR_ACCESS_DENIED; the caller then opens it for reading alone, and
//   every WriteFile through that handle fails with ERROR_ACCESS_DENIED.
//   Wine run by root ignores the attribute and opens the file for writing.
// - "CON", "NUL", "COM1" and the like open devices at any folder and with
//   any extension (IsDeviceName); GetFileType tells others apart from disk
//   files. As input, the ports and printers (AUX, PRN, COMn, LPTn) are
//   refused (kDeviceUnavailable): their data would never end.
// - A name longer than MAX_PATH fails with ERROR_FILENAME_EXCED_RANGE
//   (206 -> kNameTooLong).
// - A synchronous ReadFile at the end of a disk file succeeds with 0 bytes.
//   A device may instead fail with ERROR_HANDLE_EOF (38), and a pipe whose
//   writer has gone with ERROR_BROKEN_PIPE (109): both are the end of the
//   data, not a failure.
#include "files/platform_file.h"

#include <windows.h>

#include "files/input_wait.h"
#include "files/platform_faults.h"
#include "files/platform_file_win32.h"
#include "frame/run_time_errors.h"

namespace files {
namespace {

// The platform error table: run-time error codes by last-error value 0-39;
// entry 40 stands for every value from 40 up but 112 (disk full), which
// takes entry 39. Entry 0 is no failure at all.
constexpr uint8_t kPlatformErrorTable[41] = {
    0,                         //  0 success
    frame::kPathFileAccess,    //  1 invalid function
    frame::kFileNotFound,      //  2 file not found
    frame::kPathNotFound,      //  3 path not found
    frame::kTooManyFiles,      //  4 too many open files
    frame::kAccessDenied,      //  5 access denied
    frame::kInternalError,     //  6 invalid handle
    frame::kSystemError,       //  7 arena trashed
    frame::kOutOfMemory,       //  8 not enough memory
    frame::kSystemError,       //  9 invalid block
    frame::kSystemError,       // 10 bad environment
    frame::kInternalError,     // 11 bad format
    frame::kInternalError,     // 12 invalid access
    frame::kInternalError,     // 13 invalid data
    frame::kOutOfMemory,       // 14 out of memory
    frame::kDeviceUnavailable, // 15 invalid drive
    frame::kPathFileAccess,    // 16 current directory
    frame::kNotSameDevice,     // 17 not same device
    frame::kFileNotFound,      // 18 no more files
    frame::kAccessDenied,      // 19 write protected
    frame::kDeviceUnavailable, // 20 bad unit
    frame::kDiskNotReady,      // 21 not ready
    frame::kInternalError,     // 22 bad command
    frame::kDeviceError,       // 23 CRC error
    frame::kInternalError,     // 24 bad length
    frame::kDeviceError,       // 25 seek error
    frame::kDeviceError,       // 26 not a DOS disk
    frame::kDeviceError,       // 27 sector not found
    frame::kDeviceError,       // 28 out of paper
    frame::kDeviceError,       // 29 write fault
    frame::kDeviceError,       // 30 read fault
    frame::kDeviceError,       // 31 general failure
    frame::kAccessDenied,      // 32 sharing violation
    frame::kAccessDenied,      // 33 lock violation
    frame::kDeviceError,       // 34 wrong disk
    frame::kPathFileAccess,    // 35
    frame::kAccessDenied,      // 36 sharing buffer exceeded
    frame::kPathFileAccess,    // 37
    frame::kPastEndOfFile,     // 38 handle at end of file
    frame::kDiskFull,          // 39 handle disk full (and 112, disk full)
    frame::kPathFileAccess,    // 40 and every value above but 112
};
constexpr DWORD kDiskFullError = 112;  // ERROR_DISK_FULL
constexpr DWORD kLastDirectEntry = 39;
constexpr DWORD kOtherEntry = 40;

HANDLE Win32Handle(PlatformHandle handle) { return reinterpret_cast<HANDLE>(handle); }

// The folder part of a name is its bytes up to the last separator.
bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// A device name compared without case: CON, COM1 and the like.
bool SameWithoutCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != 0; ++i) {
    char upper = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (upper != b[i]) return false;
  }
  return i == a.size() && b[i] == 0;
}

// True when `name` is a folder.
bool IsFolder(const std::string& name) {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  CallGuarded([&] { attributes = GetFileAttributesA(name.c_str()); });
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Waits until a pipe has data or its writer has gone, asking the hook about
// every 100 ms; only while a hook is installed, else ReadFile itself waits.
int WaitForPipe(HANDLE handle) {
  DWORD type = FILE_TYPE_UNKNOWN;
  CallGuarded([&] { type = GetFileType(handle); });
  if (type != FILE_TYPE_PIPE || !InputWaitHookSet()) return 0;
  for (;;) {
    DWORD available = 0;
    BOOL ok = FALSE;
    CallGuarded([&] { ok = PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr); });
    if (!ok || available > 0) return 0;  // a broken pipe reads as the end
    if (InputWaitCancelled()) return frame::kDiskNotReady;
    Sleep(100);
  }
}

// Positions the file at `offset` from its start. The 64-bit offset goes as
// its low and high halves; a negative one is refused by the platform
// (ERROR_NEGATIVE_SEEK, 131 -> 75).
int Seek(HANDLE handle, int64_t offset) {
  LONG low = static_cast<LONG>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
  LONG high = static_cast<LONG>(offset >> 32);
  DWORD error = CallGuarded([&] { SetFilePointer(handle, low, &high, FILE_BEGIN); });
  return CodeForLastError(error);
}

}  // namespace

bool IsDeviceName(const std::string& name, bool* never_ends) {
  *never_ends = false;
  if (name.rfind("\\\\.\\", 0) == 0 || name.rfind("//./", 0) == 0) {
    *never_ends = true;
    return true;
  }
  size_t start = name.size();
  while (start > 0 && !IsSeparator(name[start - 1])) --start;
  std::string base = name.substr(start, name.find('.', start) - start);
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (const char* quiet : {"CON", "NUL", "CONIN$", "CONOUT$"}) {
    if (SameWithoutCase(base, quiet)) return true;
  }
  if (SameWithoutCase(base, "AUX") || SameWithoutCase(base, "PRN")) {
    *never_ends = true;
    return true;
  }
  bool numbered = base.size() == 4 && base[3] >= '1' && base[3] <= '9' &&
                  (SameWithoutCase(base.substr(0, 3), "COM") ||
                   SameWithoutCase(base.substr(0, 3), "LPT"));
  *never_ends = numbered;
  return numbered;
}

size_t PlatformMaxNameLength() { return MAX_PATH - 1; }

void PlatformIgnoreFileSizeSignal() {}

int CodeForLastError(uint32_t last_error) {
  if (last_error == ERROR_FILENAME_EXCED_RANGE) return frame::kNameTooLong;
  if (last_error == kDiskFullError) return kPlatformErrorTable[kLastDirectEntry];
  if (last_error > kLastDirectEntry) return kPlatformErrorTable[kOtherEntry];
  return kPlatformErrorTable[last_error];
}

int PlatformOpen(const std::string& name, Access access, Disposition disposition,
                 PlatformHandle* handle) {
  *handle = kNoHandle;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kOpen, &fault)) return fault.code;

  bool never_ends = false;
  if (access == Access::kRead && IsDeviceName(name, &never_ends) && never_ends) {
    return frame::kDeviceUnavailable;  // a port or printer as input would wait for ever
  }
  if (IsFolder(name)) return frame::kIsFolder;
  DWORD desired = access == Access::kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD creation = disposition == Disposition::kOpenExisting ? OPEN_EXISTING : OPEN_ALWAYS;
  HANDLE opened = INVALID_HANDLE_VALUE;
  // Share mode 0: no other opener, in this process or another, may read or
  // write the file while it is open. No security attributes, no template.
  DWORD error = CallGuarded([&] {
    opened = CreateFileA(name.c_str(), desired, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  });
  if (opened == INVALID_HANDLE_VALUE) {
    int code = CodeForLastError(error);
    // A failure that names no reason is still a failure.
    return code != 0 ? code : frame::kInternalError;
  }
  *handle = reinterpret_cast<PlatformHandle>(opened);
  return 0;
}

// Windows names no file for a process's own standard output: CON is the
// console, whatever standard output was made.
bool PlatformNamesStandardOutput(const std::string&) { return false; }

bool PlatformIsDisk(PlatformHandle handle) {
  DWORD type = FILE_TYPE_UNKNOWN;
  CallGuarded([&] { type = GetFileType(Win32Handle(handle)); });
  return type == FILE_TYPE_DISK;
}

bool PlatformSameFile(PlatformHandle a, PlatformHandle b) {
  // One file is one volume serial number and one file index.
  BY_HANDLE_FILE_INFORMATION first, second;
  BOOL ok_first = FALSE, ok_second = FALSE;
  CallGuarded([&] { ok_first = GetFileInformationByHandle(Win32Handle(a), &first); });
  CallGuarded([&] { ok_second = GetFileInformationByHandle(Win32Handle(b), &second); });
  if (!ok_first || !ok_second) return false;
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

bool PlatformNamesSameFile(const std::string& a, const std::string& b) {
  // Opened to read the file's identity alone (no access asked), sharing
  // everything, so that neither open disturbs another holder of the file.
  auto open_for_identity = [](const std::string& name) {
    HANDLE opened = INVALID_HANDLE_VALUE;
    CallGuarded([&] {
      opened = CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    });
    return opened;
  };
  HANDLE first = open_for_identity(a);
  if (first == INVALID_HANDLE_VALUE) return false;
  HANDLE second = open_for_identity(b);
  bool same = second != INVALID_HANDLE_VALUE &&
              PlatformSameFile(reinterpret_cast<PlatformHandle>(first),
                               reinterpret_cast<PlatformHandle>(second));
  CallGuarded([&] { CloseHandle(first); });
  if (second != INVALID_HANDLE_VALUE) CallGuarded([&] { CloseHandle(second); });
  return same;
}

int PlatformReadAt(PlatformHandle handle, uint64_t offset, uint8_t* buffer, uint32_t size,
                   uint32_t* got) {
  *got = 0;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kReadAt, &fault)) return fault.code;
  HANDLE file = Win32Handle(handle);
  // An offset beyond 2^63 arrives at the platform as a negative one.
  if (int code = Seek(file, static_cast<int64_t>(offset))) return code;
  DWORD read = 0;
  DWORD error = CallGuarded([&] { ReadFile(file, buffer, size, &read, nullptr); });
  if (error != 0) return CodeForLastError(error);
  *got = read;
  return 0;
}

int PlatformReadNext(PlatformHandle handle, uint8_t* buffer, uint32_t size, uint32_t* got) {
  *got = 0;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kReadNext, &fault)) return fault.code;
  if (int code = WaitForPipe(Win32Handle(handle))) return code;
  DWORD read = 0;
  DWORD error = CallGuarded([&] { ReadFile(Win32Handle(handle), buffer, size, &read, nullptr); });
  if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) return 0;  // the end of the data
  if (error != 0) return CodeForLastError(error);
  *got = read;
  return 0;
}

int PlatformWriteAt(PlatformHandle handle, int64_t offset, const uint8_t* bytes, uint32_t size,
                    uint32_t* written) {
  *written = 0;
  InjectedFault fault;
  if (WriteFaultDue(&size, &fault)) return fault.code;
  HANDLE file = Win32Handle(handle);
  if (int code = Seek(file, offset)) return code;
  // One WriteFile per record; a short count is the caller's to judge.
  DWORD count = 0;
  DWORD error = CallGuarded([&] { WriteFile(file, bytes, size, &count, nullptr); });
  *written = count;
  return CodeForLastError(error);
}

int PlatformSetSize(PlatformHandle handle, uint64_t size) {
  InjectedFault fault;
  if (FaultDue(PlatformCall::kSetSize, &fault)) return fault.code;
  HANDLE file = Win32Handle(handle);
  if (int code = Seek(file, static_cast<int64_t>(size))) return code;
  // The end of the file moves to the file pointer: shorter or longer.
  DWORD error = CallGuarded([&] { SetEndOfFile(file); });
  if (error == ERROR_INVALID_PARAMETER) {
    // Windows refuses a handle opened for reading alone with
    // ERROR_ACCESS_DENIED; Wine answers ERROR_INVALID_PARAMETER. A write of
    // no bytes, which changes nothing, tells the two apart.
    DWORD count = 0;
    DWORD write_error = CallGuarded([&] { WriteFile(file, "", 0, &count, nullptr); });
    if (write_error == ERROR_ACCESS_DENIED) error = write_error;
  }
  return CodeForLastError(error);
}

int PlatformSync(PlatformHandle handle) {
  InjectedFault fault;
  if (FaultDue(PlatformCall::kSync, &fault)) return fault.code;
  DWORD error = CallGuarded([&] { FlushFileBuffers(Win32Handle(handle)); });
  return CodeForLastError(error);
}

int PlatformOpenTemporary(PlatformHandle* handle) {
  *handle = kNoHandle;
  InjectedFault fault;
  if (FaultDue(PlatformCall::kOpen, &fault)) return fault.code;
  char folder[MAX_PATH + 1] = {};
  char name[MAX_PATH + 1] = {};
  DWORD error = CallGuarded([&] {
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length > 0 && length <= MAX_PATH) GetTempFileNameA(folder, "sch", 0, name);
  });
  if (name[0] == '\0') {
    int code = CodeForLastError(error);
    return code != 0 ? code : frame::kPathNotFound;
  }
  // The file GetTempFileNameA made is opened again to go on close, whatever
  // ends the process.
  HANDLE opened = INVALID_HANDLE_VALUE;
  error = CallGuarded([&] {
    opened = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  });
  if (opened == INVALID_HANDLE_VALUE) {
    DeleteFileA(name);
    int code = CodeForLastError(error);
    return code != 0 ? code : frame::kInternalError;
  }
  *handle = reinterpret_cast<PlatformHandle>(opened);
  return 0;
}

void PlatformStartWriteback(PlatformHandle, uint64_t, uint64_t) {
  // Windows has no call that starts the writing of a range without waiting;
  // its cache manager writes behind on its own, and FlushFileBuffers at the
  // commit waits for the rest.
}

int PlatformFileSize(PlatformHandle handle, uint64_t* bytes) {
  *bytes = 0;
  LARGE_INTEGER size = {};
  BOOL ok = FALSE;
  DWORD error = CallGuarded([&] { ok = GetFileSizeEx(Win32Handle(handle), &size); });
  if (!ok) return error != 0 ? CodeForLastError(error) : frame::kBadFileMode;
  *bytes = static_cast<uint64_t>(size.QuadPart);
  return 0;
}

int PlatformOpenStandardInput(PlatformHandle* handle, uint64_t* offset) {
  *handle = kNoHandle;
  *offset = 0;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return frame::kFileNotFound;
  // A handle of its own, so that closing the file leaves standard input to
  // the process.
  HANDLE own = nullptr;
  HANDLE process = GetCurrentProcess();
  DWORD error = CallGuarded([&] {
    DuplicateHandle(process, input, process, &own, 0, FALSE, DUPLICATE_SAME_ACCESS);
  });
  if (own == nullptr) return error != 0 ? CodeForLastError(error) : frame::kInternalError;
  LARGE_INTEGER zero = {}, here = {};
  if (GetFileType(own) == FILE_TYPE_DISK && SetFilePointerEx(own, zero, &here, FILE_CURRENT)) {
    *offset = static_cast<uint64_t>(here.QuadPart);
  }
  *handle = reinterpret_cast<PlatformHandle>(own);
  return 0;
}

int PlatformClose(PlatformHandle handle) {
  DWORD error = CallGuarded([&] { CloseHandle(Win32Handle(handle)); });
  return CodeForLastError(error);
}

}  // namespace files
