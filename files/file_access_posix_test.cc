// File access only POSIX systems show: permission bits, links, FIFOs and
// character devices, the file-size limit, long names, standard input, a
// fatal signal while a new schedule is written, and the errno table.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "files/file_access.h"
#include "files/file_replace.h"
#include "files/input_wait.h"
#include "files/platform_file_posix.h"
#include "files/read_field.h"
#include "frame/run_time_errors.h"
#include "testing/file_access_fixture.h"
#include "testing/temp_dir.h"

namespace files {
namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class FileAccessPosixTest : public FileAccessFixture {};

TEST_F(FileAccessPosixTest, ReadOnlyScheduleIsRefusedAndKeepsItsBytes) {
  std::string name = dir_.File("locked.SCH");
  WriteFileBytes(name, "old contents");
  chmod(name.c_str(), 0444);
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(1, 'a'), frame::kAccessDenied);
  EXPECT_EQ(CommitRecords(2, 0), frame::kAccessDenied);
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

  // Nothing waits for a reader of a FIFO given as output.
  ASSERT_EQ(OpenForOutput(3, fifo), 0);
  EXPECT_EQ(WriteBytes(3, reinterpret_cast<const uint8_t*>("x"), 1), frame::kBadFileMode);
  EXPECT_EQ(CommitOutput(3), frame::kBadFileMode);
  CloseAllFiles();

  // Sequential input from a device is read where it stands.
  ASSERT_EQ(OpenForInput(1, "/dev/null", 128), 0);
  EXPECT_TRUE(EndOfFile(1));
}

// Writes four records of 430 bytes under a file-size limit of 1,000 bytes:
// the third and fourth fail as a full disk, never as SIGXFSZ.
void WriteUnderSizeLimit(int* codes) {
  struct rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  struct rlimit limit = old_limit;
  limit.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  for (int i = 0; i < 4; ++i) {
    std::string bytes(430, static_cast<char>('a' + i));
    codes[i] = WriteRecord(2, i + 1, reinterpret_cast<const uint8_t*>(bytes.data()), 430);
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
}

TEST_F(FileAccessPosixTest, AFullDiskFailsTheWritesAndLeavesTheScheduleAsItWas) {
  for (bool existed : {false, true}) {
    std::string name = dir_.File("full.SCH");
    if (existed) WriteFileBytes(name, "old schedule");
    ASSERT_EQ(OpenForRecords(2, name, 430), 0);
    int codes[4];
    WriteUnderSizeLimit(codes);
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(codes[1], 0);
    EXPECT_EQ(codes[2], frame::kDiskFull);
    EXPECT_EQ(codes[3], frame::kDiskFull);
    CloseAllFiles();
    EXPECT_EQ(std::filesystem::exists(name), existed);
    if (existed) {
      EXPECT_EQ(ReadFileBytes(name), "old schedule");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                            std::filesystem::directory_iterator()),
              existed ? 1 : 0);
  }
}

