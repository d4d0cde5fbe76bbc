// The console device with no terminal at all (no controlling terminal, and
// neither standard output nor standard error a terminal), as when the program
// runs in a script or CI: what is printed goes to standard output as lines,
// and the keys are the bytes of standard input. So
//   printf 'in.txt\nout.SCH\n\n' | setsid schedule-builder > transcript.txt
// builds the schedule and leaves the dialogue in transcript.txt. Lines and
// keys are made as on every platform (stream_device.h); here are only the
// descriptors they go through.
#ifndef ZELTO_CONSOLE_STREAM_DEVICE_POSIX_H_
#define ZELTO_CONSOLE_STREAM_DEVICE_POSIX_H_

#include <string_view>

#include "console/stream_device.h"

namespace console {

/// The stream console on POSIX: lines end with "\n".
class StreamDevice final : public StreamDeviceBase {
 public:
  /// Keys come from `input_fd`, lines go to `output_fd`; neither is closed.
  StreamDevice(int input_fd, int output_fd);
  /// Sends the line still held (see Flush).
  ~StreamDevice() override;

  /// ConsoleDevice's Sleep, as console_device.h documents it.
  void Sleep(int milliseconds) override;

 private:
  /// Writes to output_fd_.
  void SendBytes(std::string_view bytes) override;
  /// Reads what standard input has now, without blocking.
  void ReadInput() override;

  int input_fd_;   ///< standard input, where the keys come from
  int output_fd_;  ///< standard output, where the lines go
};

}  // namespace console

#endif  // ZELTO_CONSOLE_STREAM_DEVICE_POSIX_H_
