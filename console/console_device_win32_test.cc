// The Windows console device on a real console: cells written, scrolled and
// filled are read back with ReadConsoleOutputA, key records are put into the
// console's input buffer with WriteConsoleInputA. The process must have a
// console (under Wine: standard input a terminal); CTest runs this binary
// in a tmux window (scripts/wine-run.sh --terminal).
#include "console/console_device_win32.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "console/console_state.h"
#include "console/line_input.h"
#include "console/platform_console.h"

namespace console {
namespace {

constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE OpenConsoleFile(const char* name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING, 0,
                     nullptr);
}

// The console's device file, waited for: under Wine the console of a
// program started from a terminal may come up a moment after the program
// (bounded: 10 s, then the open's failure is the answer).
HANDLE WaitForConsoleFile(const char* name) {
  HANDLE handle = OpenConsoleFile(name);
  for (int tries = 0; handle == INVALID_HANDLE_VALUE && tries < 100; ++tries) {
    Sleep(100);
    handle = OpenConsoleFile(name);
  }
  return handle;
}

INPUT_RECORD KeyRecord(bool down, char ch, WORD scan_code, DWORD control_state = 0) {
  INPUT_RECORD record = {};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualScanCode = scan_code;
  record.Event.KeyEvent.uChar.AsciiChar = ch;
  record.Event.KeyEvent.dwControlKeyState = control_state;
  return record;
}

// A device on the console's own screen buffer and input buffer, opened by
// their device names, with the screen blanked and the input queue empty.
class Win32ConsoleDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = WaitForConsoleFile("CONOUT$");
    keys_ = WaitForConsoleFile("CONIN$");
    ASSERT_NE(screen_, INVALID_HANDLE_VALUE)
        << "no console: run this test in a terminal (scripts/wine-run.sh --terminal)";
    ASSERT_NE(keys_, INVALID_HANDLE_VALUE);
    handles_.output = screen_;
    handles_.standard_output = screen_;
    handles_.keyboard = keys_;
    FlushConsoleInputBuffer(keys_);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(screen_, &info));
    width_ = info.dwSize.X;
    height_ = info.dwSize.Y;
    ASSERT_GE(width_, 20);
    ASSERT_GE(height_, 5);
    device_.FillCharacters(' ', width_ * height_);
    device_.FillAttributes(0x07, width_ * height_);
    device_.SetCursorPosition(0, 0);
  }
  void TearDown() override {
    FlushConsoleInputBuffer(keys_);
    CloseHandle(screen_);
    CloseHandle(keys_);
  }

  // `count` cells of row `y` from column `x`, read back from the console.
  std::vector<CHAR_INFO> ReadCells(int x, int y, int count) {
    std::vector<CHAR_INFO> cells(static_cast<size_t>(count));
    SMALL_RECT region = {static_cast<SHORT>(x), static_cast<SHORT>(y),
                         static_cast<SHORT>(x + count - 1), static_cast<SHORT>(y)};
    EXPECT_TRUE(ReadConsoleOutputA(screen_, cells.data(), COORD{static_cast<SHORT>(count), 1},
                                   COORD{0, 0}, &region));
    return cells;
  }

  // The bytes of row `y`, trailing blanks cut.
  std::string Row(int y) {
    std::string text;
    for (const CHAR_INFO& cell : ReadCells(0, y, width_)) {
      text.push_back(cell.Char.AsciiChar);
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  }

  void Write(int x, int y, const std::string& text, uint16_t attribute = 0x07) {
    std::vector<Cell> cells;
    for (char c : text) cells.push_back({static_cast<uint8_t>(c), attribute});
    device_.WriteCells(x, y, cells.data(), static_cast<int>(cells.size()));
  }

  void Queue(const std::vector<INPUT_RECORD>& records) {
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputA(keys_, records.data(), static_cast<DWORD>(records.size()),
                                   &written));
    ASSERT_EQ(written, records.size());
  }

  HANDLE screen_ = INVALID_HANDLE_VALUE;
  HANDLE keys_ = INVALID_HANDLE_VALUE;
  Win32ConsoleHandles handles_;
  Win32ConsoleDevice device_{handles_};
  int width_ = 0;
  int height_ = 0;
};

