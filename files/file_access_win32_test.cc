// File access failures only Windows produces, on real files: share mode 0,
// the read-only attribute, devices such as NUL, offsets past 4 GiB, and the
// table from last-error values to run-time error codes.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/input_wait.h"
#include "files/platform_file.h"
#include "files/platform_file_win32.h"
#include "files/read_field.h"
#include "files/record_read.h"
#include "frame/error_word.h"
#include "frame/run_time_errors.h"
#include "testing/file_access_fixture.h"
#include "testing/temp_dir.h"

namespace files {
namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class FileAccessWin32Test : public FileAccessFixture {};

// Another program's open of `name`, sharing what `share` allows.
HANDLE OpenElsewhere(const std::string& name, DWORD access, DWORD share) {
  return CreateFileA(name.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

TEST_F(FileAccessWin32Test, AFileHeldByAnyOpenerIsRefusedAndKeepsItsBytes) {
  std::string name = dir_.File("season.txt");
  WriteFileBytes(name, "[04/10/45]\r\n45nnewyo 45nstlou\r\n");

  // The same name for input and output: the second open meets a sharing
  // violation on both of its tries, and the input is not touched.
  ASSERT_EQ(OpenForInput(1, name, 128), 0);
  EXPECT_EQ(OpenForRecords(2, name, 430), frame::kAccessDenied);
  EXPECT_EQ(frame::ErrorWord(), 0x8000u + frame::kAccessDenied);
  EXPECT_FALSE(testing_support::FileOpen(2));
  EXPECT_EQ(Write(1, 'x', 430), frame::kBadFileNumber);

  // While we hold the file nobody else may read it either: share mode 0.
  HANDLE reader = OpenElsewhere(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_EQ(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), "[04/10/45]\r\n45nnewyo 45nstlou\r\n");

  // Held by another program that lets others read: we still ask for the
  // file alone, so both kinds of open are refused.
  HANDLE other = OpenElsewhere(name, GENERIC_READ, FILE_SHARE_READ);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(OpenForInput(1, name, 128), frame::kAccessDenied);
  EXPECT_EQ(OpenForRecords(2, name, 430), frame::kAccessDenied);
  CloseHandle(other);
  EXPECT_EQ(OpenForInput(1, name, 128), 0);
}

TEST_F(FileAccessWin32Test, AReadOnlyScheduleOpensForReadingAndKeepsItsBytes) {
  std::string name = dir_.File("locked.SCH");
  WriteFileBytes(name, "old contents");
  ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY));
  // Wine run by root opens a read-only file for writing all the same; this
  // test then has nothing to check (CTest's files_tests_read_only_as_nobody
  // runs it again as an ordinary user).
  HANDLE probe = OpenElsewhere(name, GENERIC_WRITE, 0);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    GTEST_SKIP() << "this platform lets a read-only file be opened for writing "
                    "(Wine run by root); run the test as an ordinary user";
  }

  ASSERT_EQ(OpenForRecords(2, name, 10), 0);  // the retry with reading alone
  EXPECT_EQ(Write(1, 'a'), frame::kAccessDenied);
  EXPECT_EQ(Write(5, 'a'), frame::kAccessDenied);
  EXPECT_EQ(CommitRecords(2, 0), frame::kAccessDenied);
  EXPECT_EQ(ReadFileBytes(name), "old contents");
}

TEST_F(FileAccessWin32Test, WildcardsFoldersAndDevices) {
  WriteFileBytes(dir_.File("a.txt"), "x");
  EXPECT_EQ(OpenForInput(1, dir_.File("*.txt"), 128), frame::kBadFileName);
  EXPECT_EQ(OpenForInput(1, dir_.File("?.txt"), 128), frame::kBadFileName);
  EXPECT_EQ(OpenForRecords(2, dir_.File("out?.SCH"), 430), frame::kBadFileName);
  EXPECT_EQ(frame::ErrorWord(), 0x8000u + frame::kBadFileName);
  EXPECT_FALSE(testing_support::FileOpen(1));
  EXPECT_FALSE(testing_support::FileOpen(2));

  // A folder is called a folder, not access denied as CreateFileA has it.
  EXPECT_EQ(OpenForInput(1, dir_.path().string(), 128), frame::kIsFolder);
  EXPECT_EQ(OpenForRecords(2, dir_.path().string(), 430), frame::kIsFolder);
  EXPECT_EQ(OpenForInput(1, dir_.File("no\\such\\folder.txt"), 128), frame::kPathNotFound);

  // NUL opens but is no disk file: nothing is written to it, and read as
  // input it is at its end at once.
  ASSERT_EQ(OpenForRecords(2, "NUL", 430), 0);
  EXPECT_EQ(Write(1, 'a', 430), frame::kBadFileMode);
  ASSERT_EQ(OpenForInput(1, "NUL", 128), 0);
  EXPECT_TRUE(EndOfFile(1));
  std::string field = "stale";
  EXPECT_EQ(ReadField(1, &field), frame::kPastEndOfFile);
  EXPECT_EQ(field, "");
}

