#include "console/stream_device_posix.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

#include "console/fd_io_posix.h"
#include "console/terminal_session_posix.h"

namespace console {

StreamDevice::StreamDevice(int input_fd, int output_fd)
    : StreamDeviceBase("\n"), input_fd_(input_fd), output_fd_(output_fd) {}

StreamDevice::~StreamDevice() {
  Flush();
  // The exit-time flush must not reach a device that is gone.
  PosixConsoleSession& session = TheConsoleSession();
  if (session.stream_device == this) session.stream_device = nullptr;
}

void StreamDevice::Sleep(int milliseconds) { SleepMilliseconds(milliseconds); }

void StreamDevice::SendBytes(std::string_view bytes) { WriteAll(output_fd_, bytes); }

void StreamDevice::ReadInput() {
  // Standard input is shared with whoever started the program: it is polled,
  // not switched to non-blocking mode.
  pollfd p = {input_fd_, POLLIN, 0};
  const int ready = poll(&p, 1, 0);
  if (ready == 0 || (ready < 0 && errno == EINTR)) return;
  if (ready < 0 || (p.revents & POLLNVAL)) {
    EndInput();
    return;
  }
  char buffer[4096];
  ssize_t n = 0;
  do {
    n = read(input_fd_, buffer, sizeof(buffer));
  } while (n < 0 && errno == EINTR);
  if (n > 0) {
    DecodeKeys(buffer, static_cast<size_t>(n));
  } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
    EndInput();
  }
}

}  // namespace console
