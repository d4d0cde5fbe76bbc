#include "tool/line_spool.h"

#include <cstring>
#include <utility>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/record_read.h"
#include "frame/run_time_errors.h"

namespace tool {

namespace {

// What is held in memory at most before it goes to the temporary file.
constexpr size_t kHeldBytes = 256 * 1024;
// Each line waits in the file as its length (4 bytes), then its bytes.
constexpr uint32_t kLengthBytes = 4;

}  // namespace

void LineSpool::Add(std::string line) {
  held_bytes_ += line.size() + sizeof(std::string);
  held_.push_back(std::move(line));
  if (held_bytes_ >= kHeldBytes) Spill();
}

void LineSpool::Spill() {
  if (failure_ == 0 && !spool_open_) {
    failure_ = files::OpenSpool(spool_, 1);
    spool_open_ = failure_ == 0;
  }
  for (const std::string& line : held_) {
    if (failure_ != 0) break;
    uint8_t length[kLengthBytes];
    const auto size = static_cast<uint32_t>(line.size());
    std::memcpy(length, &size, kLengthBytes);
    failure_ = files::WriteBytes(spool_, length, kLengthBytes);
    if (failure_ == 0 && size > 0) {
      failure_ = files::WriteBytes(spool_, reinterpret_cast<const uint8_t*>(line.data()), size);
    }
    spilled_end_ += kLengthBytes + size;
  }
  held_.clear();
  held_bytes_ = 0;
}

int LineSpool::PutOut(const std::function<void(const std::string&)>& put) {
  std::string line;
  for (uint64_t at = spilled_start_; failure_ == 0 && at < spilled_end_;) {
    uint8_t length[kLengthBytes];
    uint32_t got = 0;
    failure_ = files::ReadBytesAt(spool_, at, length, kLengthBytes, &got);
    uint32_t size = 0;
    std::memcpy(&size, length, kLengthBytes);
    if (failure_ == 0 && got < kLengthBytes) failure_ = frame::kPathFileAccess;
    line.resize(size);
    if (failure_ == 0 && size > 0) {
      failure_ = files::ReadBytesAt(spool_, at + kLengthBytes,
                                    reinterpret_cast<uint8_t*>(line.data()), size, &got);
      if (failure_ == 0 && got < size) failure_ = frame::kPathFileAccess;
    }
    at += kLengthBytes + size;
    if (failure_ == 0) put(line);
  }
  spilled_start_ = spilled_end_;
  for (const std::string& held : held_) {
    if (failure_ == 0) put(held);
  }
  held_.clear();
  held_bytes_ = 0;
  return failure_;
}

}  // namespace tool
