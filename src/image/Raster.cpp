// Raster.cpp - the brightness threshold and the raster command encoder.
#include "image/Raster.h"

#include <iterator>

#include "common/EscPos.h"

namespace {

// Bytes of the raster command around the rows: the store command with its
// count, parameters and sizes, then ESC @, the print command and LF.
constexpr size_t kRasterFixedBytes =
    escpos::rasterStore(0, 0).size() + sizeof escpos::kInitialise + sizeof escpos::kRasterPrint + 1;

template <typename Bytes>
void append(std::vector<uint8_t>& out, const Bytes& bytes) {
  out.insert(out.end(), std::begin(bytes), std::end(bytes));
}

}  // namespace

DotMask::DotMask(int32_t w, int32_t h)
    : width(w),
      height(h),
      bytesPerRow((static_cast<size_t>(w) + 7) / 8),
      bits(bytesPerRow * static_cast<size_t>(h)) {}

DotMask thresholdMask(const BMP& picture) {
  DotMask mask(picture.width(), picture.height());
  std::vector<uint8_t> grey(mask.bytesPerRow * 8);
  for (int32_t y = 0; y < mask.height; ++y) picture.dotRow(y, mask.row(y), grey.data());
  return mask;
}

size_t rasterSize(int32_t width, int32_t height) {
  return (static_cast<size_t>(width) + 7) / 8 * static_cast<size_t>(height) + kRasterFixedBytes;
}

std::vector<uint8_t> gerarRaster(const DotMask& mask) {
  std::vector<uint8_t> out;
  out.reserve(rasterSize(mask.width, mask.height));
  // The width rounded up to a multiple of 8.
  const size_t w8 = mask.bytesPerRow * 8;
  const size_t h = static_cast<size_t>(mask.height);

  // GS 8 L p1..p4 30 70 30 01 01 31 xL xH yL yH, the rows top row first.
  append(out, escpos::rasterStore(static_cast<uint32_t>(w8), static_cast<uint32_t>(h)));
  out.insert(out.end(), mask.bits.begin(), mask.bits.end());

  append(out, escpos::kInitialise);
  append(out, escpos::kRasterPrint);
  out.push_back(escpos::LF);
  return out;
}
