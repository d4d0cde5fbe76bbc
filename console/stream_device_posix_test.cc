#include "console/stream_device_posix.h"

#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace console {
namespace {

// A stream device between two pipes: the test writes what standard input
// would hold and reads what standard output received.
class StreamDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(pipe(input_), 0);
    ASSERT_EQ(pipe(output_), 0);
    fcntl(output_[0], F_SETFL, O_NONBLOCK);
    device_ = std::make_unique<StreamDevice>(input_[0], output_[1]);
  }
  void TearDown() override {
    device_.reset();
    for (int fd : {input_[0], input_[1], output_[0], output_[1]}) {
      if (fd >= 0) close(fd);
    }
  }

  void Print(int x, int y, std::string_view text) {
    std::vector<Cell> cells;
    for (char c : text) cells.push_back({static_cast<uint8_t>(c), 0x07});
    device_->WriteCells(x, y, cells.data(), static_cast<int>(cells.size()));
  }

  std::string Output() {
    std::string out;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(output_[0], buffer, sizeof(buffer))) > 0) out.append(buffer, n);
    return out;
  }

  void Type(std::string_view bytes) {
    ASSERT_EQ(write(input_[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }

  void EndInput() {
    close(input_[1]);
    input_[1] = -1;
  }

  int input_[2] = {-1, -1};
  int output_[2] = {-1, -1};
  std::unique_ptr<StreamDevice> device_;
};

TEST_F(StreamDeviceTest, CellsOfARowGoOutAsOneLineWhenTheCursorMovesOn) {
  Print(0, 0, "Input File: ");
  device_->SetCursorPosition(12, 0);
  EXPECT_EQ(Output(), "");  // the row may still change
  Print(12, 0, "in.t");
  Print(15, 0, " ");  // a Backspace blanks the last cell again
  device_->SetCursorPosition(0, 1);
  Print(0, 1, std::string_view("caf\x82", 4));
  device_->SetCursorPosition(0, 3);  // a row skipped shows as an empty line
  EXPECT_EQ(Output(), "Input File: in. \ncaf\x82\n\n");
}

TEST_F(StreamDeviceTest, ScrollsAtTheBottomEndLinesAsTheConsoleShowsThem) {
  const int bottom = StreamDevice::kHeight - 1;
  device_->SetCursorPosition(0, bottom);
  Output();
  Print(0, bottom, "Done");
  device_->ScrollUp({' ', 0x07});
  device_->SetCursorPosition(0, bottom);
  Print(0, bottom, "----");
  device_->ScrollUp({' ', 0x07});  // a full row left the wrap pending: two scrolls
  device_->ScrollUp({' ', 0x07});
  device_->SetCursorPosition(0, bottom);
  EXPECT_EQ(Output(), "Done\n----\n\n");
}

TEST_F(StreamDeviceTest, ClearingPrintsNothingButEndsAHeldLine) {
  device_->FillCharacters(' ', StreamDevice::kWidth * StreamDevice::kHeight);
  device_->SetCursorPosition(0, 0);
  EXPECT_EQ(Output(), "");
  Print(0, 3, "prompt: ");
  device_->FillCharacters(' ', StreamDevice::kWidth * StreamDevice::kHeight);
  device_->SetCursorPosition(0, 0);
  Print(0, 0, "title");
  EXPECT_EQ(Output(), "\n\n\nprompt: \n");
  device_.reset();  // the line held at the end goes out without a line end
  EXPECT_EQ(Output(), "title");
}

TEST_F(StreamDeviceTest, InputBytesBecomeKeysAndEndOfInputClosesTheKeyboard) {
  InputRecord record;
  EXPECT_EQ(device_->PeekInput(&record), PeekResult::kEmpty);
  Type("aB\r\nc\n\r\x08");
  EndInput();
  std::vector<std::pair<int, int>> keys;  // character and scan code
  while (device_->PeekInput(&record) == PeekResult::kRecord) {
    keys.emplace_back(record.ch, record.scan_code);
    device_->TakeInput();
  }
  EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{
                      {'a', 0x1E}, {'B', 0x30}, {13, 0x1C}, {'c', 0x2E}, {13, 0x1C}, {13, 0x1C},
                      {8, 0x0E}}));
  EXPECT_EQ(device_->PeekInput(&record), PeekResult::kClosed);
}

TEST_F(StreamDeviceTest, PeekLeavesTheRecordForTake) {
  Type("xy");
  InputRecord record;
  ASSERT_EQ(device_->PeekInput(&record), PeekResult::kRecord);
  EXPECT_EQ(record.ch, 'x');
  ASSERT_EQ(device_->PeekInput(&record), PeekResult::kRecord);
  EXPECT_EQ(record.ch, 'x');
  device_->TakeInput();
  ASSERT_EQ(device_->PeekInput(&record), PeekResult::kRecord);
  EXPECT_EQ(record.ch, 'y');
}

}  // namespace
}  // namespace console
