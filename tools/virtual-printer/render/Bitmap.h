// Bitmap.h - a one-bit picture in dots: the paper, a glyph, a symbol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vprinter {

class Bitmap {
 public:
  Bitmap() = default;
  // A white picture; a size beyond kMaxDots on either side gives an empty one.
  Bitmap(int width, int height);

  // The largest side a picture may have: keeps every allocation bounded.
  static constexpr int kMaxDots = 32768;

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  // Outside the picture: white, and setting does nothing.
  bool at(int x, int y) const;
  void set(int x, int y, bool black = true);
  void fill(int x, int y, int width, int height);
  // A one-dot frame around the rectangle.
  void frame(int x, int y, int width, int height);
  // Ors the dots of source in at (x, y), each one as a scale x scaleY block.
  void draw(const Bitmap& source, int x, int y, int scaleX = 1, int scaleY = 1);
  // Makes the picture taller (never shorter), up to kMaxDots.
  void growTo(int height);
  // The bottom rows from height on go.
  void cropTo(int height);

  // Rows top first, one byte per dot, 1 = black.
  const std::vector<uint8_t>& dots() const { return dots_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> dots_;
};

}  // namespace vprinter
