#include "frame/error_word.h"

#include "frame/run_time_errors.h"

namespace frame {
namespace {

// Bits 0-7 the code of the latest failure, bit 15 set once one happened.
uint32_t error_word = 0;

}  // namespace

void RecordError(int code) {
  // Code 0 would leave a word that says "failed" with no reason; it stands
  // for an internal error instead. Codes only ever fit in the low byte.
  if (code == 0) code = kInternalError;
  error_word = kErrorRecorded + (static_cast<uint32_t>(code) & 0xFF);
}

uint32_t ErrorWord() { return error_word; }

int LastErrorCode() { return static_cast<int>(error_word & 0xFF); }

void ResetErrorWord() { error_word = 0; }

}  // namespace frame
