#include "tool/output_spool.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/record_read.h"
#include "schedule/messages.h"
#include "tool/tool_output.h"

namespace tool {
namespace {

// The pieces a spool is read back in.
constexpr int64_t kSpoolPiece = 32 * 1024;

}  // namespace

int CopySpoolOut(int16_t number) {
  uint8_t chunk[64 * 1024];
  for (uint64_t offset = 0;;) {
    uint32_t got = 0;
    if (int code = files::ReadBytesAt(number, offset, chunk, sizeof chunk, &got)) return code;
    if (got == 0) return 0;
    if (std::fwrite(chunk, 1, got, stdout) != got) return 0;  // FinishStandardOutput tells
    offset += got;
  }
}

OutputSpool::OutputSpool(int16_t number, std::string output, std::string what)
    : number_(number), output_(std::move(output)), what_(std::move(what)) {}

std::string OutputSpool::Open() {
  if (!ToStandardOutput(output_)) return OpenToolOutput(number_, output_);
  if (int code = files::OpenSpool(number_, kSpoolPiece)) {
    return schedule::TemporaryFileText(schedule::FailedStep::kWrite, what_, code);
  }
  return "";
}

int OutputSpool::Put(std::string_view bytes) {
  if (!ToStandardOutput(output_)) return PutToolOutput(number_, output_, bytes);
  // A write takes at most 4 GiB; the bytes are handed over in steps well under it.
  constexpr size_t kStep = size_t{1} << 20;
  for (size_t at = 0; at < bytes.size(); at += kStep) {
    const size_t size = std::min(kStep, bytes.size() - at);
    if (int code = files::WriteBytes(number_, reinterpret_cast<const uint8_t*>(bytes.data() + at),
                                     static_cast<uint32_t>(size))) {
      return code;
    }
  }
  return 0;
}

int OutputSpool::Finish(bool whole, int failure) {
  if (!whole) return 1;
  if (!ToStandardOutput(output_)) {
    if (failure == 0) failure = files::CommitOutput(number_);
    if (failure == 0) return 0;
    PrintFailure(schedule::CannotText(schedule::FailedStep::kWrite, "file", output_, failure));
    return 1;
  }
  if (failure == 0) failure = CopySpoolOut(number_);
  if (failure != 0) {
    PrintFailure(schedule::TemporaryFileText(schedule::FailedStep::kWrite, what_, failure));
    return 1;
  }
  return FinishStandardOutput();
}

}  // namespace tool