TEST_F(FileAccessWin32Test, OffsetsPastFourGigabytesUseTheHighHalf) {
  // Record 10,000,001 of 430 bytes starts at byte 4,300,000,000: beyond what
  // the low 32 bits of an offset hold. The file is made sparse first, so
  // that NTFS does not fill the gap with 4 GB of zeros.
  std::string name = dir_.File("far.SCH");
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD returned = 0;
  DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  CloseHandle(file);
  // A second hard link has the schedule written in place, into the sparse file.
  ASSERT_TRUE(CreateHardLinkA(dir_.File("far-link.SCH").c_str(), name.c_str(), nullptr));
  ASSERT_EQ(OpenForRecords(2, name, 430), 0);
  EXPECT_EQ(Write(1, 'a', 430), 0);
  int far_write = Write(10000001, 'z', 430);
  if (far_write == 0) {
    EXPECT_EQ(CommitRecords(2, 10000001), 0);
  }
  CloseAllFiles();
  if (far_write == frame::kDiskFull) GTEST_SKIP() << "no room for a file of 4.3 GB here";
  ASSERT_EQ(far_write, 0);
  EXPECT_EQ(std::filesystem::file_size(name), 4300000430u);
  std::ifstream in(name, std::ios::binary);
  in.seekg(4300000000LL);
  std::string tail(430, '\0');
  in.read(tail.data(), 430);
  EXPECT_EQ(tail, std::string(430, 'z'));
  in.seekg(static_cast<std::streamoff>(4300000000LL % 4294967296LL));
  char low = 0;
  in.read(&low, 1);
  EXPECT_EQ(low, '\0');  // nothing landed where the offset would wrap
  in.close();
  std::filesystem::remove(name);
  std::filesystem::remove(dir_.File("far-link.SCH"));
}