TEST_F(Win32ConsoleDeviceTest, CellsLandUnchangedClippedAtTheRightEdgeAndTheCursorStays) {
  // Control bytes are glyphs here: none moves the cursor, rings or wraps.
  const std::string bytes("A\x07\x0A\x0D\x08\x09\xDB\xFF", 8);
  device_.SetCursorPosition(1, 1);
  Write(3, 2, bytes, 0x1E);
  std::vector<CHAR_INFO> cells = ReadCells(3, 2, 8);
  for (size_t i = 0; i < bytes.size(); ++i) {
    EXPECT_EQ(static_cast<uint8_t>(cells[i].Char.AsciiChar), static_cast<uint8_t>(bytes[i]))
        << "cell " << i;
    EXPECT_EQ(cells[i].Attributes, 0x1E) << "cell " << i;
  }
  EXPECT_EQ(Row(3), "");
  // Five cells from two columns before the edge: two land, none wraps.
  Write(width_ - 2, 3, "vwxyz");
  EXPECT_EQ(Row(3), std::string(width_ - 2, ' ') + "vw");
  EXPECT_EQ(Row(4), "");
  ScreenInfo info;
  ASSERT_TRUE(device_.GetScreenBufferInfo(&info));
  EXPECT_EQ(info.cursor_x, 1);
  EXPECT_EQ(info.cursor_y, 1);
  EXPECT_EQ(info.width, width_);
  EXPECT_EQ(info.height, height_);
}

TEST_F(Win32ConsoleDeviceTest, ScrollMovesEveryRowUpAndFillsTheBottomRow) {
  Write(0, 0, "first");
  Write(0, 1, "second");
  Write(0, height_ - 1, "bottom");
  device_.SetCursorPosition(4, height_ - 1);
  device_.ScrollUp(Cell{'#', 0x2F});
  EXPECT_EQ(Row(0), "second");
  EXPECT_EQ(Row(height_ - 2), "bottom");
  EXPECT_EQ(Row(height_ - 1), std::string(width_, '#'));
  EXPECT_EQ(ReadCells(0, height_ - 1, 1)[0].Attributes, 0x2F);
  ScreenInfo info;
  ASSERT_TRUE(device_.GetScreenBufferInfo(&info));
  EXPECT_EQ(info.cursor_x, 4);
  EXPECT_EQ(info.cursor_y, height_ - 1);
}

TEST_F(Win32ConsoleDeviceTest, FillsRunRowByRowFromTheTopLeft) {
  device_.FillCharacters('*', width_ + 3);
  device_.FillAttributes(0x4E, width_ + 3);
  EXPECT_EQ(Row(0), std::string(width_, '*'));
  EXPECT_EQ(Row(1), "***");
  EXPECT_EQ(ReadCells(2, 1, 2)[0].Attributes, 0x4E);
  EXPECT_EQ(ReadCells(2, 1, 2)[1].Attributes, 0x07);
}

TEST_F(Win32ConsoleDeviceTest, SizeIsTheWholeBufferNotTheWindow) {
  // A buffer taller than any window: the device must report all of it.
  COORD tall = {static_cast<SHORT>(width_), static_cast<SHORT>(height_ + 50)};
  if (!SetConsoleScreenBufferSize(screen_, tall)) {
    GTEST_SKIP() << "this console does not let its buffer be resized";
  }
  ScreenInfo info;
  ASSERT_TRUE(device_.GetScreenBufferInfo(&info));
  EXPECT_EQ(info.height, height_ + 50);
  device_.SetCursorPosition(0, height_ + 49);
  Write(0, height_ + 49, "last row");
  EXPECT_EQ(Row(height_ + 49), "last row");
  SetConsoleScreenBufferSize(screen_, COORD{static_cast<SHORT>(width_), static_cast<SHORT>(height_)});
}

TEST_F(Win32ConsoleDeviceTest, CursorMovesInsideTheBufferOnlyAndItsRecordRoundTrips) {
  ScreenInfo info;
  device_.SetCursorPosition(5, 3);
  ASSERT_TRUE(device_.GetScreenBufferInfo(&info));
  EXPECT_EQ(info.cursor_x, 5);
  EXPECT_EQ(info.cursor_y, 3);
  device_.SetCursorPosition(width_, 0);
  device_.SetCursorPosition(0, height_);
  device_.SetCursorPosition(-1, 0);
  ASSERT_TRUE(device_.GetScreenBufferInfo(&info));
  EXPECT_EQ(info.cursor_x, 5);
  EXPECT_EQ(info.cursor_y, 3);

  CursorInfo before;
  ASSERT_TRUE(device_.GetCursorInfo(&before));
  device_.SetCursorInfo(CursorInfo{50, 0});
  CursorInfo read;
  ASSERT_TRUE(device_.GetCursorInfo(&read));
  EXPECT_EQ(read.size, 50u);
  EXPECT_EQ(read.visible, 0u);
  // The output handle cannot be asked: standard output's record is read.
  Win32ConsoleHandles no_output = handles_;
  no_output.output = INVALID_HANDLE_VALUE;
  Win32ConsoleDevice fallback(no_output);
  ASSERT_TRUE(fallback.GetCursorInfo(&read));
  EXPECT_EQ(read.size, 50u);
  no_output.standard_output = INVALID_HANDLE_VALUE;
  Win32ConsoleDevice neither(no_output);
  EXPECT_FALSE(neither.GetCursorInfo(&read));
  EXPECT_FALSE(neither.GetScreenBufferInfo(&info));
  device_.SetCursorInfo(before);
}

