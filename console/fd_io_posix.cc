#include "console/fd_io_posix.h"

#include <cerrno>
#include <ctime>

#include <poll.h>
#include <unistd.h>

namespace console {

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // The terminal's output queue is full: wait until it takes more.
      pollfd p = {fd, POLLOUT, 0};
      if (poll(&p, 1, -1) < 0 && errno != EINTR) return false;
    } else {
      return false;
    }
  }
  return true;
}

int64_t MonotonicMilliseconds() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void SleepMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec wait = {milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  timespec left = {};
  // A signal (a window resize, say) cuts the sleep short; sleep the rest.
  while (nanosleep(&wait, &left) != 0 && errno == EINTR) wait = left;
}

}  // namespace console
