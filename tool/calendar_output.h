// Where a calendar's bytes go as they are made. A page of a long season is
// tens of megabytes: it is handed on in pieces, never held whole.
#ifndef ZELTO_TOOL_CALENDAR_OUTPUT_H_
#define ZELTO_TOOL_CALENDAR_OUTPUT_H_

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace tool {

/// Gathers bytes and hands them to a putter a piece of about 64 KiB at a
/// time. The putter answers 0, or the code of its failure: from then on
/// nothing more is handed on, and failure() tells the code.
class CalendarOutput {
 public:
  using Putter = std::function<int(std::string_view)>;

  explicit CalendarOutput(Putter put) : put_(std::move(put)) {}

  void Add(std::string_view bytes);
  /// Hands on what is gathered; the code of the first failure, or 0.
  int Finish();
  int failure() const { return failure_; }

 private:
  void Hand();

  Putter put_;
  std::string gathered_;
  int failure_ = 0;
};

/// An output that appends every byte to `text`.
CalendarOutput::Putter AppendTo(std::string* text);

}  // namespace tool

#endif  // ZELTO_TOOL_CALENDAR_OUTPUT_H_
