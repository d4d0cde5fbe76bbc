// Windows-only pieces of the platform file layer that tests look at directly.
#ifndef ZELTO_FILES_PLATFORM_FILE_WIN32_H_
#define ZELTO_FILES_PLATFORM_FILE_WIN32_H_

#include <windows.h>

#include <cstdint>
#include <string>

namespace files {

/// The run-time error code for a Windows last-error value (0 for 0).
int CodeForLastError(uint32_t last_error);

/// True when `name` opens a device at any folder and with any extension
/// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$, or a name
/// under \\.\); `*never_ends` then says whether reading it would wait for
/// data that never ends (AUX, PRN, COMn, LPTn, and names under \\.\).
bool IsDeviceName(const std::string& name, bool* never_ends);

/// Makes one platform call by the discipline in platform_file_win32.cc (no
/// dialog box, the last-error value cleared before) and answers the
/// last-error value it left behind.
template <typename Call>
DWORD CallGuarded(Call call) {
  // No dialog box for a drive that is not ready or a file that is missing.
  constexpr UINT kQuietErrorMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;  // 0x8001
  UINT previous_mode = SetErrorMode(kQuietErrorMode);
  SetLastError(0);
  call();
  DWORD last_error = GetLastError();
  SetErrorMode(previous_mode);
  return last_error;
}

}  // namespace files

#endif  // ZELTO_FILES_PLATFORM_FILE_WIN32_H_
