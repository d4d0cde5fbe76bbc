// Opening, writing records and closing against real files: what every
// platform does alike. Each platform's own failures are tested beside it
// (file_access_posix_test.cc, file_access_win32_test.cc).
#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/record_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/platform_file.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "testing/file_access_fixture.h"
#include "testing/temp_dir.h"

namespace files {
namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class FileAccessTest : public FileAccessFixture {};

// The names in the test folder, sorted: what a build left beside the schedule.
std::vector<std::string> FilesIn(const testing_support::ScopedTempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(FileAccessTest, OnlyTheCommitReplacesTheScheduleAndNothingIsLeftBeside) {
  std::string name = dir_.File("out.SCH");
  WriteFileBytes(name, std::string(50, 'o'));
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(2, 'b'), 0);
  EXPECT_EQ(Write(1, 'a'), 0);
  EXPECT_EQ(CloseAllFiles(), 0);  // never committed: the old file stays
  EXPECT_EQ(ReadFileBytes(name), std::string(50, 'o'));
  EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"out.SCH"});

  // Records land at their offsets in a new file; a write never exceeds the
  // record length; the commit cuts to the records asked and frees the number.
  ASSERT_EQ(OpenForRecords(2, name, 10, 64), 0);
  EXPECT_EQ(Write(2, 'b'), 0);
  EXPECT_EQ(Write(1, 'a'), 0);
  EXPECT_EQ(Write(7, 'g', 25), 0);
  EXPECT_EQ(Write(8, 'h'), 0);
  EXPECT_EQ(CommitRecords(2, 7), 0);
  EXPECT_FALSE(testing_support::FileOpen(2));
  EXPECT_EQ(ReadFileBytes(name), std::string(10, 'a') + std::string(10, 'b') +
                                     std::string(40, '\0') + std::string(10, 'g'));
  EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"out.SCH"});
  EXPECT_EQ(CommitRecords(2, 7), frame::kBadFileNumber);

  // A schedule that did not exist is absent again when the build is not committed.
  std::string fresh = dir_.File("fresh.SCH");
  ASSERT_EQ(OpenForRecords(3, fresh, 10), 0);
  EXPECT_TRUE(std::filesystem::exists(fresh));  // held, so a second copy is refused
  EXPECT_EQ(CloseAllFiles(), 0);
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"out.SCH"});
}

TEST_F(FileAccessTest, AFailingCommitKeepsTheOldSchedule) {
  std::string name = dir_.File("out.SCH");
  WriteFileBytes(name, "old schedule");
  for (PlatformCall call : {PlatformCall::kSetSize, PlatformCall::kSync, PlatformCall::kReplace}) {
    ASSERT_EQ(OpenForRecords(2, name, 10, 100), 0);
    EXPECT_EQ(Write(1, 'a'), 0);
    InjectPlatformFault(call, 0, frame::kDeviceError);
    EXPECT_EQ(CommitRecords(2, 1), frame::kDeviceError);
    EXPECT_FALSE(testing_support::FileOpen(2));
    EXPECT_EQ(ReadFileBytes(name), "old schedule");
    EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"out.SCH"});
  }
  // Gathered records that cannot be written fail the commit the same way.
  ASSERT_EQ(OpenForRecords(2, name, 10, 100), 0);
  EXPECT_EQ(Write(1, 'a'), 0);
  InjectPlatformFault(PlatformCall::kWriteAt, 0, frame::kDiskFull);
  EXPECT_EQ(CommitRecords(2, 1), frame::kDiskFull);
  EXPECT_EQ(ReadFileBytes(name), "old schedule");
}

