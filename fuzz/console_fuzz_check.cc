#include "fuzz/console_fuzz_check.h"

#include <cstdint>

#include "console/console_output.h"
#include "console/console_state.h"
#include "console/line_input.h"
#include "testing/memory_console_device.h"

namespace fuzz {
namespace {

using console::Cell;
using console::MemoryConsoleDevice;

constexpr int kMaxWidth = 300;
constexpr int kMaxHeight = 100;
// A run long enough to pass the line's limit in one step.
constexpr int kMaxRun = 12000;

// The in-memory console that notes the first call reaching outside its
// buffer. The memory device would quietly drop such a write; a terminal or
// a console window may not.
class CheckedDevice : public MemoryConsoleDevice {
 public:
  CheckedDevice(int width, int height) : MemoryConsoleDevice(width, height) {}

  void WriteCells(int x, int y, const Cell* cells, int count) override {
    if (count < 1 || count > console::kMaxPieceCells) {
      Breach("write of " + std::to_string(count) + " cells");
    } else if (x < 0 || y < 0 || y >= height() || x + count > width()) {
      Breach("write of " + std::to_string(count) + " cells at " + Where(x, y));
    }
    MemoryConsoleDevice::WriteCells(x, y, cells, count);
  }
  void SetCursorPosition(int x, int y) override {
    if (x < 0 || y < 0 || x >= width() || y >= height()) Breach("cursor set to " + Where(x, y));
    MemoryConsoleDevice::SetCursorPosition(x, y);
  }
  void FillCharacters(uint8_t ch, int count) override {
    CheckFill(count);
    MemoryConsoleDevice::FillCharacters(ch, count);
  }
  void FillAttributes(uint16_t attribute, int count) override {
    CheckFill(count);
    MemoryConsoleDevice::FillAttributes(attribute, count);
  }

  /// Notes a breach unless one is noted already.
  void Breach(const std::string& what) {
    if (breach_.empty()) breach_ = what + " on a " + Size();
  }
  /// The first breach, or empty.
  const std::string& breach() const { return breach_; }

 private:
  void CheckFill(int count) {
    if (count < 0 || count > width() * height()) Breach("fill of " + std::to_string(count));
  }
  std::string Where(int x, int y) const {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
  }
  std::string Size() const { return std::to_string(width()) + " x " + std::to_string(height()); }

  std::string breach_;
};

// The fuzz input read as a script, one byte at a time; zeros once it is used up.
class Script {
 public:
  explicit Script(std::string_view bytes) : bytes_(bytes) {}
  bool done() const { return next_ >= bytes_.size(); }
  uint8_t Byte() { return done() ? 0 : static_cast<uint8_t>(bytes_[next_++]); }
  int Word() {
    int high = Byte();
    return high * 256 + Byte();
  }
  std::string_view Text(size_t length) {
    std::string_view text = bytes_.substr(next_ < bytes_.size() ? next_ : bytes_.size(), length);
    next_ += text.size();
    return text;
  }

 private:
  std::string_view bytes_;
  size_t next_ = 0;
};

// One step the keyboard or the window can take at any time, also while a
// line is read: a resize, or keys queued. False for a step only the program
// itself can take (printing, moving the cursor, reading a line).
bool KeyboardOrWindowStep(uint8_t op, Script& script, CheckedDevice& device) {
  switch (op % 16) {
    case 0: {
      int width = 1 + script.Word() % kMaxWidth;
      int height = 1 + script.Byte() % kMaxHeight;
      device.Resize(width, height);
      return true;
    }
    case 1: {  // any record the console could queue
      console::InputRecord record;
      uint8_t kind = script.Byte();
      record.type = static_cast<console::EventType>(kind % 5);
      record.key_down = (kind & 0x80) == 0;
      record.ch = script.Byte();
      record.scan_code = script.Byte();
      uint8_t state = script.Byte();
      record.control_state = (state & 0x1F) | (state & 0x20 ? console::kCapsLockOn : 0) |
                             (state & 0x40 ? console::kEnhancedKey : 0);
      device.PushRecord(record);
      return true;
    }
    case 2:
    case 3:
    case 4: device.PressKey(script.Byte()); return true;
    case 5: device.TypeText("\r"); return true;
    case 6: device.TypeText("\b"); return true;
    case 7: {  // a long paste, enough to reach the line's limit
      int count = script.Word() % kMaxRun;
      uint8_t ch = script.Byte();
      for (int i = 0; i < count; ++i) device.PressKey(ch);
      return true;
    }
    default: return false;
  }
}

}  // namespace

std::string CheckConsoleSession(std::string_view input) {
  Script script(input);
  CheckedDevice device(1 + script.Byte() % kMaxWidth, 1 + script.Byte() % kMaxHeight);
  console::SetUpConsole(&device);
  // While a line is read the keyboard and the window go on changing: each
  // look at the keyboard takes the next step of the script, until the script
  // is used up and the keyboard closes.
  device.set_sleep_hook([&script](MemoryConsoleDevice& memory) {
    CheckedDevice& checked = static_cast<CheckedDevice&>(memory);
    if (script.done()) {
      checked.CloseKeyboard();
      return;
    }
    KeyboardOrWindowStep(script.Byte(), script, checked);
  });

  auto read_line = [&device]() {
    std::string line = console::ReadLine();
    if (line.size() > console::kLineLimit) {
      device.Breach("line of " + std::to_string(line.size()) + " bytes");
    }
    for (char c : line) {
      if (static_cast<uint8_t>(c) < 0x20) device.Breach("control byte in the line");
    }
  };

  while (!script.done() && device.breach().empty()) {
    uint8_t op = script.Byte();
    if (KeyboardOrWindowStep(op, script, device)) continue;
    switch (op % 16) {
      case 8: console::PrintText(script.Text(script.Byte())); break;
      case 9: console::PrintNewline(); break;
      case 10: console::ClearScreen(); break;
      case 11: {
        int column = static_cast<int16_t>(script.Word());
        int row = static_cast<int16_t>(script.Word());
        console::SetCursor(column, row);
        break;
      }
      case 12: console::ScrollUp(); break;
      default: read_line(); break;
    }
    if (device.cursor_x() >= device.width() || device.cursor_y() >= device.height()) {
      device.Breach("cursor left at (" + std::to_string(device.cursor_x()) + ", " +
                    std::to_string(device.cursor_y()) + ")");
    }
  }
  // Whatever is still queued is read line by line, with the keyboard closed.
  device.CloseKeyboard();
  do {
    read_line();
  } while (device.queued_records() > 0 && device.breach().empty());
  console::ResetConsoleStateForTesting();
  return device.breach();
}

}  // namespace fuzz
