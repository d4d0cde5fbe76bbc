#include "console/terminal_grid.h"

#include <algorithm>

#include "console/code_page_437.h"
#include "console/terminal_sequences.h"

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
    out->append(kSgrReset);
    return;
  }
  const int foreground = attribute & 0x0F;
  const int background = (attribute >> 4) & 0x0F;
  out->append(kSgrColourStart);
  if (attribute & kUnderscore) out->append(kSgrUnderscore);
  if (attribute & kReverseVideo) out->append(kSgrReverse);
  out->push_back(kParameterSeparator);
  AppendNumber((foreground & 8 ? 90 : 30) + AnsiColour(foreground), out);
  out->push_back(kParameterSeparator);
  AppendNumber((background & 8 ? 100 : 40) + AnsiColour(background), out);
  out->push_back(kSgrFinal);
}

void AppendCursorMove(int x, int y, std::string* out) {
  out->append(kCsi);
  AppendNumber(y + 1, out);
  out->push_back(kParameterSeparator);
  AppendNumber(x + 1, out);
  out->push_back(kCursorPositionFinal);
}

TerminalGrid::TerminalGrid(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      window_width_(width_),
      window_height_(height_),
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
  // Only a window that shows the whole buffer scrolls as the buffer does;
  // any other view is brought up to date cell by cell.
  if (repaint_ || !ViewIsWholeBuffer()) return;
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

void TerminalGrid::SetWindowSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == window_width_ && height == window_height_) return;
  if (height > height_) {
    // Rows come in above when the cursor stands on the bottom row: the
    // dialogue stays at the window's foot, and what console output knows of
    // the bottom row (a pending wrap) stays true.
    const int added = height - height_;
    const bool above = cursor_y_ == height_ - 1;
    cells_.insert(above ? cells_.begin() : cells_.end(), static_cast<size_t>(added) * width_,
                  kBlank);
    if (above) cursor_y_ += added;
    height_ = height;
  }
  window_width_ = width;
  window_height_ = height;
  shown_.assign(static_cast<size_t>(width) * height, kBlank);
  Invalidate();
}

void TerminalGrid::Invalidate() {
  repaint_ = true;
  pending_scrolls_ = 0;
  shown_cursor_x_ = -1;
  shown_cursor_y_ = -1;
}

void TerminalGrid::Render(std::string* out) {
  FollowCursor();
  RenderScrolls(out);
  for (int y = 0; y < window_height_; ++y) RenderRow(y, out);
  repaint_ = false;
  RenderCursor(out);
}

const Cell& TerminalGrid::ViewCell(int x, int y) const {
  const int bx = left_ + x;
  const int by = top_ + y;
  return bx < width_ && by < height_ ? cells_[Index(bx, by)] : kBlank;
}

bool TerminalGrid::Changed(int x, int y) const {
  return repaint_ || !SameCell(ViewCell(x, y), shown_[WindowIndex(x, y)]);
}

void TerminalGrid::FollowCursor() {
  // The view stands as far left as the cursor allows, so that the start of
  // the cursor's row (the prompt before a name) shows whenever it fits; it
  // moves up or down only as far as the cursor makes it. It never passes
  // the buffer's edges: a window as large as the buffer shows it from (0, 0).
  left_ = std::clamp(cursor_x_ - window_width_ + 1, 0, std::max(0, width_ - window_width_));
  top_ = std::clamp(top_, cursor_y_ - window_height_ + 1, cursor_y_);
  top_ = std::clamp(top_, 0, std::max(0, height_ - window_height_));
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
  out->append(static_cast<size_t>(pending_scrolls_), kLineFeed);
  pending_scrolls_ = 0;
  shown_cursor_x_ = 0;
  shown_cursor_y_ = height_ - 1;
}

void TerminalGrid::RenderRow(int y, std::string* out) {
  int x = 0;
  while (x < window_width_) {
    if (!Changed(x, y)) {
      ++x;
      continue;
    }
    int last = x;
    for (int next = x + 1; next < window_width_ && next - last <= kRunGap; ++next) {
      if (Changed(next, y)) last = next;
    }
    AppendCursorMove(x, y, out);
    for (int i = x; i <= last; ++i) {
      const Cell& cell = ViewCell(i, y);
      if (shown_attribute_ != cell.attribute) {
        AppendSgr(cell.attribute, out);
        shown_attribute_ = cell.attribute;
      }
      AppendUtf8(Cp437Glyph(cell.ch), out);
      shown_[WindowIndex(i, y)] = cell;
    }
    // With autowrap off a write into the last column leaves the cursor there
    // on some terminals and past it on others: treat it as unknown.
    shown_cursor_x_ = last + 1 < window_width_ ? last + 1 : -1;
    shown_cursor_y_ = last + 1 < window_width_ ? y : -1;
    x = last + 1;
  }
}

void TerminalGrid::RenderCursor(std::string* out) {
  const int x = window_cursor_x();
  const int y = window_cursor_y();
  if (x != shown_cursor_x_ || y != shown_cursor_y_) {
    AppendCursorMove(x, y, out);
    shown_cursor_x_ = x;
    shown_cursor_y_ = y;
  }
  if (cursor_visible_ != shown_cursor_visible_) {
    out->append(cursor_visible_ ? kCursorShow : kCursorHide);
    shown_cursor_visible_ = cursor_visible_;
  }
}

}  // namespace console
