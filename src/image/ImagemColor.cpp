// ImagemColor.cpp - grey levels to dots by Floyd-Steinberg error diffusion.
#include "image/ImagemColor.h"

#include <algorithm>

#include "image/ImpressaoImagem.h"

namespace {

constexpr int kLimiar = 127;

// Every row left to right, rows top to bottom: each pixel goes to black or
// white and hands its error on to the neighbours not yet visited.
DotMask mascaraPontilhada(const BMP& imagem) {
  const int32_t width = imagem.width();
  const int32_t height = imagem.height();
  std::vector<uint8_t> grey(static_cast<size_t>(width) * static_cast<size_t>(height));
  auto at = [&](int32_t x, int32_t y) -> uint8_t& {
    return grey[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  };
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) at(x, y) = static_cast<uint8_t>(luminancia(imagem.pixel(x, y)));
  }

  // A share of err x numerator / 16 added to a neighbour inside the picture,
  // the sum cut to a whole value and kept within 0..255.
  auto share = [&](int32_t x, int32_t y, int err, int numerator) {
    if (x < 0 || x >= width || y >= height) return;
    const double sum = at(x, y) + err * numerator * 0.0625;
    at(x, y) = static_cast<uint8_t>(std::clamp(static_cast<int>(sum), 0, 255));
  };
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int old = at(x, y);
      const int chosen = old < kLimiar ? 0 : 255;
      const int err = old - chosen;
      at(x, y) = static_cast<uint8_t>(chosen);
      share(x + 1, y, err, 7);
      share(x - 1, y + 1, err, 3);
      share(x, y + 1, err, 5);
      share(x + 1, y + 1, err, 1);
    }
  }

  DotMask mask(grey.size());
  for (size_t i = 0; i < grey.size(); ++i) mask[i] = grey[i] < kLimiar;
  return mask;
}

}  // namespace

int ImagemColor::imprimeBitmapColor(const char* arquivo) {
  return imprimirImagem(arquivo, mascaraPontilhada, "ImagemColor::imprimeBitmapColor");
}
