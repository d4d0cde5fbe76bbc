// Opening, writing records and closing against real files: what every
// platform does alike. Each platform's own failures are tested beside it
// (file_access_posix_test.cc, file_access_win32_test.cc).
#include "files/file_access.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/file_access_fixture.h"
#include "files/platform_file.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "testing/temp_dir.h"

namespace files {
namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class FileAccessTest : public FileAccessFixture {};

TEST_F(FileAccessTest, RecordsLandAtTheirOffsetsAndTheFileIsNeverShortened) {
  std::string name = dir_.File("out.SCH");
  WriteFileBytes(name, std::string(50, 'o'));
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(2, 'b'), 0);
  EXPECT_EQ(Write(1, 'a'), 0);
  EXPECT_EQ(CloseAllFiles(), 0);
  EXPECT_EQ(ReadFileBytes(name), std::string(10, 'a') + std::string(10, 'b') + std::string(30, 'o'));

  // Beyond the end the file grows; a write never exceeds the record length.
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(7, 'g', 25), 0);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name).size(), 70u);
  EXPECT_EQ(ReadFileBytes(name).substr(60), std::string(10, 'g'));
}

TEST_F(FileAccessTest, CutToRecordsLeavesExactlyTheRecordsAsked) {
  std::string name = dir_.File("out.SCH");
  WriteFileBytes(name, std::string(100, 'o'));
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(1, 'a'), 0);
  EXPECT_EQ(CutToRecords(2, 3), 0);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), std::string(10, 'a') + std::string(20, 'o'));
}

TEST_F(FileAccessTest, RecordNumbersRoundHalfToEvenAndBadOnesAreRefused) {
  std::string name = dir_.File("out.SCH");
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(2.5, 'x'), 0);   // record 2
  EXPECT_EQ(Write(0.6, 'y'), 0);   // record 1
  EXPECT_EQ(Write(3.5, 'z'), 0);   // record 4
  EXPECT_EQ(Write(0, 'q'), frame::kBadRecordNumber);
  EXPECT_EQ(Write(0.4, 'q'), frame::kBadRecordNumber);
  EXPECT_EQ(Write(-3, 'q'), frame::kPathFileAccess);
  EXPECT_EQ(Write(1e300, 'q'), frame::kBadRecordNumber);
  EXPECT_EQ(Write(1e18, 'q'), frame::kBadRecordNumber);  // offset would overflow
  // Read back once closed: on Windows nobody else may read it while it is open.
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), std::string(10, 'y') + std::string(10, 'x') +
                                     std::string(10, '\0') + std::string(10, 'z'));
}

TEST_F(FileAccessTest, OpenRefusesBadArgumentsAndKeepsTheNumberFree) {
  std::string name = dir_.File("out.SCH");
  EXPECT_EQ(OpenForRecords(2, "", 430), frame::kBadFileName);
  EXPECT_EQ(OpenForRecords(2, dir_.File("a*.SCH"), 430), frame::kBadFileName);
  EXPECT_EQ(OpenForInput(1, dir_.File("a?.txt"), 128), frame::kBadFileName);
  EXPECT_EQ(OpenForRecords(2, name + std::string(1, '\0') + "x", 430), frame::kBadFileName);
  // A name too long to pass whole would reach some other file: refused.
  EXPECT_EQ(OpenForRecords(2, dir_.File(std::string(300, 'n')), 430), frame::kBadFileName);
  EXPECT_EQ(OpenForRecords(-1, name, 430), frame::kBadFileNumber);
  EXPECT_EQ(OpenForRecords(2, name, 0), frame::kBadRecordLength);
  EXPECT_EQ(OpenForRecords(2, name, 32769), frame::kBadRecordLength);
  EXPECT_EQ(OpenForInput(1, name, 0), frame::kBadRecordLength);
  EXPECT_FALSE(IsOpen(2));
  EXPECT_FALSE(std::filesystem::exists(name));  // nothing was created by a refused open

  ASSERT_EQ(OpenForRecords(2, name, 32768), 0);
  EXPECT_EQ(OpenForRecords(2, dir_.File("other.SCH"), 430), frame::kFileAlreadyOpen);
  EXPECT_EQ(Write(1, 'a'), 0);  // the file open under 2 is untouched
}

