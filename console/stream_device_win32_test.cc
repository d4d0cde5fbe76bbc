#include "console/stream_device_win32.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "console/key_decoder.h"

namespace console {
namespace {

// A stream device between two anonymous pipes: the test writes what
// standard input would hold and reads what standard output received.
class Win32StreamDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreatePipe(&input_read_, &input_write_, nullptr, 0));
    ASSERT_TRUE(CreatePipe(&output_read_, &output_write_, nullptr, 1 << 16));
    device_ = std::make_unique<Win32StreamDevice>(input_read_, output_write_, &registered_);
  }
  void TearDown() override {
    device_.reset();
    for (HANDLE h : {input_read_, input_write_, output_read_, output_write_}) {
      if (h != nullptr) CloseHandle(h);
    }
  }

  void Print(int x, int y, std::string_view text) {
    std::vector<Cell> cells;
    for (char c : text) cells.push_back({static_cast<uint8_t>(c), 0x07});
    device_->WriteCells(x, y, cells.data(), static_cast<int>(cells.size()));
  }

  // What the output pipe holds now; never waits.
  std::string Output() {
    std::string out;
    DWORD available = 0;
    while (PeekNamedPipe(output_read_, nullptr, 0, nullptr, &available, nullptr) &&
           available > 0) {
      std::string chunk(available, '\0');
      DWORD read = 0;
      if (!ReadFile(output_read_, chunk.data(), available, &read, nullptr)) break;
      out.append(chunk.data(), read);
    }
    return out;
  }

  void Type(std::string_view bytes) {
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(input_write_, bytes.data(), static_cast<DWORD>(bytes.size()),
                          &written, nullptr));
    ASSERT_EQ(written, bytes.size());
  }

  void EndInput() {
    CloseHandle(input_write_);
    input_write_ = nullptr;
  }

  // The characters of the key records waiting now, taking them.
  std::string TakeKeys() {
    std::string keys;
    InputRecord record;
    while (device_->PeekInput(&record) == PeekResult::kRecord) {
      keys.push_back(static_cast<char>(record.ch));
      device_->TakeInput();
    }
    return keys;
  }

  HANDLE input_read_ = nullptr;
  HANDLE input_write_ = nullptr;
  HANDLE output_read_ = nullptr;
  HANDLE output_write_ = nullptr;
  Win32StreamDevice* registered_ = nullptr;
  std::unique_ptr<Win32StreamDevice> device_;
};

TEST_F(Win32StreamDeviceTest, RowsGoOutAsCrLfLinesAndTheLastOneOnFlush) {
  Print(0, 0, "Input File: ");
  EXPECT_EQ(Output(), "");  // the row is still open
  // A prompt sent before a wait for the answer is not sent again after it.
  device_->Flush();
  EXPECT_EQ(Output(), "Input File: ");
  Print(12, 0, "in.txt");
  device_->SetCursorPosition(0, 2);
  EXPECT_EQ(Output(), "in.txt\r\n\r\n");
  Print(0, 2, "Hit any key");
  device_->Flush();
  EXPECT_EQ(Output(), "Hit any key");
  // A scrolled screen: the next row down is a new line, not the old one.
  device_->ScrollUp(Cell{});
  Print(0, 2, "Done");
  device_->Flush();
  EXPECT_EQ(Output(), "\r\nDone");
}

TEST_F(Win32StreamDeviceTest, EmptyPipeIsEmptyNotClosedAndItsEndClosesTheKeyboard) {
  InputRecord record;
  // Nothing written yet: the look must come back at once.
  EXPECT_EQ(device_->PeekInput(&record), PeekResult::kEmpty);
  Type("ab\r\nc\n");
  EXPECT_EQ(TakeKeys(), "ab\rc\r");  // CR LF is one Enter, LF alone is Enter
  EXPECT_EQ(device_->PeekInput(&record), PeekResult::kEmpty);
  EndInput();
  EXPECT_EQ(device_->PeekInput(&record), PeekResult::kClosed);
}

TEST_F(Win32StreamDeviceTest, BytesBecomeKeyRecordsWithScanCodesAndShift) {
  Type("A\b");
  InputRecord record;
  ASSERT_EQ(device_->PeekInput(&record), PeekResult::kRecord);
  EXPECT_TRUE(record.key_down);
  EXPECT_EQ(record.ch, 'A');
  EXPECT_EQ(record.control_state & kShiftPressed, kShiftPressed);
  device_->TakeInput();
  ASSERT_EQ(device_->PeekInput(&record), PeekResult::kRecord);
  EXPECT_EQ(record.ch, 8);
  EXPECT_EQ(record.scan_code, kScanBackspace);
}

TEST_F(Win32StreamDeviceTest, DestroyedDeviceFlushesAndUnregisters) {
  EXPECT_EQ(registered_, device_.get());
  Print(0, 0, "Enter name: ");
  device_.reset();
  EXPECT_EQ(registered_, nullptr);
  EXPECT_EQ(Output(), "Enter name: ");
}

TEST(Win32StreamDevice, FileInputEndsAtTheFileEnd) {
  char folder[MAX_PATH];
  char path[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
  ASSERT_NE(GetTempFileNameA(folder, "zsb", 0, path), 0u);
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "x\r\n", 3, &written, nullptr));
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  Win32StreamDevice device(file, INVALID_HANDLE_VALUE);
  InputRecord record;
  std::string keys;
  while (device.PeekInput(&record) == PeekResult::kRecord) {
    keys.push_back(static_cast<char>(record.ch));
    device.TakeInput();
  }
  EXPECT_EQ(keys, "x\r");
  EXPECT_EQ(device.PeekInput(&record), PeekResult::kClosed);
  CloseHandle(file);
}

}  // namespace
}  // namespace console
