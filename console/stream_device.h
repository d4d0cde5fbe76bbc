// What the console device with no console at all does the same way on every
// platform: the cells written on a row become the bytes of a line, the line
// goes out when the cursor moves on to a following row, and the bytes of
// standard input become key records. Each platform's device derives from this
// and adds only how bytes are written and read (stream_device_posix.h,
// stream_device_win32.h).
#ifndef ZELTO_CONSOLE_STREAM_DEVICE_H_
#define ZELTO_CONSOLE_STREAM_DEVICE_H_

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "console/console_device.h"

namespace console {

/// A console that is never shown, as wide as the console's coordinates
/// reach (32,767 columns) and 25 rows tall: the cells written on a row
/// become the bytes of a line (unchanged, no code page conversion), and the
/// line goes out with the platform's line end when the cursor moves on to a
/// following row. Since no line the program writes comes near that width
/// (a typed name holds at most 10,000 bytes), every line of a transcript is
/// written whole, never broken where a window's edge would be. Clearing and
/// scrolling print nothing.
class StreamDeviceBase : public ConsoleDevice {
 public:
  /// Screen width of the stream console: the widest the console's 16-bit
  /// coordinates allow, so that lines never wrap.
  static constexpr int kWidth = 0x7FFF;
  /// Screen height of the stream console.
  static constexpr int kHeight = 25;

  /// A derived device sends the held line in its own destructor (see Flush),
  /// while its way of writing still exists.
  ~StreamDeviceBase() override = default;
  /// A copy would send the same held line twice.
  StreamDeviceBase(const StreamDeviceBase&) = delete;
  /// See the copy constructor.
  StreamDeviceBase& operator=(const StreamDeviceBase&) = delete;

  /// Sends the part of the line begun and not yet ended that has not gone out
  /// yet, without a line end (a prompt that was never answered still shows in
  /// the transcript, and a prompt sent before a wait is not sent again).
  void Flush();

  /// The ConsoleDevice operations, each as console_device.h documents it.
  bool GetScreenBufferInfo(ScreenInfo* info) override;
  void WriteCells(int x, int y, const Cell* cells, int count) override;
  void ScrollUp(Cell fill) override;
  void SetCursorPosition(int x, int y) override;
  void FillCharacters(uint8_t ch, int count) override;
  void FillAttributes(uint16_t attribute, int count) override;
  bool GetCursorInfo(CursorInfo* info) override;
  void SetCursorInfo(const CursorInfo& info) override;
  PeekResult PeekInput(InputRecord* record) override;
  void TakeInput() override;

 protected:
  /// `line_end` ends every line sent ("\n" or "\r\n"); it must outlive the
  /// device (a string literal).
  explicit StreamDeviceBase(std::string_view line_end);

  /// Writes `bytes` to standard output whole; a failure drops them (a reader
  /// of the transcript that went away must not end the run).
  virtual void SendBytes(std::string_view bytes) = 0;
  /// Reads what standard input has now into key records (DecodeKeys), or
  /// marks its end (EndInput). Not called once the input has ended.
  virtual void ReadInput() = 0;

  /// Turns input bytes into key records: CR, LF and CR LF are one Enter.
  void DecodeKeys(const char* bytes, size_t count);
  /// Standard input reached its end or failed: no key will come any more.
  void EndInput() { input_ended_ = true; }

 private:
  /// Ends the held line and the rows skipped up to row `y`.
  void MoveToRow(int y);
  /// Sends the rest of the held line and `count` line ends; the next line
  /// starts empty.
  void EndLine(int count);

  std::string_view line_end_;  ///< ends every line sent: "\n" or "\r\n"
  int cursor_x_ = 0;           ///< the cursor's column, as last set
  int cursor_y_ = 0;           ///< the cursor's row, as last set
  int line_row_ = 0;           ///< the row whose cells line_ holds; scrolls move it up
  std::string line_;           ///< the cells written on that row so far
  size_t sent_ = 0;            ///< how many bytes of line_ have gone out already
  CursorInfo cursor_info_ = {25, 1};  ///< the cursor record as last applied
  std::deque<InputRecord> keys_;      ///< key records read and not yet taken
  bool input_ended_ = false;   ///< standard input reached its end or failed
  bool after_cr_ = false;      ///< the last byte was CR: an LF now is the same Enter
};

}  // namespace console

#endif  // ZELTO_CONSOLE_STREAM_DEVICE_H_