TEST_F(FileAccessTest, MissingFilesAndFolders) {
  EXPECT_EQ(OpenForInput(1, dir_.File("missing.txt"), 128), frame::kFileNotFound);
  EXPECT_EQ(OpenForInput(1, "missing-here.txt", 128), frame::kFileNotFound);
  EXPECT_EQ(OpenForInput(1, dir_.File("no/such/folder.txt"), 128), frame::kPathNotFound);
  EXPECT_EQ(OpenForRecords(2, dir_.File("no/folder.SCH"), 430), frame::kPathNotFound);
  WriteFileBytes(dir_.File("plain"), "x");
  EXPECT_EQ(OpenForInput(1, dir_.File("plain/inside.txt"), 128), frame::kPathNotFound);
  EXPECT_EQ(frame::ErrorWord(), 0x8000u + frame::kPathNotFound);
  EXPECT_FALSE(IsOpen(1));
}

TEST_F(FileAccessTest, FoldersAreRefused) {
  EXPECT_EQ(OpenForInput(1, dir_.path().string(), 128), frame::kAccessDenied);
  EXPECT_EQ(OpenForRecords(2, dir_.path().string(), 430), frame::kAccessDenied);
}

TEST_F(FileAccessTest, AFileHeldOpenCannotBeOpenedAgain) {
  std::string name = dir_.File("same.txt");
  WriteFileBytes(name, "[04/10/45]\r\n");
  ASSERT_EQ(OpenForInput(1, name, 128), 0);
  EXPECT_EQ(OpenForRecords(2, name, 430), frame::kAccessDenied);
  EXPECT_EQ(OpenForInput(3, name, 128), frame::kAccessDenied);
  EXPECT_FALSE(IsOpen(2));
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), "[04/10/45]\r\n");
  // Once closed, the file opens again.
  EXPECT_EQ(OpenForRecords(2, name, 430), 0);
}

TEST_F(FileAccessTest, InjectedPlatformFailuresAreReported) {
  std::string name = dir_.File("out.SCH");
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  InjectPlatformFault(PlatformCall::kWriteAt, 0, 0, 4);
  EXPECT_EQ(Write(1, 'a'), frame::kDiskFull);  // a short write
  InjectPlatformFault(PlatformCall::kWriteAt, 1, frame::kDeviceError);
  EXPECT_EQ(Write(1, 'a'), 0);
  EXPECT_EQ(Write(2, 'a'), frame::kDeviceError);

  // Close all closes every file even when one close fails, and reports the
  // first failure only.
  WriteFileBytes(dir_.File("in.txt"), "x");
  ASSERT_EQ(OpenForInput(1, dir_.File("in.txt"), 128), 0);
  InjectPlatformFault(PlatformCall::kClose, 0, frame::kDeviceError);
  EXPECT_EQ(CloseAllFiles(), frame::kDeviceError);
  EXPECT_FALSE(IsOpen(1));
  EXPECT_FALSE(IsOpen(2));
  frame::ResetErrorWord();
  EXPECT_EQ(CloseAllFiles(), 0);  // twice is harmless
  EXPECT_EQ(frame::ErrorWord(), 0u);

  InjectPlatformFault(PlatformCall::kReadAt, 0, frame::kDeviceError);
  EXPECT_EQ(OpenForInput(1, dir_.File("in.txt"), 128), frame::kDeviceError);
  EXPECT_FALSE(IsOpen(1));
}

TEST_F(FileAccessTest, WrongKindsOfFile) {
  WriteFileBytes(dir_.File("in.txt"), "x");
  ASSERT_EQ(OpenForInput(1, dir_.File("in.txt"), 128), 0);
  uint8_t byte = 0;
  EXPECT_EQ(WriteRecord(1, 1, &byte, 1), frame::kBadFileMode);
  EXPECT_EQ(WriteRecord(9, 1, &byte, 1), frame::kBadFileNumber);
  EXPECT_EQ(CutToRecords(1, 0), frame::kBadFileMode);
}

TEST(ErrorWord, KeepsTheLatestCodeAndCountsZeroAsInternal) {
  frame::ResetErrorWord();
  EXPECT_EQ(frame::ErrorWord(), 0u);
  frame::RecordError(53);
  frame::RecordError(70);
  EXPECT_EQ(frame::ErrorWord(), 0x8046u);
  frame::RecordError(0);
  EXPECT_EQ(frame::ErrorWord(), 0x8033u);
  frame::ResetErrorWord();
}

}  // namespace
}  // namespace files
