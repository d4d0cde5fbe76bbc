// Small POSIX helpers shared by the console devices: whole writes, the
// monotonic clock the key decoder's Esc timeout runs on, and the sleep of the
// keyboard poll.
#ifndef ZELTO_CONSOLE_FD_IO_POSIX_H_
#define ZELTO_CONSOLE_FD_IO_POSIX_H_

#include <cstdint>
#include <string_view>

namespace console {

/// Writes all of `bytes` to `fd`, going on after partial writes, EINTR and
/// (for a non-blocking descriptor) EAGAIN. False when the descriptor fails.
bool WriteAll(int fd, std::string_view bytes);

/// Milliseconds of a clock that never jumps.
int64_t MonotonicMilliseconds();

/// Sleeps `milliseconds` (none when 0 or less), also across signals.
void SleepMilliseconds(int milliseconds);

}  // namespace console

#endif  // ZELTO_CONSOLE_FD_IO_POSIX_H_
