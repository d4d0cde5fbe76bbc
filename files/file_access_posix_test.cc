// File access failures only POSIX systems produce: permission bits, FIFOs and
// character devices, the file-size limit, and the errno table.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "files/file_access.h"
#include "files/file_access_fixture.h"
#include "files/platform_file_posix.h"
#include "frame/run_time_errors.h"
#include "testing/temp_dir.h"

namespace files {
namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class FileAccessPosixTest : public FileAccessFixture {};

TEST_F(FileAccessPosixTest, ReadOnlyScheduleOpensButKeepsItsBytes) {
  std::string name = dir_.File("locked.SCH");
  WriteFileBytes(name, "old contents");
  chmod(name.c_str(), 0444);
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(1, 'a'), frame::kAccessDenied);
  EXPECT_EQ(CutToRecords(2, 0), frame::kAccessDenied);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), "old contents");
}

TEST_F(FileAccessPosixTest, DevicesAreNotDiskFiles) {
  ASSERT_EQ(OpenForRecords(2, "/dev/null", 430), 0);
  EXPECT_EQ(Write(1, 'a'), frame::kBadFileMode);
  CloseAllFiles();

  std::string fifo = dir_.File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(OpenForRecords(2, fifo, 430), 0);
  EXPECT_EQ(Write(1, 'a'), frame::kBadFileMode);
  CloseAllFiles();

  // Sequential input from a device is read where it stands.
  ASSERT_EQ(OpenForInput(1, "/dev/null", 128), 0);
  EXPECT_TRUE(EndOfFile(1));
}

TEST_F(FileAccessPosixTest, AFullDiskIsReportedAndTheRecordIsPartlyWritten) {
  std::string name = dir_.File("full.SCH");
  ASSERT_EQ(OpenForRecords(2, name, 430), 0);
  struct rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  struct rlimit limit = old_limit;
  limit.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  int first = Write(1, 'a', 430);
  int second = Write(2, 'b', 430);
  int third = Write(3, 'c', 430);
  int fourth = Write(4, 'd', 430);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 0);
  EXPECT_EQ(third, frame::kDiskFull);
  EXPECT_EQ(fourth, frame::kDiskFull);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name).size(), 1000u);
}

TEST(ErrnoTable, MapsByLikeMeaning) {
  EXPECT_EQ(CodeForErrno(ENOENT), frame::kFileNotFound);
  EXPECT_EQ(CodeForErrno(ENOTDIR), frame::kPathNotFound);
  EXPECT_EQ(CodeForErrno(EACCES), frame::kAccessDenied);
  EXPECT_EQ(CodeForErrno(EWOULDBLOCK), frame::kAccessDenied);
  EXPECT_EQ(CodeForErrno(ENOSPC), frame::kDiskFull);
  EXPECT_EQ(CodeForErrno(EFBIG), frame::kDiskFull);
  EXPECT_EQ(CodeForErrno(EMFILE), frame::kTooManyFiles);
  EXPECT_EQ(CodeForErrno(ENOMEDIUM), frame::kDiskNotReady);
  EXPECT_EQ(CodeForErrno(ELOOP), frame::kPathFileAccess);
}

}  // namespace
}  // namespace files
