// Raster.cpp - the brightness threshold and the raster command encoder.
#include "image/Raster.h"

#include <iterator>

#include "common/EscPos.h"

namespace {

constexpr double kLimiar = 127.0;

void append(std::vector<uint8_t>& out, const uint8_t* bytes, size_t n) {
  out.insert(out.end(), bytes, bytes + n);
}

template <typename Bytes>
void append(std::vector<uint8_t>& out, const Bytes& bytes) {
  append(out, std::data(bytes), std::size(bytes));
}

}  // namespace

double luminancia(const BmpPixel& pixel) {
  double l = 0.587 * pixel.green;
  l = l + 0.299 * pixel.red;
  l = l + 0.114 * pixel.blue;
  return l;
}

DotMask mascaraLimiar(const BMP& imagem) {
  const int32_t width = imagem.width();
  const int32_t height = imagem.height();
  DotMask mask(static_cast<size_t>(width) * static_cast<size_t>(height));
  size_t i = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) mask[i++] = luminancia(imagem.pixel(x, y)) < kLimiar;
  }
  return mask;
}

std::vector<uint8_t> gerarRaster(const DotMask& mask, int32_t width, int32_t height) {
  std::vector<uint8_t> out;
  if (width < 0 || height < 0) return out;
  const size_t w = static_cast<size_t>(width);
  const size_t h = static_cast<size_t>(height);
  if (mask.size() < w * h) return out;

  // Rows go out in whole bytes: the width rounded up to a multiple of 8.
  const size_t w8 = (w + 7) / 8 * 8;
  out.reserve(w8 / 8 * h + 27);
  append(out, escpos::rasterStore(static_cast<uint32_t>(w8), static_cast<uint32_t>(h)));

  // Top row first; the leftmost dot of each byte in its most significant bit.
  for (size_t y = 0; y < h; ++y) {
    for (size_t x0 = 0; x0 < w; x0 += 8) {
      uint8_t byte = 0;
      for (size_t b = 0; b < 8 && x0 + b < w; ++b) {
        if (mask[y * w + x0 + b]) byte |= static_cast<uint8_t>(0x80 >> b);
      }
      out.push_back(byte);
    }
  }

  append(out, escpos::kInitialise);
  append(out, escpos::kRasterPrint);
  out.push_back(escpos::LF);
  return out;
}
