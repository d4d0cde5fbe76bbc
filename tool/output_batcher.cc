#include "tool/output_batcher.h"

#include <utility>

#include "tool/tool_output.h"

namespace tool {
namespace {

// Large enough that a write costs little beside the making of the bytes,
// small beside what a long season's output holds.
constexpr size_t kPiece = 64 * 1024;

}  // namespace

OutputBatcher::OutputBatcher(Putter put) : put_(std::move(put)), bytes_(new char[kPiece]) {
  setp(bytes_.get(), bytes_.get() + kPiece);
}

void OutputBatcher::Add(std::string_view bytes) {
  sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int OutputBatcher::Finish() {
  FlushGathered();
  return failure_;
}

OutputBatcher::int_type OutputBatcher::overflow(int_type byte) {
  if (!FlushGathered()) return traits_type::eof();
  if (!traits_type::eq_int_type(byte, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(byte);
    pbump(1);
  }
  return traits_type::not_eof(byte);
}

int OutputBatcher::sync() { return FlushGathered() ? 0 : -1; }

// A piece larger than the buffer goes on as it stands, after what was
// gathered before it, rather than copied through the buffer.
std::streamsize OutputBatcher::xsputn(const char* bytes, std::streamsize count) {
  if (count < static_cast<std::streamsize>(kPiece)) return std::streambuf::xsputn(bytes, count);
  if (!FlushGathered() || !PutUnlessFailed(std::string_view(bytes, static_cast<size_t>(count)))) {
    return 0;
  }
  return count;
}

bool OutputBatcher::FlushGathered() {
  PutUnlessFailed(std::string_view(pbase(), static_cast<size_t>(pptr() - pbase())));
  setp(bytes_.get(), bytes_.get() + kPiece);
  return failure_ == 0;
}

bool OutputBatcher::PutUnlessFailed(std::string_view bytes) {
  if (failure_ == 0 && !bytes.empty()) failure_ = put_(bytes);
  return failure_ == 0;
}

OutputBatcher::Putter AppendTo(std::string* text) {
  return [text](std::string_view bytes) {
    text->append(bytes);
    return 0;
  };
}

OutputBatcher::Putter ToToolOutput(int16_t number, const std::string& output) {
  return [number, output](std::string_view bytes) { return PutToolOutput(number, output, bytes); };
}

}  // namespace tool
