#include "console/terminal_grid.h"

#include <algorithm>

#include "console/code_page_437.h"

namespace console {
namespace {

constexpr uint16_t kDefaultAttribute = 0x07;
constexpr Cell kBlank = {' ', kDefaultAttribute};

// Attribute bits beyond the colours that the console also knows.
constexpr uint16_t kUnderscore = 0x8000;
constexpr uint16_t kReverseVideo = 0x4000;

// Up to this many unchanged cells between two changed ones are sent again
// rather than jumped over: a cursor move costs about as many bytes.
constexpr int kRunGap = 4;

// The console numbers colours blue 1, green 2, red 4; SGR numbers them red 1,
// green 2, blue 4. The intensity bit picks the bright set.
int AnsiColour(int console_colour) {
  return ((console_colour & 1) << 2) | (console_colour & 2) | ((console_colour & 4) >> 2);
}

void AppendNumber(int value, std::string* out) { out->append(std::to_string(value)); }

bool SameCell(const Cell& a, const Cell& b) { return a.ch == b.ch && a.attribute == b.attribute; }

}  // namespace

void AppendSgr(uint16_t attribute, std::string* out) {
  if ((attribute & (0x00FF | kUnderscore | kReverseVideo)) == kDefaultAttribute) {
    out->append("\x1b[0m");
    return;
  }
  const int foreground = attribute & 0x0F;
  const int background = (attribute >> 4) & 0x0F;
  out->append("\x1b[0");
  if (attribute & kUnderscore) out->append(";4");
  if (attribute & kReverseVideo) out->append(";7");
  out->push_back(';');
  AppendNumber((foreground & 8 ? 90 : 30) + AnsiColour(foreground), out);
  out->push_back(';');
  AppendNumber((background & 8 ? 100 : 40) + AnsiColour(background), out);
  out->push_back('m');
}

void AppendCursorMove(int x, int y, std::string* out) {
  out->append("\x1b[");
  AppendNumber(y + 1, out);
  out->push_back(';');
  AppendNumber(x + 1, out);
  out->push_back('H');
}

TerminalGrid::TerminalGrid(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      cells_(static_cast<size_t>(width_) * height_, kBlank),
      shown_(cells_.size(), kBlank) {}

void TerminalGrid::WriteCells(int x, int y, const Cell* cells, int count) {
  if (y < 0 || y >= height_) return;
  for (int i = 0; i < count; ++i) {
    if (x + i >= 0 && x + i < width_) cells_[Index(x + i, y)] = cells[i];
  }
}

void TerminalGrid::ScrollUp(Cell fill) {
  std::copy(cells_.begin() + width_, cells_.end(), cells_.begin());
  std::fill(cells_.end() - width_, cells_.end(), fill);
  if (repaint_) return;  // everything goes out anyway
  // The terminal's picture scrolls the same way once the line feed is sent;
  // the row it brings in is blank in the default colours (the renderer
  // resets the attribute first).
  std::copy(shown_.begin() + width_, shown_.end(), shown_.begin());
  std::fill(shown_.end() - width_, shown_.end(), kBlank);
  if (++pending_scrolls_ >= height_) Invalidate();
}

void TerminalGrid::SetCursor(int x, int y) {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
  cursor_x_ = x;
  cursor_y_ = y;
}

void TerminalGrid::FillCharacters(uint8_t ch, int count) {
  const int n = std::clamp(count, 0, width_ * height_);
  for (int i = 0; i < n; ++i) cells_[i].ch = ch;
}

void TerminalGrid::FillAttributes(uint16_t attribute, int count) {
  const int n = std::clamp(count, 0, width_ * height_);
  for (int i = 0; i < n; ++i) cells_[i].attribute = attribute;
}

void TerminalGrid::SetCursorVisible(bool visible) { cursor_visible_ = visible; }

void TerminalGrid::Resize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == width_ && height == height_) return;
  std::vector<Cell> resized(static_cast<size_t>(width) * height, kBlank);
  for (int y = 0; y < std::min(height, height_); ++y) {
    for (int x = 0; x < std::min(width, width_); ++x) {
      resized[static_cast<size_t>(y) * width + x] = cells_[Index(x, y)];
    }
  }
  cells_.swap(resized);
  shown_.assign(cells_.size(), kBlank);
  width_ = width;
  height_ = height;
  cursor_x_ = std::min(cursor_x_, width_ - 1);
  cursor_y_ = std::min(cursor_y_, height_ - 1);
  Invalidate();
}

void TerminalGrid::Invalidate() {
  repaint_ = true;
  pending_scrolls_ = 0;
  shown_cursor_x_ = -1;
  shown_cursor_y_ = -1;
}

void TerminalGrid::Render(std::string* out) {
  RenderScrolls(out);
  for (int y = 0; y < height_; ++y) RenderRow(y, out);
  repaint_ = false;
  RenderCursor(out);
}

bool TerminalGrid::Changed(int index) const {
  return repaint_ || !SameCell(cells_[index], shown_[index]);
}

void TerminalGrid::RenderScrolls(std::string* out) {
  if (pending_scrolls_ == 0) return;
  // A line feed on the bottom row scrolls the terminal as the console's
  // scroll does, and hands the lost top row to the terminal's scrollback.
  if (shown_attribute_ != kDefaultAttribute) {
    AppendSgr(kDefaultAttribute, out);
    shown_attribute_ = kDefaultAttribute;
  }
  AppendCursorMove(0, height_ - 1, out);
  out->append(static_cast<size_t>(pending_scrolls_), '\n');
  pending_scrolls_ = 0;
  shown_cursor_x_ = 0;
  shown_cursor_y_ = height_ - 1;
}

void TerminalGrid::RenderRow(int y, std::string* out) {
  int x = 0;
  while (x < width_) {
    if (!Changed(Index(x, y))) {
      ++x;
      continue;
    }
    int last = x;
    for (int next = x + 1; next < width_ && next - last <= kRunGap; ++next) {
      if (Changed(Index(next, y))) last = next;
    }
    AppendCursorMove(x, y, out);
    for (int i = x; i <= last; ++i) {
      const Cell& cell = cells_[Index(i, y)];
      if (shown_attribute_ != cell.attribute) {
        AppendSgr(cell.attribute, out);
        shown_attribute_ = cell.attribute;
      }
      AppendUtf8(Cp437Glyph(cell.ch), out);
      shown_[Index(i, y)] = cell;
    }
    // With autowrap off a write into the last column leaves the cursor there
    // on some terminals and past it on others: treat it as unknown.
    shown_cursor_x_ = last + 1 < width_ ? last + 1 : -1;
    shown_cursor_y_ = last + 1 < width_ ? y : -1;
    x = last + 1;
  }
}

void TerminalGrid::RenderCursor(std::string* out) {
  if (cursor_x_ != shown_cursor_x_ || cursor_y_ != shown_cursor_y_) {
    AppendCursorMove(cursor_x_, cursor_y_, out);
    shown_cursor_x_ = cursor_x_;
    shown_cursor_y_ = cursor_y_;
  }
  if (cursor_visible_ != shown_cursor_visible_) {
    out->append(cursor_visible_ ? "\x1b[?25h" : "\x1b[?25l");
    shown_cursor_visible_ = cursor_visible_;
  }
}

}  // namespace console
