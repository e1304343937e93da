// BMP.h - one picture read from a Windows BMP file.
//
// The reader takes 1, 4, 8, 16, 24 and 32 bits per pixel, colour tables
// and 16-bit bit masks. It keeps the pixel rows as the file stores them
// (bottom row first, each padded to 4 bytes), read in one call, and hands
// them out a row at a time as grey levels, row 0 being the top of the
// picture as displayed.
#pragma once

#include <cstdint>
#include <memory>

#include "image/PictureFile.h"

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
  // The largest picture taken: a receipt picture is at most a few thousand
  // dots wide, and the printer's raster command counts rows in 16 bits.
  static constexpr int32_t kMaxWidth = 8192;
  static constexpr int32_t kMaxHeight = 65535;
  static constexpr int64_t kMaxPixels = int64_t{16} * 1024 * 1024;
  // A file cut short in its pixel rows prints the missing rows white, but
  // may lack no more than this many pixels (64 KiB of raster): a header
  // alone cannot make the printer paths build megabytes of blank picture.
  static constexpr int64_t kMaxMissingPixels = int64_t{512} * 1024;

  // A white 1 x 1 picture of bit depth 24.
  BMP() = default;
  BMP(const BMP&) = delete;
  BMP& operator=(const BMP&) = delete;

  // Opens the file and reads its headers, colour table and bit masks; the
  // pixel rows wait for readPixels. false when the file cannot be opened or
  // is not a regular file, is not a BMP this reader takes, is beyond the
  // limits above or lacks more pixels than allowed. A file that does not
  // begin with the letters B and M leaves the object as it was; any other
  // refusal leaves a 1 x 1 picture of depth 1.
  bool open(const char* fileName);
  // Reads the pixel rows of the opened file in one call and closes it.
  // false (as a refusal above) only when there is no memory for them.
  bool readPixels();
  bool load(const char* fileName) { return open(fileName) && readPixels(); }

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t bitDepth() const { return bitDepth_; }

  // The grey level (greyLevel, Luminance.h) of each of the width pixels of row
  // y, row 0 the top; pixels the file lacks are white.
  void greyRow(int32_t y, uint8_t* grey) const;
  // The dots of row y by the threshold (L below 127), eight pixels a byte,
  // the leftmost in the top bit, the spare bits of the last byte clear.
  // grey: room for the width rounded up to 8 grey levels, used as scratch.
  void dotRow(int32_t y, uint8_t* dots, uint8_t* grey) const;

 private:
  static constexpr int kMaxPaletteEntries = 256;
  struct Header;

  bool refuse();
  int64_t readPalette(PictureFile& file, int64_t afterHeaders);
  int64_t readMasks(PictureFile& file);
  // The pixels of row y the file holds (all or none but for 16 bits), and
  // where the row's bytes start.
  int32_t storedPixels(int32_t y, const uint8_t** row) const;
  uint8_t paletteIndex(const uint8_t* row, int32_t x) const;
  BmpPixel fromWord(uint32_t word) const;

  int32_t bitDepth_ = 24;
  int32_t width_ = 1;
  int32_t height_ = 1;
  uint32_t compression_ = 0;
  size_t stride_ = 4;  // bytes of one stored row
  uint8_t paletteGrey_[kMaxPaletteEntries] = {};
  uint32_t masks_[3] = {};  // red, green, blue (16 bits)
  int shifts_[3] = {};
  std::unique_ptr<PictureFile> file_;  // from open to readPixels
  int64_t dataStart_ = 0;
  size_t bytesInFile_ = 0;               // of the pixel rows, from dataStart_ on
  std::unique_ptr<uint8_t[]> rows_;      // the stored rows, bottom row first
  size_t rowBytes_ = 0;                  // how many of them were read
};
