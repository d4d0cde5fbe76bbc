// The console device on Windows when the process has no console at all
// (neither standard output nor standard error a console screen buffer, and
// no console input buffer), as when the program runs in a script or CI: what
// is printed goes to standard output as lines, and the keys are the bytes of
// standard input. So
//   schedule-builder.exe < answers.txt > transcript.txt
// run with no console builds the schedule and leaves the dialogue in
// transcript.txt. Lines and keys are made as on every platform
// (stream_device.h); here are only the handles they go through.
//
// Windows quirks handled here:
// - Standard input may be a pipe, a file, the NUL device or nothing. Only a
//   pipe can leave a read waiting, so a pipe is read only as far as
//   PeekNamedPipe says bytes are there; a file or a character device is read
//   straight away (a file's end, or NUL, ends the input).
// - A pipe whose writer has gone reports ERROR_BROKEN_PIPE: that is the end
//   of the input.
// - Under Wine a pipe from the host cannot be looked into (PeekNamedPipe
//   fails with ERROR_NOT_SUPPORTED); the read then waits for the writer,
//   after the held line has gone out.
#ifndef ZELTO_CONSOLE_STREAM_DEVICE_WIN32_H_
#define ZELTO_CONSOLE_STREAM_DEVICE_WIN32_H_

#include <string_view>

#include "console/handle_win32.h"
#include "console/stream_device.h"

namespace console {

/// The stream console on Windows: lines end with CR LF.
class Win32StreamDevice final : public StreamDeviceBase {
 public:
  /// Keys come from `input`, lines go to `output`; neither is closed.
  /// `registration`, when given, points at this device while it lives and
  /// is set to null when it goes, so an exit-time flush never reaches a
  /// device that is gone.
  Win32StreamDevice(HANDLE input, HANDLE output, Win32StreamDevice** registration = nullptr);
  /// Sends the line still held (see Flush).
  ~Win32StreamDevice() override;

  /// ConsoleDevice's Sleep, as console_device.h documents it.
  void Sleep(int milliseconds) override;

 private:
  /// Writes to output_, going on after partial writes.
  void SendBytes(std::string_view bytes) override;
  /// Reads what standard input has now, without waiting where it can.
  void ReadInput() override;

  HANDLE input_;   ///< standard input, where the keys come from
  HANDLE output_;  ///< standard output, where the lines go
  Win32StreamDevice** registration_;  ///< cleared when this device goes, if given
};

}  // namespace console

#endif  // ZELTO_CONSOLE_STREAM_DEVICE_WIN32_H_
