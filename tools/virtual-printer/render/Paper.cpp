// Paper.cpp - line layout and the growing picture of one receipt.
#include "Paper.h"

#include <algorithm>

namespace vprinter {

Paper::Paper(std::function<void(const Bitmap&)> done) : done_(std::move(done)), page_(kPaperDots, 1) {}

void Paper::setLeftMargin(int dots) { left_ = std::min(std::max(dots, 0), kPaperDots - 1); }

void Paper::setAreaWidth(int dots) { width_ = std::max(dots, 1); }

void Paper::resetMargins() {
  left_ = 0;
  width_ = kPaperDots;
}

// The print area ends at the right of the paper at the latest.
int Paper::areaWidth() const { return std::min(width_, kPaperDots - left_); }

void Paper::put(const Cell& cell) {
  const int width = cell.glyph->width() * cell.scaleX;
  if (x_ + width > areaWidth() && !line_.empty()) flushLine(spacing_);
  line_.push_back({cell, x_});
  x_ += width;
}

void Paper::tabTo(int x) {
  if (x > x_ && x <= areaWidth()) x_ = x;
}

int Paper::offsetFor(int width) const {
  const int room = std::max(areaWidth() - width, 0);
  return left_ + (align_ == Align::Centre ? room / 2 : align_ == Align::Right ? room : 0);
}

void Paper::reserve(int height) {
  if (y_ + height > kMaxReceiptDots && y_ > 0) endPage();
  page_.growTo(y_ + height);
}

// Blank paper costs nothing until something is drawn below it.
void Paper::advance(int dots) { y_ = std::min(y_ + std::max(dots, 0), kMaxReceiptDots); }

void Paper::drawCell(const Placed& placed, int bottom, int offset) {
  const Cell& c = placed.cell;
  const int x = offset + placed.x;
  const int top = bottom - c.glyph->height() * c.scaleY;
  page_.draw(*c.glyph, x, top, c.scaleX, c.scaleY);
  if (c.bold) page_.draw(*c.glyph, x + 1, top, c.scaleX, c.scaleY);
  if (c.underline > 0) page_.fill(x, bottom - c.underline, c.glyph->width() * c.scaleX, c.underline);
}

// Prints the line, the cells standing on one baseline, and feeds by the
// line's height or minimumFeed, whichever is more.
void Paper::flushLine(int minimumFeed) {
  int height = 0;
  for (const Placed& p : line_) height = std::max(height, p.cell.glyph->height() * p.cell.scaleY);
  if (height > 0) {
    reserve(height);
    // A line ending in blanks centres by its printed width, as the printer does.
    const int offset = offsetFor(x_);
    for (const Placed& p : line_) drawCell(p, y_ + height, offset);
    inked_ = true;
  }
  advance(std::max(height, minimumFeed));
  line_.clear();
  x_ = 0;
}

std::vector<uint8_t> Paper::discardLine() {
  std::vector<uint8_t> bytes;
  for (const Placed& p : line_) bytes.push_back(p.cell.byte);
  line_.clear();
  x_ = 0;
  return bytes;
}

void Paper::printLineAndFeed(int dots) {
  if (line_.empty()) {
    advance(dots);
  } else {
    flushLine(dots);
  }
}

void Paper::block(const Bitmap& picture, int scaleX, int scaleY) {
  if (!line_.empty()) flushLine(0);
  const int height = picture.height() * scaleY;
  reserve(height);
  page_.draw(picture, offsetFor(picture.width() * scaleX), y_, scaleX, scaleY);
  advance(height);
  inked_ = inked_ || !picture.empty();
}

void Paper::cut(int feed) {
  printLineAndFeed(feed);
  finish();
}

void Paper::finish() {
  if (!line_.empty()) flushLine(0);
  endPage();
}

Bitmap Paper::sheet() const {
  if (!inked_) return Bitmap();
  Bitmap sheet = page_;
  sheet.growTo(y_);
  sheet.cropTo(std::max(y_, 1));
  return sheet;
}

void Paper::endPage() {
  if (inked_) done_(sheet());
  page_ = Bitmap(kPaperDots, 1);
  y_ = 0;
  inked_ = false;
}

}  // namespace vprinter
