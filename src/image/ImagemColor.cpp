// ImagemColor.cpp - grey levels to dots by Floyd-Steinberg error diffusion.
#include "image/ImagemColor.h"

#include <algorithm>
#include <vector>

#include "image/ImpressaoImagem.h"
#include "image/Luminancia.h"

namespace {

// A share err x numerator / 16 added to a grey level: the sum cut toward
// zero, as the whole number (16 x level + err x numerator) / 16 is, and kept
// within 0..255.
uint8_t comParte(uint8_t level, int errTimesNumerator) {
  return static_cast<uint8_t>(std::clamp((16 * level + errTimesNumerator) / 16, 0, 255));
}

}  // namespace

// Only the row in hand and the next one are kept as grey levels.
DotMask mascaraPontilhada(const BMP& imagem) {
  DotMask mask(imagem.width(), imagem.height());
  const int32_t width = mask.width;
  std::vector<uint8_t> atual(static_cast<size_t>(width)), proxima(static_cast<size_t>(width));
  imagem.greyRow(0, atual.data());
  for (int32_t y = 0; y < mask.height; ++y) {
    const bool haProxima = y + 1 < mask.height;
    if (haProxima) imagem.greyRow(y + 1, proxima.data());
    uint8_t* pontos = mask.row(y);
    uint8_t* abaixo = proxima.data();
    for (int32_t x = 0; x < width; ++x) {
      const int antigo = atual[static_cast<size_t>(x)];
      const bool ponto = antigo < kLimiar;
      if (ponto) pontos[x / 8] = static_cast<uint8_t>(pontos[x / 8] | (0x80 >> (x % 8)));
      const int err = ponto ? antigo : antigo - 255;
      if (err == 0) continue;
      if (x + 1 < width) atual[static_cast<size_t>(x) + 1] = comParte(atual[static_cast<size_t>(x) + 1], err * 7);
      if (!haProxima) continue;
      if (x > 0) abaixo[x - 1] = comParte(abaixo[x - 1], err * 3);
      abaixo[x] = comParte(abaixo[x], err * 5);
      if (x + 1 < width) abaixo[x + 1] = comParte(abaixo[x + 1], err);
    }
    atual.swap(proxima);
  }
  return mask;
}

int ImagemColor::imprimeBitmapColor(const char* arquivo) {
  return imprimirImagem(arquivo, mascaraPontilhada, "ImagemColor::imprimeBitmapColor");
}
