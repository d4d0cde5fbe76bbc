// The console device on Windows when the process has no console at all
// (neither standard output nor standard error a console screen buffer, and
// no console input buffer), as when the program runs in a script or CI: what
// is printed goes to standard output as lines, and the keys are the bytes of
// standard input. So
//   schedule-builder.exe < answers.txt > transcript.txt
// run with no console builds the schedule and leaves the dialogue in
// transcript.txt.
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

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <deque>
#include <string>

#include "console/console_device.h"

namespace console {

/// A console of 80 x 25 cells that is never shown: the cells written on a
/// row become the bytes of a line (unchanged, no code page conversion), and
/// the line goes out with CR LF when the cursor moves on to a following row.
/// Clearing and scrolling print nothing.
class Win32StreamDevice final : public ConsoleDevice {
 public:
  /// Screen width of the stream console, as a console window's is.
  static constexpr int kWidth = 80;
  /// Screen height of the stream console.
  static constexpr int kHeight = 25;

  /// Keys come from `input`, lines go to `output`; neither is closed.
  /// `registration`, when given, points at this device while it lives and
  /// is set to null when it goes, so an exit-time flush never reaches a
  /// device that is gone.
  Win32StreamDevice(HANDLE input, HANDLE output, Win32StreamDevice** registration = nullptr);
  /// Sends the line still held (see Flush).
  ~Win32StreamDevice() override;
  Win32StreamDevice(const Win32StreamDevice&) = delete;
  Win32StreamDevice& operator=(const Win32StreamDevice&) = delete;

  /// Sends the line begun and not yet ended, without a line end (a prompt
  /// that was never answered still shows in the transcript).
  void Flush();

  /// The fixed size and the cursor.
  bool GetScreenBufferInfo(ScreenInfo* info) override;
  /// Puts cells into the held line; a following row ends it first.
  void WriteCells(int x, int y, const Cell* cells, int count) override;
  /// Prints nothing; the held line moves up a row.
  void ScrollUp(Cell fill) override;
  /// Moves the cursor; a following row ends the held line.
  void SetCursorPosition(int x, int y) override;
  /// A clear of the whole screen prints nothing and starts at the top.
  void FillCharacters(uint8_t ch, int count) override;
  /// Does nothing: the stream has no colours.
  void FillAttributes(uint16_t attribute, int count) override;
  /// The cursor record as last applied.
  bool GetCursorInfo(CursorInfo* info) override;
  /// Keeps the cursor record; nothing shows it.
  void SetCursorInfo(const CursorInfo& info) override;
  /// Looks at the next key without waiting; closed at the end of input.
  PeekResult PeekInput(InputRecord* record) override;
  /// Removes the key record looked at.
  void TakeInput() override;
  /// Sleeps without using the processor.
  void Sleep(int milliseconds) override;

 private:
  /// Ends the held line and the rows skipped up to row `y`.
  void MoveToRow(int y);
  /// Sends the rest of the held line and `count` line ends; the next line
  /// starts empty.
  void EndLine(int count);
  /// Reads what standard input has now, without waiting, into keys_.
  void ReadInput();
  /// Turns input bytes into key records.
  void Decode(const char* bytes, size_t count);

  HANDLE input_;
  HANDLE output_;
  Win32StreamDevice** registration_;
  int cursor_x_ = 0;
  int cursor_y_ = 0;
  int line_row_ = 0;   // the row whose cells line_ holds; scrolls move it up
  std::string line_;   // the cells written on that row so far
  size_t sent_ = 0;    // how many bytes of line_ have gone out already
  CursorInfo cursor_info_ = {25, 1};
  std::deque<InputRecord> keys_;
  bool input_ended_ = false;  // standard input reached its end or failed
  bool after_cr_ = false;     // the last byte was CR: an LF now is the same Enter
};

}  // namespace console

#endif  // ZELTO_CONSOLE_STREAM_DEVICE_WIN32_H_
