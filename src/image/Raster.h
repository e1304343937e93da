// Raster.h - from a picture to the printer's raster graphics command.
//
// A dot mask holds one byte per pixel, row by row from the top of the
// picture, each row left to right: 1 prints a dot, 0 leaves the paper white.
#pragma once

#include <cstdint>
#include <vector>

#include "image/BMP.h"

using DotMask = std::vector<uint8_t>;

// The narrowest and the lowest picture that prints, in dots.
constexpr int32_t kMenorLadoImpresso = 8;

// Brightness of a pixel, 0 (black) to 255 (white): green, red and blue weighed
// and summed in that order.
double luminancia(const BmpPixel& pixel);

// A dot wherever the brightness is below 127.
DotMask mascaraLimiar(const BMP& imagem);

// GS 8 L (store the raster picture, one bit per dot, rows padded to whole
// bytes), ESC @, GS ( L (print it), LF. Empty when the mask does not cover
// width x height or a side is negative.
std::vector<uint8_t> gerarRaster(const DotMask& mask, int32_t width, int32_t height);
