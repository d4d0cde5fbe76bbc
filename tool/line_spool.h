// Lines of text that must wait before they are shown (warnings about a
// season, shown only once the season is known to have been read whole).
// A few are held in memory; past those they wait in a temporary file, so
// that what is held never grows with the lines of the season.
#ifndef ZELTO_TOOL_LINE_SPOOL_H_
#define ZELTO_TOOL_LINE_SPOOL_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tool {

class LineSpool {
 public:
  /// `spool` is the file number the temporary file is opened as, when one
  /// is needed.
  explicit LineSpool(int16_t spool) : spool_(spool) {}

  void Add(std::string line);

  /// Hands every line held to `put`, in the order added, and holds none
  /// after; lines may be added again. The code of a failure to keep or read
  /// back the lines, or 0.
  int PutOut(const std::function<void(const std::string&)>& put);

  /// The code of the first failure to keep or read back the lines, or 0.
  int failure() const { return failure_; }

 private:
  void Spill();

  int16_t spool_;
  std::vector<std::string> held_;
  size_t held_bytes_ = 0;
  bool spool_open_ = false;
  uint64_t spilled_start_ = 0;  // the first byte of the temporary file not yet put out
  uint64_t spilled_end_ = 0;    // the bytes written to the temporary file
  int failure_ = 0;
};

}  // namespace tool

#endif  // ZELTO_TOOL_LINE_SPOOL_H_
