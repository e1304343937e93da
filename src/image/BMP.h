// BMP.h - one bitmap in memory, read from a Windows BMP file.
//
// Every pixel format the reader accepts (1, 4, 8, 16, 24 and 32 bits per
// pixel, palettes, 16-bit bit masks, row padding) comes out as 8-bit blue,
// green, red and alpha values, addressed by column and row with row 0 at the
// top of the picture as displayed.
#pragma once

#include <cstdint>
#include <memory>

struct BmpPixel {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t alpha;
};

// Blue, green and red at 255, alpha 0.
constexpr BmpPixel kBmpWhite = {255, 255, 255, 0};

class BMP {
 public:
  // The largest picture held: a receipt picture is at most a few thousand
  // dots wide, and the printer's raster command counts rows in 16 bits.
  static constexpr int32_t kMaxWidth = 8192;
  static constexpr int32_t kMaxHeight = 65535;
  static constexpr int64_t kMaxPixels = int64_t{16} * 1024 * 1024;

  // A white 1 x 1 image of bit depth 24 without a palette.
  BMP();
  BMP(const BMP&) = delete;
  BMP& operator=(const BMP&) = delete;

  // Reads the file; false when it cannot be opened, is not a BMP this reader
  // takes, or is larger than the limits above. A file cut off in its pixel
  // rows still loads: the rows not in the file stay white.
  bool load(const char* arquivo);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t bitDepth() const { return bitDepth_; }

  // The pixel at column x, row y; places outside are taken as the nearest
  // column and row inside.
  BmpPixel& pixel(int32_t x, int32_t y);
  const BmpPixel& pixel(int32_t x, int32_t y) const;

  // Drops every pixel and makes a white image of the new size. false, with
  // nothing changed, for a side below 1 or a size beyond the limits.
  bool resize(int32_t newWidth, int32_t newHeight);
  // 1, 4, 8, 16, 24 or 32; depths 1, 4 and 8 get a fresh default palette.
  // Pixels are not touched.
  bool setBitDepth(int32_t depth);

  // 2^depth (2^24 for depth 32).
  int32_t paletteSize() const;
  // White when there is no palette or the index is outside it.
  BmpPixel paletteEntry(int32_t index) const;
  void setPaletteEntry(int32_t index, BmpPixel entry);
  // Spreads grey levels from black (index 0) to white (the last index).
  void fillDefaultPalette();

 private:
  static constexpr int kMaxPaletteEntries = 256;

  bool hasPalette() const { return paletteEntries_ > 0; }
  // Back to a 1 x 1 image of depth 1 with its default palette.
  void reset();

  int32_t bitDepth_ = 24;
  int32_t width_ = 1;
  int32_t height_ = 1;
  // Column by column: column x holds rows 0..height-1 at x * height.
  std::unique_ptr<BmpPixel[]> pixels_;
  BmpPixel palette_[kMaxPaletteEntries] = {};
  int32_t paletteEntries_ = 0;  // 0: no palette
};
