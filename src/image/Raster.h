// Raster.h - from a picture to the printer's raster graphics command.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/BMP.h"

// The narrowest and the lowest picture that prints, in dots.
constexpr int32_t kMinPrintedSide = 8;

// One bit per pixel, 1 a dot, rows from the top of the picture, each row in
// whole bytes with its leftmost pixel in the most significant bit: the data
// of the raster command as it is sent.
struct DotMask {
  DotMask(int32_t width, int32_t height);
  int32_t width;
  int32_t height;
  size_t bytesPerRow;
  std::vector<uint8_t> bits;

  uint8_t* row(int32_t y) { return bits.data() + static_cast<size_t>(y) * bytesPerRow; }
};

// A dot wherever the grey level is below kThreshold.
DotMask thresholdMask(const BMP& picture);

// The length of the command gerarRaster makes for a picture of that size.
size_t rasterSize(int32_t width, int32_t height);

// GS 8 L (store the raster picture, one bit per dot, rows padded to whole
// bytes), ESC @, GS ( L (print it), LF.
std::vector<uint8_t> gerarRaster(const DotMask& mask);
