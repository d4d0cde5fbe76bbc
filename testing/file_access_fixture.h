// The fixture the file access tests share on every platform: after each
// test the files it opened are closed, injected faults cleared and the error
// word reset, so no test sees what another left behind. Test-only.
#ifndef ZELTO_TESTING_FILE_ACCESS_FIXTURE_H_
#define ZELTO_TESTING_FILE_ACCESS_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/input_wait.h"
#include "files/platform_file.h"
#include "files/read_field.h"
#include "files/record_read.h"
#include "frame/error_word.h"
#include "testing/process_state.h"
#include "testing/temp_dir.h"

namespace files {

/// A test folder, and after each test no open files, faults or error code.
class FileAccessFixture : public ::testing::Test {
 protected:
  /// Closes every file, clears injected faults and resets the error word.
  void TearDown() override { testing_support::ResetProcessState(); }

  /// Writes record `n` of file 2 as `length` copies of `fill`.
  int Write(double n, char fill, uint32_t length = 10) {
    std::string bytes(length, fill);
    return WriteRecord(2, n, reinterpret_cast<const uint8_t*>(bytes.data()), length);
  }

  /// The folder the test's files live in, removed after the test.
  testing_support::ScopedTempDir dir_;
};

}  // namespace files

#endif  // ZELTO_TESTING_FILE_ACCESS_FIXTURE_H_
