// Where a command's made bytes go as they are made. A dump, a check's
// findings or a calendar page of a long season run to tens of megabytes:
// they are handed on in pieces of about 64 KiB, never held whole, and never
// a write for every line.
#ifndef ZELTO_TOOL_OUTPUT_BATCHER_H_
#define ZELTO_TOOL_OUTPUT_BATCHER_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>

namespace tool {

/// Gathers bytes, added directly or written through a std::ostream over it,
/// and hands them to a putter a piece of about 64 KiB at a time; a piece
/// larger than that goes on as it stands. The putter answers 0, or the code
/// of its failure: from then on nothing more is handed on, and failure()
/// tells the code.
class OutputBatcher : public std::streambuf {
 public:
  using Putter = std::function<int(std::string_view)>;

  explicit OutputBatcher(Putter put);

  /// Adds `bytes` after what was gathered.
  void Add(std::string_view bytes);
  /// Hands on what is gathered; the code of the first failure, or 0.
  int Finish();
  /// The code of the first failure, or 0.
  int failure() const { return failure_; }

 protected:
  int_type overflow(int_type byte) override;
  int sync() override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;

 private:
  // Hands on what is gathered and starts again: true while nothing failed.
  bool FlushGathered();
  // Hands `bytes` on, unless a failure came before.
  bool PutUnlessFailed(std::string_view bytes);

  Putter put_;
  std::unique_ptr<char[]> bytes_;
  int failure_ = 0;
};

/// A putter that appends every byte to `text`.
OutputBatcher::Putter AppendTo(std::string* text);

/// A putter to standard output, or to file `number` opened by
/// OpenToolOutput for `output` (PutToolOutput).
OutputBatcher::Putter ToToolOutput(int16_t number, const std::string& output);

}  // namespace tool

#endif  // ZELTO_TOOL_OUTPUT_BATCHER_H_