TEST_F(FileAccessTest, TextOutputIsWrittenWholeOrNotAtAll) {
  std::string name = dir_.File("dump.txt");
  WriteFileBytes(name, std::string(300000, 'o'));
  // More than the gathering holds, in uneven pieces.
  std::string expected;
  ASSERT_EQ(OpenForOutput(4, name), 0);
  for (int i = 0; i < 3000; ++i) {
    std::string piece(1 + i % 97, static_cast<char>('a' + i % 26));
    expected += piece;
    ASSERT_EQ(WriteBytes(4, reinterpret_cast<const uint8_t*>(piece.data()),
                         static_cast<uint32_t>(piece.size())),
              0);
  }
  EXPECT_EQ(CommitOutput(4), 0);
  EXPECT_EQ(ReadFileBytes(name), expected);  // shorter than the old file: cut

  ASSERT_EQ(OpenForOutput(4, name), 0);
  EXPECT_EQ(WriteBytes(4, reinterpret_cast<const uint8_t*>("x"), 1), 0);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), expected);
  EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"dump.txt"});

  // Wrong kinds: records calls on text output, and output to a folder.
  ASSERT_EQ(OpenForOutput(4, name), 0);
  EXPECT_EQ(WriteRecord(4, 1, reinterpret_cast<const uint8_t*>("x"), 1), frame::kBadFileMode);
  EXPECT_EQ(CommitRecords(4, 0), frame::kBadFileMode);
  EXPECT_EQ(OpenForOutput(5, dir_.path().string()), frame::kIsFolder);
  EXPECT_EQ(WriteBytes(9, reinterpret_cast<const uint8_t*>("x"), 1), frame::kBadFileNumber);
}

TEST_F(FileAccessTest, RecordsAreReadBackByNumber) {
  std::string name = dir_.File("in.SCH");
  WriteFileBytes(name, std::string(10, 'a') + std::string(10, 'b') + "ccc");
  ASSERT_EQ(OpenForReading(1, name, 10), 0);
  uint64_t size = 0;
  EXPECT_EQ(FileSize(1, &size), 0);
  EXPECT_EQ(size, 23u);
  uint8_t bytes[10];
  uint32_t got = 0;
  EXPECT_EQ(ReadRecord(1, 2, bytes, &got), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), got), std::string(10, 'b'));
  EXPECT_EQ(ReadRecord(1, 3, bytes, &got), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), got), "ccc");  // short: the end
  EXPECT_EQ(ReadRecord(1, 4, bytes, &got), 0);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(ReadRecord(1, 0, bytes, &got), frame::kBadRecordNumber);
  EXPECT_EQ(WriteRecord(1, 1, bytes, 10), frame::kBadFileMode);
  // Read as records, the file is held like any other: no output over it.
  EXPECT_EQ(OpenForRecords(2, name, 10), frame::kAccessDenied);
  EXPECT_EQ(OpenForOutput(2, name), frame::kAccessDenied);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), std::string(10, 'a') + std::string(10, 'b') + "ccc");

  EXPECT_EQ(OpenForReading(1, dir_.File("missing.SCH"), 10), frame::kFileNotFound);
  EXPECT_EQ(OpenForReading(1, dir_.path().string(), 10), frame::kIsFolder);
  EXPECT_EQ(OpenForReading(1, dir_.File("a*.SCH"), 10), frame::kBadFileName);
  EXPECT_EQ(FileSize(1, &size), frame::kBadFileNumber);
}

