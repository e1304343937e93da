// Bitmap.cpp - a one-bit picture in dots.
#include "Bitmap.h"

#include <algorithm>

namespace vprinter {

Bitmap::Bitmap(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxDots || height > kMaxDots) return;
  width_ = width;
  height_ = height;
  dots_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

bool Bitmap::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return dots_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] != 0;
}

void Bitmap::set(int x, int y, bool black) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  dots_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = black ? 1 : 0;
}

void Bitmap::fill(int x, int y, int width, int height) {
  const int x0 = std::max(x, 0), x1 = std::min(x + width, width_);
  const int y0 = std::max(y, 0), y1 = std::min(y + height, height_);
  for (int row = y0; row < y1; ++row) {
    for (int column = x0; column < x1; ++column) set(column, row);
  }
}

void Bitmap::frame(int x, int y, int width, int height) {
  fill(x, y, width, 1);
  fill(x, y + height - 1, width, 1);
  fill(x, y, 1, height);
  fill(x + width - 1, y, 1, height);
}

void Bitmap::draw(const Bitmap& source, int x, int y, int scaleX, int scaleY) {
  for (int row = 0; row < source.height(); ++row) {
    for (int column = 0; column < source.width(); ++column) {
      if (source.at(column, row)) fill(x + column * scaleX, y + row * scaleY, scaleX, scaleY);
    }
  }
}

void Bitmap::growTo(int height) {
  height = std::min(height, kMaxDots);
  if (height <= height_ || width_ == 0) return;
  height_ = height;
  dots_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
}

void Bitmap::cropTo(int height) {
  if (height < 0 || height >= height_) return;
  height_ = height;
  dots_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
}

}  // namespace vprinter