TEST_F(FileAccessPosixTest, LinksAreFollowedAndPermissionBitsKept) {
  std::string target = dir_.File("target.SCH");
  WriteFileBytes(target, "old");
  chmod(target.c_str(), 0640);
  std::filesystem::create_symlink("target.SCH", dir_.File("link.SCH"));
  ASSERT_EQ(OpenForRecords(2, dir_.File("link.SCH"), 10), 0);
  EXPECT_EQ(Write(1, 'a'), 0);
  EXPECT_EQ(CommitRecords(2, 1), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.File("link.SCH")));
  EXPECT_EQ(ReadFileBytes(target), std::string(10, 'a'));
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (geteuid() == 0) {
    // Root rebuilding another user's schedule leaves it that user's.
    ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    ASSERT_EQ(OpenForRecords(2, target, 10), 0);
    EXPECT_EQ(CommitRecords(2, 0), 0);
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
  }

  // Another hard link: written in place, so both names see the new schedule.
  std::filesystem::create_hard_link(target, dir_.File("other.SCH"));
  ASSERT_EQ(OpenForRecords(2, target, 10), 0);
  EXPECT_EQ(Write(1, 'b'), 0);
  EXPECT_EQ(CommitRecords(2, 1), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("other.SCH")), std::string(10, 'b'));

  // A new schedule takes the bits of the process's umask.
  mode_t old_mask = umask(027);
  ASSERT_EQ(OpenForRecords(2, dir_.File("new.SCH"), 10), 0);
  EXPECT_EQ(CommitRecords(2, 0), 0);
  umask(old_mask);
  ASSERT_EQ(stat(dir_.File("new.SCH").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(FileAccessPosixTest, AFileWrittenInPlaceKeepsEveryOldByteWhenTheDiskHasNoRoom) {
  // The new bytes wait aside until the disk has made room for them, so a
  // disk that fills while they are written, or has no room for them at the
  // commit, leaves the file and its other name as they were.
  std::string name = dir_.File("game.SCH");
  WriteFileBytes(name, std::string(25, 'o'));
  std::filesystem::create_hard_link(name, dir_.File("backup.SCH"));
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(1, 'a'), 0);
  InjectPlatformFault(PlatformCall::kWriteAt, 0, frame::kDiskFull);
  EXPECT_EQ(Write(2, 'b'), frame::kDiskFull);
  CloseAllFiles();
  EXPECT_EQ(ReadFileBytes(name), std::string(25, 'o'));

  for (int records : {1, 5}) {  // shorter and longer than the old file
    ASSERT_EQ(OpenForRecords(2, name, 10), 0);
    for (int n = 1; n <= records; ++n) EXPECT_EQ(Write(n, 'a'), 0);
    InjectPlatformFault(PlatformCall::kReserve, 0, frame::kDiskFull);
    EXPECT_EQ(CommitRecords(2, records), frame::kDiskFull);
    EXPECT_EQ(ReadFileBytes(dir_.File("backup.SCH")), std::string(25, 'o'));
  }
  ASSERT_EQ(OpenForRecords(2, name, 10), 0);
  EXPECT_EQ(Write(1, 'c'), 0);
  EXPECT_EQ(CommitRecords(2, 1), 0);
  EXPECT_EQ(ReadFileBytes(dir_.File("backup.SCH")), std::string(10, 'c'));
}

TEST_F(FileAccessPosixTest, AFolderThatTakesNoNewFileGetsTheScheduleWrittenInPlace) {
  std::string folder = dir_.File("locked");
  std::filesystem::create_directory(folder);
  WriteFileBytes(folder + "/out.SCH", std::string(30, 'o'));
  chmod(folder.c_str(), 0555);
  chmod((folder + "/out.SCH").c_str(), 0666);
  // Root makes files in any folder: the opens run in a child process as the
  // user nobody, which answers by its exit status.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(9);
    if (OpenForRecords(2, folder + "/out.SCH", 10) != 0) _exit(10);
    std::string bytes(10, 'a');
    if (WriteRecord(2, 1, reinterpret_cast<const uint8_t*>(bytes.data()), 10) != 0) _exit(11);
    if (CommitRecords(2, 1) != 0) _exit(12);
    if (OpenForRecords(2, folder + "/new.SCH", 10) != frame::kAccessDenied) _exit(13);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 9) GTEST_SKIP() << "cannot become the user nobody";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFileBytes(folder + "/out.SCH"), std::string(10, 'a'));
  EXPECT_FALSE(std::filesystem::exists(folder + "/new.SCH"));
}

TEST_F(FileAccessPosixTest, LongNamesAreUsedWhenTheSystemTakesThem) {
  // 40 folders of 20 bytes: a name far past 255 bytes, each part short.
  std::string path = dir_.path().string();
  for (int i = 0; i < 40; ++i) path += "/" + std::string(19, static_cast<char>('a' + i % 26));
  std::filesystem::create_directories(path);
  std::string name = path + "/season.txt";
  ASSERT_GT(name.size(), 800u);
  WriteFileBytes(name, "x");
  EXPECT_EQ(OpenForInput(1, name, 128), 0);
  EXPECT_EQ(OpenForRecords(2, path + "/out.SCH", 10), 0);
  EXPECT_EQ(CommitRecords(2, 0), 0);
  EXPECT_TRUE(std::filesystem::exists(path + "/out.SCH"));
  EXPECT_EQ(OpenForRecords(3, path + "/" + std::string(300, 'n'), 10), frame::kNameTooLong);
  EXPECT_EQ(OpenForInput(3, std::string(PATH_MAX, 'n'), 10), frame::kNameTooLong);
}