TEST_F(FileAccessWin32Test, DeviceNamesAreNoDiskFilesAndPortsAreNoInput) {
  // At any folder, with any extension, in any case: never opened as output,
  // so no console is needed and nothing waits.
  for (const char* name : {"CON", "con.SCH", "NUL", "aux", "C:\\games\\PRN.txt", "COM1",
                           "lpt9.SCH", "sub/Com3", "\\\\.\\COM7"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(OpenForRecords(2, name, 430), 0);
    EXPECT_EQ(Write(1, 'a', 430), frame::kBadFileMode);
    EXPECT_EQ(CommitRecords(2, 1), frame::kBadFileMode);
    ASSERT_EQ(OpenForOutput(3, name), 0);
    EXPECT_EQ(WriteBytes(3, reinterpret_cast<const uint8_t*>("x"), 1), frame::kBadFileMode);
    CloseAllFiles();
  }
  // Read as input, a port or printer would wait for data that never ends.
  for (const char* name : {"AUX", "prn.txt", "COM1", "c:\\x\\LPT2.dat", "\\\\.\\COM7"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(OpenForInput(1, name, 128), frame::kDeviceUnavailable);
    EXPECT_EQ(OpenForReading(1, name, 430), frame::kDeviceUnavailable);
  }
  // Names that only look like devices are files.
  bool never_ends = false;
  for (const char* name : {"COM0", "COM10", "CONSOLE", "LPT", "NULL.txt", "xCON"}) {
    EXPECT_FALSE(IsDeviceName(name, &never_ends)) << name;
  }
  EXPECT_TRUE(IsDeviceName("x\\nul.txt", &never_ends));
  EXPECT_FALSE(never_ends);
}

TEST_F(FileAccessWin32Test, StandardInputAsADiskFileOrAPipeThatWaits) {
  std::string name = dir_.File("in.txt");
  WriteFileBytes(name, "skip\r\nkeep\r\n");
  HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ASSERT_NE(SetFilePointer(file, 6, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  SetStdHandle(STD_INPUT_HANDLE, file);
  std::string field;
  ASSERT_EQ(OpenStandardInput(1, 128), 0);
  EXPECT_EQ(ReadField(1, &field), 0);
  EXPECT_EQ(field, "keep");  // read from where it stood
  CloseAllFiles();
  CloseHandle(file);

  // A pipe with nothing in it waits; the hook ends the wait.
  HANDLE reader = nullptr, writer = nullptr;
  ASSERT_TRUE(CreatePipe(&reader, &writer, nullptr, 0));
  SetStdHandle(STD_INPUT_HANDLE, reader);
  static int asked = 0;
  asked = 0;
  SetInputWaitHook([] { return ++asked >= 2; });
  ASSERT_EQ(OpenStandardInput(1, 128), 0);
  EXPECT_EQ(ReadField(1, &field), frame::kDiskNotReady);
  EXPECT_EQ(asked, 2);
  CloseAllFiles();
  // Once data is there it is read, and the writer gone is the end.
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(writer, "abc\r\n", 5, &written, nullptr));
  CloseHandle(writer);
  ASSERT_EQ(OpenStandardInput(1, 128), 0);
  EXPECT_EQ(ReadField(1, &field), 0);
  EXPECT_EQ(field, "abc");
  EXPECT_TRUE(EndOfFile(1));
  CloseAllFiles();
  SetInputWaitHook(nullptr);
  CloseHandle(reader);
  SetStdHandle(STD_INPUT_HANDLE, saved);
}

TEST_F(FileAccessWin32Test, ThePlatformRefusesANegativeOffset) {
  std::string name = dir_.File("out.SCH");
  PlatformHandle handle = kNoHandle;
  ASSERT_EQ(PlatformOpen(name, Access::kReadWrite, Disposition::kOpenAlways, &handle), 0);
  uint8_t bytes[4] = {1, 2, 3, 4};
  uint32_t written = 99;
  EXPECT_EQ(PlatformWriteAt(handle, -430, bytes, 4, &written), frame::kPathFileAccess);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(PlatformClose(handle), 0);
  EXPECT_EQ(std::filesystem::file_size(name), 0u);
  // An existing file opened with OPEN_ALWAYS leaves ERROR_ALREADY_EXISTS
  // behind; the open is judged by its handle and succeeds.
  ASSERT_EQ(PlatformOpen(name, Access::kReadWrite, Disposition::kOpenAlways, &handle), 0);
  EXPECT_TRUE(PlatformIsDisk(handle));
  EXPECT_EQ(PlatformClose(handle), 0);
}

TEST(LastErrorTable, MapsEveryValueToItsCode) {
  // By value: 0-39 directly, 112 with 39, everything else from 40 up to 75.
  const int expected[41] = {0,  75, 53, 76,  67, 70, 51, 241, 7,  241, 241, 51, 51, 51,
                            7,  68, 75, 74,  53, 70, 68, 71,  51, 72,  51,  72, 72, 72,
                            72, 72, 72, 72,  70, 70, 72, 75,  70, 75,  62,  61, 75};
  for (uint32_t value = 0; value <= 40; ++value) {
    EXPECT_EQ(CodeForLastError(value), expected[value]) << "last error " << value;
  }
  EXPECT_EQ(CodeForLastError(ERROR_DISK_FULL), frame::kDiskFull);
  EXPECT_EQ(CodeForLastError(ERROR_ALREADY_EXISTS), frame::kPathFileAccess);
  EXPECT_EQ(CodeForLastError(ERROR_NEGATIVE_SEEK), frame::kPathFileAccess);
  EXPECT_EQ(CodeForLastError(111), frame::kPathFileAccess);
  EXPECT_EQ(CodeForLastError(113), frame::kPathFileAccess);
  EXPECT_EQ(CodeForLastError(0xFFFFFFFFu), frame::kPathFileAccess);
  EXPECT_EQ(CodeForLastError(ERROR_FILENAME_EXCED_RANGE), frame::kNameTooLong);
}

}  // namespace
}  // namespace files