TEST_F(Win32ConsoleDeviceTest, InputRecordsArePeekedInPlaceAndTakenOneAtATime) {
  INPUT_RECORD mouse = {};
  mouse.EventType = MOUSE_EVENT;
  // Under Wine a look after written records with modifier states now and
  // then stalls for about ten seconds (Wine with no display); CTest's time
  // limit allows for it.
  Queue({KeyRecord(true, '!', 0x0102, SHIFT_PRESSED | ENHANCED_KEY), KeyRecord(false, '!', 0x02),
         mouse, KeyRecord(true, static_cast<char>(0x82), 0x12, LEFT_ALT_PRESSED)});
  InputRecord record;
  ASSERT_EQ(device_.PeekInput(&record), PeekResult::kRecord);
  ASSERT_EQ(device_.PeekInput(&record), PeekResult::kRecord);  // still there
  EXPECT_EQ(record.type, EventType::kKey);
  EXPECT_TRUE(record.key_down);
  EXPECT_EQ(record.ch, '!');
  EXPECT_EQ(record.scan_code, 0x02);  // the low byte only
  EXPECT_EQ(record.control_state, kShiftPressed | kEnhancedKey);
  device_.TakeInput();
  ASSERT_EQ(device_.PeekInput(&record), PeekResult::kRecord);
  EXPECT_FALSE(record.key_down);
  device_.TakeInput();
  ASSERT_EQ(device_.PeekInput(&record), PeekResult::kRecord);
  EXPECT_EQ(record.type, EventType::kMouse);
  device_.TakeInput();
  ASSERT_EQ(device_.PeekInput(&record), PeekResult::kRecord);
  EXPECT_EQ(record.ch, 0x82);
  EXPECT_EQ(record.control_state, kLeftAltPressed);
  device_.TakeInput();
  // Wine's console now and then queues a lone Shift key-down record of its
  // own after written records with modifier states; the queue is emptied
  // before the empty look.
  FlushConsoleInputBuffer(keys_);
  EXPECT_EQ(device_.PeekInput(&record), PeekResult::kEmpty);
  // Taking from an empty queue must come back, not wait for a key.
  device_.TakeInput();

  Win32ConsoleHandles no_keyboard = handles_;
  no_keyboard.keyboard = INVALID_HANDLE_VALUE;
  Win32ConsoleDevice gone(no_keyboard);
  EXPECT_EQ(gone.PeekInput(&record), PeekResult::kClosed);
  gone.TakeInput();
}

// Start-up on the real console, as schedule-builder makes it.
class PlatformConsoleTest : public Win32ConsoleDeviceTest {
 protected:
  void SetUp() override {
    Win32ConsoleDeviceTest::SetUp();
    saved_input_ = GetStdHandle(STD_INPUT_HANDLE);
    saved_output_ = GetStdHandle(STD_OUTPUT_HANDLE);
    saved_error_ = GetStdHandle(STD_ERROR_HANDLE);
  }
  void TearDown() override {
    ClosePlatformConsole();
    ResetConsoleStateForTesting();
    SetStdHandle(STD_INPUT_HANDLE, saved_input_);
    SetStdHandle(STD_OUTPUT_HANDLE, saved_output_);
    SetStdHandle(STD_ERROR_HANDLE, saved_error_);
    Win32ConsoleDeviceTest::TearDown();
  }

  HANDLE saved_input_ = nullptr;
  HANDLE saved_output_ = nullptr;
  HANDLE saved_error_ = nullptr;
};