// A FIFO is read as much as it has ready, in pieces that end anywhere (in
// a CR LF, a quote, a byte-order mark): the fields and their lines are those
// of the same bytes in a file, whatever the read buffer.
TEST_F(FileAccessPosixTest, AFifoReadInPiecesGivesTheFieldsOfAFile) {
  const std::string text =
      "\xEF\xBB\xBF[04/10/45]\r\n  a\tb,c\r\n\"q\r\nr\" x\r" + std::string(300, 'z') + "\n\x1a" "rest";
  std::string fifo = dir_.File("feed");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WriteFileBytes(dir_.File("same.txt"), text);
  auto read_all = [](const std::string& name, int64_t buffer) {
    std::vector<std::pair<std::string, int64_t>> fields;
    EXPECT_EQ(OpenForInput(1, name, buffer), 0);
    std::string field;
    FieldNotes notes;
    while (ReadNextField(1, &field, &notes) == 0) fields.push_back({field, notes.first_line});
    EndOfTextNotes end = NotesOnEndOfText(1);
    fields.push_back({"end", end.line * 100 + end.bytes_after});
    CloseAllFiles();
    return fields;
  };
  for (int64_t buffer : {1, 3, 128, 65536}) {
    std::thread writer([&] {
      int fd = open(fifo.c_str(), O_WRONLY);
      ASSERT_GE(fd, 0);
      for (size_t at = 0; at < text.size(); at += 5) {
        ASSERT_EQ(write(fd, text.data() + at, std::min<size_t>(5, text.size() - at)),
                  static_cast<ssize_t>(std::min<size_t>(5, text.size() - at)));
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
      close(fd);
    });
    auto from_fifo = read_all(fifo, buffer);
    writer.join();
    EXPECT_EQ(from_fifo, read_all(dir_.File("same.txt"), buffer)) << buffer;
  }
}

TEST_F(FileAccessPosixTest, AFifoInputWaitsForItsWriter) {
  std::string fifo = dir_.File("feed");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(OpenForInput(1, fifo, 128), 0);
  // The writer comes a while after the reader is waiting; the reader must
  // not take the time before as the end of the data.
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int fd = open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "abc,def\r\n", 9), 9);
    close(fd);
  });
  std::string field;
  EXPECT_EQ(ReadField(1, &field), 0);
  EXPECT_EQ(field, "abc");
  EXPECT_EQ(ReadField(1, &field), 0);
  EXPECT_EQ(field, "def");
  EXPECT_TRUE(EndOfFile(1));  // the writer has gone: the end of the data
  writer.join();
  CloseAllFiles();

  // With no writer at all the hook ends the wait as a failure.
  static int asked = 0;
  asked = 0;
  SetInputWaitHook([] { return ++asked >= 3; });
  ASSERT_EQ(OpenForInput(1, fifo, 128), 0);
  EXPECT_EQ(ReadField(1, &field), frame::kDiskNotReady);
  EXPECT_EQ(asked, 3);
  SetInputWaitHook(nullptr);
}

TEST_F(FileAccessPosixTest, StandardInputIsReadAsADiskFileOrADevice) {
  std::string name = dir_.File("in.txt");
  WriteFileBytes(name, "skip\r\nkeep\r\n");
  int saved = dup(STDIN_FILENO);
  int fd = open(name.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(lseek(fd, 6, SEEK_SET), 6);  // read from where it stands
  dup2(fd, STDIN_FILENO);
  close(fd);
  std::string field;
  ASSERT_EQ(OpenStandardInput(1, 128), 0);
  EXPECT_EQ(ReadField(1, &field), 0);
  EXPECT_EQ(field, "keep");
  EXPECT_EQ(OpenForRecords(2, name, 10), frame::kAccessDenied);  // it is the input
  CloseAllFiles();

  fd = open("/dev/null", O_RDONLY);
  dup2(fd, STDIN_FILENO);
  close(fd);
  ASSERT_EQ(OpenStandardInput(1, 128), 0);
  EXPECT_TRUE(EndOfFile(1));
  CloseAllFiles();
  dup2(saved, STDIN_FILENO);
  close(saved);
}

TEST_F(FileAccessPosixTest, AFatalSignalRemovesTheNewFilesAndKeepsTheOldOne) {
  std::string name = dir_.File("out.SCH");
  std::string fresh = dir_.File("fresh.txt");
  WriteFileBytes(name, "old schedule");
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP, SIGALRM, SIGUSR1}) {
    SCOPED_TRACE(signal_number);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (OpenForRecords(2, name, 10) != 0 || OpenForOutput(3, fresh) != 0) _exit(3);
      std::string bytes(10, 'n');
      WriteRecord(2, 1, reinterpret_cast<const uint8_t*>(bytes.data()), 10);
      WriteBytes(3, reinterpret_cast<const uint8_t*>(bytes.data()), 10);
      raise(signal_number);
      _exit(4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_EQ(ReadFileBytes(name), "old schedule");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                            std::filesystem::directory_iterator()),
              1);
  }
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
  EXPECT_EQ(CodeForErrno(EISDIR), frame::kIsFolder);
  EXPECT_EQ(CodeForErrno(ENAMETOOLONG), frame::kNameTooLong);
}

}  // namespace
}  // namespace files
