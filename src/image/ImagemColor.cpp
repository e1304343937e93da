// ImagemColor.cpp - grey levels to dots by Floyd-Steinberg error diffusion.
#include "image/ImagemColor.h"

#include <algorithm>
#include <vector>

#include "image/ImpressaoImagem.h"
#include "image/Luminancia.h"

namespace {

// A share err x numerator / 16 added to a grey level, the sum cut toward
// zero and kept within 0..255. In whole numbers the sum is
// (16 x level + err x numerator) / 16, that is level + (err x numerator) / 16
// cut downward (the same but where the sum is negative, and then it is 0);
// err x numerator is never below -2048, so that adding 2048 first makes the
// division a plain one, and a table takes the sum, 128 up, to 0..255.
struct Partes {
  uint8_t dentro[512];
  uint8_t com(uint8_t level, int errTimesNumerator) const {
    return dentro[level + static_cast<unsigned>(errTimesNumerator + 2048) / 16];
  }
};
constexpr Partes fazerPartes() {
  Partes p{};
  for (int i = 0; i < 512; ++i) p.dentro[i] = static_cast<uint8_t>(std::clamp(i - 128, 0, 255));
  return p;
}
constexpr Partes kPartes = fazerPartes();

// One row being dithered: where its grey levels are, where the next row's
// are (or a discard row below the last), where its dots go, and the grey
// level of its next pixel, held out of memory.
struct Linha {
  uint8_t* cinza;
  uint8_t* abaixo;
  uint8_t* pontos;
  int seguinte = 0;
  unsigned byte = 0;

  // Pixel x goes to black (a dot) or white and hands its error on. The grey
  // rows have a spare place at both ends, so that no share tests the edges:
  // what goes past the picture lands there and is never read as a pixel.
  void passo(size_t x) {
    const int antigo = seguinte;
    const int ponto = antigo < kLimiar;
    const int err = antigo - (ponto ? 0 : 255);
    // The byte of x is written at each of its pixels, whole at the last.
    byte = byte << 1 | static_cast<unsigned>(ponto);
    pontos[x / 8] = static_cast<uint8_t>(byte);
    seguinte = kPartes.com(cinza[x + 1], err * 7);
    (abaixo + x)[-1] = kPartes.com((abaixo + x)[-1], err * 3);
    abaixo[x] = kPartes.com(abaixo[x], err * 5);
    abaixo[x + 1] = kPartes.com(abaixo[x + 1], err);
  }
  void fim(size_t width) {
    if (width % 8 != 0) pontos[width / 8] = static_cast<uint8_t>(byte << (8 - width % 8));
  }
};

}  // namespace

// Rows go in pairs, the second two pixels behind the first: by then every
// share the first row hands to a pixel of the second has arrived, in the
// order of a row by row pass, and the two rows' chains of errors run side
// by side. Three rows of grey levels are kept.
DotMask mascaraPontilhada(const BMP& imagem) {
  DotMask mask(imagem.width(), imagem.height());
  const size_t width = static_cast<size_t>(mask.width);
  const int32_t height = mask.height;
  const size_t passo = width + 2;
  std::vector<uint8_t> linhas(4 * passo);
  uint8_t* cinza[3] = {linhas.data() + 1, linhas.data() + 1 + passo, linhas.data() + 1 + 2 * passo};
  uint8_t* descarte = linhas.data() + 1 + 3 * passo;
  imagem.greyRow(0, cinza[0]);
  for (int32_t y = 0; y < height; y += 2) {
    const bool segunda = y + 1 < height;
    const bool terceira = y + 2 < height;
    if (segunda) imagem.greyRow(y + 1, cinza[1]);
    if (terceira) imagem.greyRow(y + 2, cinza[2]);
    Linha a{cinza[0], segunda ? cinza[1] : descarte, mask.row(y)};
    Linha b{cinza[1], terceira ? cinza[2] : descarte, segunda ? mask.row(y + 1) : nullptr};
    a.seguinte = a.cinza[0];
    const size_t inicio = std::min<size_t>(2, width);
    for (size_t x = 0; x < inicio; ++x) a.passo(x);
    if (segunda) {
      b.seguinte = b.cinza[0];
      for (size_t x = inicio; x < width; ++x) {
        a.passo(x);
        b.passo(x - 2);
      }
      for (size_t x = width - inicio; x < width; ++x) b.passo(x);
      b.fim(width);
    } else {
      for (size_t x = inicio; x < width; ++x) a.passo(x);
    }
    a.fim(width);
    std::swap(cinza[0], cinza[2]);
  }
  return mask;
}

int ImagemColor::imprimeBitmapColor(const char* arquivo) {
  return imprimirImagem(arquivo, mascaraPontilhada, "ImagemColor::imprimeBitmapColor");
}