TEST_F(PlatformConsoleTest, KeyboardIsTheConsoleWhenStandardInputIsRedirected) {
  HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING,
                           0, nullptr);
  ASSERT_NE(nul, INVALID_HANDLE_VALUE);
  // Standard input and standard output both redirected; standard error is
  // the console, so the picture goes there.
  SetStdHandle(STD_INPUT_HANDLE, nul);
  SetStdHandle(STD_OUTPUT_HANDLE, nul);
  SetStdHandle(STD_ERROR_HANDLE, screen_);
  Queue({KeyRecord(true, 'o', 0x18), KeyRecord(false, 'o', 0x18), KeyRecord(true, 'k', 0x25),
         KeyRecord(true, '\r', 0x1C)});
  std::unique_ptr<ConsoleDevice> device = OpenPlatformConsole();
  SetUpConsole(device.get());
  EXPECT_EQ(ReadLine(), "ok");
  EXPECT_EQ(Row(0), "ok");  // the echo
  ClosePlatformConsole();
  CloseHandle(nul);
}

TEST_F(PlatformConsoleTest, BothStreamsRedirectedStillShowOnTheConsole) {
  HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING,
                           0, nullptr);
  ASSERT_NE(nul, INVALID_HANDLE_VALUE);
  SetStdHandle(STD_INPUT_HANDLE, nul);
  SetStdHandle(STD_OUTPUT_HANDLE, nul);
  SetStdHandle(STD_ERROR_HANDLE, nul);
  Queue({KeyRecord(true, 'x', 0x2D), KeyRecord(true, '\r', 0x1C)});
  std::unique_ptr<ConsoleDevice> device = OpenPlatformConsole();
  SetUpConsole(device.get());
  EXPECT_EQ(ReadLine(), "x");
  EXPECT_EQ(Row(0), "x");
  ClosePlatformConsole();
  CloseHandle(nul);
}

TEST_F(PlatformConsoleTest, ModesAreSetForTheRunAndGivenBackAtTheEnd) {
  SetStdHandle(STD_INPUT_HANDLE, keys_);
  SetStdHandle(STD_OUTPUT_HANDLE, screen_);
  const DWORD input_before = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;
  const DWORD output_before = ENABLE_PROCESSED_OUTPUT;
  ASSERT_TRUE(SetConsoleMode(keys_, input_before));
  ASSERT_TRUE(SetConsoleMode(screen_, output_before));
  std::unique_ptr<ConsoleDevice> device = OpenPlatformConsole();
  DWORD mode = 0xFFFF;
  ASSERT_TRUE(GetConsoleMode(keys_, &mode));
  EXPECT_EQ(mode, 0u);
  ASSERT_TRUE(GetConsoleMode(screen_, &mode));
  EXPECT_EQ(mode, static_cast<DWORD>(ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT));
  ClosePlatformConsole();
  ASSERT_TRUE(GetConsoleMode(keys_, &mode));
  EXPECT_EQ(mode, input_before);
  ASSERT_TRUE(GetConsoleMode(screen_, &mode));
  EXPECT_EQ(mode, output_before);
  // A device that outlives the end reads no keys and never waits.
  InputRecord record;
  EXPECT_EQ(device->PeekInput(&record), PeekResult::kClosed);
}

TEST_F(PlatformConsoleTest, TypedNamesReachTheFileSystemInItsCodePage) {
  const UINT console_code_page = GetConsoleCP();
  if (!SetConsoleCP(437)) GTEST_SKIP() << "the console code page cannot be set";
  std::unique_ptr<ConsoleDevice> device = OpenPlatformConsole();
  if (AreFileApisANSI() && GetACP() == 1252) {
    // e-acute: 0x82 at an OEM console, 0xE9 to the ANSI file API.
    EXPECT_EQ(NameForFileSystem("caf\x82.txt"), "caf\xE9.txt");
    // No ANSI equivalent (a box corner): a name no file can have.
    EXPECT_EQ(NameForFileSystem("a\xDA"), "a?");
  }
  EXPECT_EQ(NameForFileSystem("in.txt"), "in.txt");
  // A pasted path ("Copy as path") loses its one pair of wrapping quotes;
  // a lone quote, or quotes inside, stay (and make a bad file name).
  EXPECT_EQ(NameForFileSystem("\"Z:\\tmp\\in.txt\""), "Z:\\tmp\\in.txt");
  EXPECT_EQ(NameForFileSystem("\"\""), "");
  EXPECT_EQ(NameForFileSystem("\"in.txt"), "\"in.txt");
  EXPECT_EQ(NameForFileSystem("a\"b\".txt"), "a\"b\".txt");
  SetConsoleCP(console_code_page);
}

}  // namespace
}  // namespace console
