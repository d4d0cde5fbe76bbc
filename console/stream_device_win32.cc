#include "console/stream_device_win32.h"

#include <algorithm>

#include "console/handle_win32.h"

namespace console {

Win32StreamDevice::Win32StreamDevice(HANDLE input, HANDLE output,
                                     Win32StreamDevice** registration)
    : StreamDeviceBase("\r\n"), input_(input), output_(output), registration_(registration) {
  if (registration_ != nullptr) *registration_ = this;
}

Win32StreamDevice::~Win32StreamDevice() {
  Flush();
  if (registration_ != nullptr && *registration_ == this) *registration_ = nullptr;
}

void Win32StreamDevice::Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

void Win32StreamDevice::SendBytes(std::string_view bytes) {
  // Stops at the first failure (a reader that went away): the rest of the
  // transcript is dropped, the run goes on.
  if (!IsUsable(output_)) return;
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (!WriteFile(output_, bytes.data() + done, chunk, &written, nullptr) || written == 0) return;
    done += written;
  }
}

void Win32StreamDevice::ReadInput() {
  if (!IsUsable(input_)) {
    EndInput();
    return;
  }
  char buffer[4096];
  DWORD wanted = sizeof(buffer);
  if (GetFileType(input_) == FILE_TYPE_PIPE) {
    // A read of an empty pipe would wait for the writer; look first.
    DWORD available = 0;
    if (PeekNamedPipe(input_, nullptr, 0, nullptr, &available, nullptr)) {
      if (available == 0) return;
      wanted = std::min<DWORD>(available, wanted);
    } else if (GetLastError() == ERROR_BROKEN_PIPE) {
      EndInput();  // the writer is gone
      return;
    } else {
      // The pipe cannot be looked into (Wine's pipes from the host answer
      // ERROR_NOT_SUPPORTED): the read waits for the writer. Nothing else
      // happens while a key is awaited, but the prompt held so far must be
      // out before the wait, or whoever answers it never sees it.
      Flush();
    }
  }
  DWORD read = 0;
  if (!ReadFile(input_, buffer, wanted, &read, nullptr) || read == 0) {
    EndInput();
    return;
  }
  DecodeKeys(buffer, read);
}

}  // namespace console