// A spool takes what can be read only once and gives it back as often as
// asked, gathered bytes included; it is no file of the folder, and it is
// gone once closed.
TEST_F(FileAccessTest, ASpoolGivesBackWhatWasWrittenAndLeavesNothing) {
  ASSERT_EQ(OpenSpool(3, 10), 0);
  std::string written;
  for (int piece = 0; piece < 3000; ++piece) {
    std::string bytes = std::to_string(piece) + ",";
    written += bytes;
    ASSERT_EQ(WriteBytes(3, reinterpret_cast<const uint8_t*>(bytes.data()),
                         static_cast<uint32_t>(bytes.size())), 0);
  }
  uint64_t size = 0;
  EXPECT_EQ(FileSize(3, &size), 0);
  EXPECT_EQ(size, written.size());
  for (int pass = 0; pass < 2; ++pass) {
    uint8_t bytes[10];
    uint32_t got = 0;
    EXPECT_EQ(ReadRecord(3, 2, bytes, &got), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), got), written.substr(10, 10));
    std::string all(written.size() + 5, '\0');
    EXPECT_EQ(ReadBytesAt(3, 0, reinterpret_cast<uint8_t*>(all.data()),
                          static_cast<uint32_t>(all.size()), &got), 0);
    EXPECT_EQ(all.substr(0, got), written);
  }
  EXPECT_EQ(CommitOutput(3), frame::kBadFileMode);  // a spool is put nowhere
  CloseAllFiles();
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
  EXPECT_EQ(FileSize(3, &size), frame::kBadFileNumber);
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
  EXPECT_EQ(CommitRecords(2, 4), 0);
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
  EXPECT_EQ(OpenForRecords(2, dir_.File(std::string(300, 'n')), 430), frame::kNameTooLong);
  EXPECT_EQ(OpenForInput(1, dir_.File(std::string(5000, 'n')), 128), frame::kNameTooLong);
  EXPECT_EQ(OpenForOutput(3, dir_.File(std::string(5000, 'n'))), frame::kNameTooLong);
  EXPECT_STREQ(frame::ErrorMessage(frame::kNameTooLong), "File name too long");
  EXPECT_EQ(OpenForRecords(-1, name, 430), frame::kBadFileNumber);
  EXPECT_EQ(OpenForRecords(2, name, 0), frame::kBadRecordLength);
  EXPECT_EQ(OpenForRecords(2, name, 32769), frame::kBadRecordLength);
  EXPECT_EQ(OpenForInput(1, name, 0), frame::kBadRecordLength);
  EXPECT_FALSE(testing_support::FileOpen(2));
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
  EXPECT_FALSE(testing_support::FileOpen(1));
}

TEST_F(FileAccessTest, FoldersAreRefused) {
  EXPECT_EQ(OpenForInput(1, dir_.path().string(), 128), frame::kIsFolder);
  EXPECT_EQ(OpenForRecords(2, dir_.path().string(), 430), frame::kIsFolder);
  EXPECT_EQ(OpenForRecords(2, dir_.path().string() + "/", 430), frame::kIsFolder);
  EXPECT_STREQ(frame::ErrorMessage(frame::kIsFolder), "It is a folder, not a file");
}

TEST_F(FileAccessTest, AFileHeldOpenCannotBeOpenedAgain) {
  std::string name = dir_.File("same.txt");
  WriteFileBytes(name, "[04/10/45]\r\n");
  ASSERT_EQ(OpenForInput(1, name, 128), 0);
  EXPECT_EQ(OpenForRecords(2, name, 430), frame::kAccessDenied);
  EXPECT_EQ(OpenForInput(3, name, 128), frame::kAccessDenied);
  EXPECT_FALSE(testing_support::FileOpen(2));
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
  EXPECT_FALSE(testing_support::FileOpen(1));
  EXPECT_FALSE(testing_support::FileOpen(2));
  frame::ResetErrorWord();
  EXPECT_EQ(CloseAllFiles(), 0);  // twice is harmless
  EXPECT_EQ(frame::ErrorWord(), 0u);

  InjectPlatformFault(PlatformCall::kReadAt, 0, frame::kDeviceError);
  EXPECT_EQ(OpenForInput(1, dir_.File("in.txt"), 128), frame::kDeviceError);
  EXPECT_FALSE(testing_support::FileOpen(1));
}

TEST_F(FileAccessTest, WrongKindsOfFile) {
  WriteFileBytes(dir_.File("in.txt"), "x");
  ASSERT_EQ(OpenForInput(1, dir_.File("in.txt"), 128), 0);
  uint8_t byte = 0;
  EXPECT_EQ(WriteRecord(1, 1, &byte, 1), frame::kBadFileMode);
  EXPECT_EQ(WriteRecord(9, 1, &byte, 1), frame::kBadFileNumber);
  EXPECT_EQ(CommitRecords(1, 0), frame::kBadFileMode);
  uint32_t got = 0;
  EXPECT_EQ(ReadRecord(1, 1, &byte, &got), frame::kBadFileMode);
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
