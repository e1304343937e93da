// ImagemColor.h - prints a colour or grey BMP file with error diffusion, so
// that grey levels show as dot density.
#pragma once

#include "image/Raster.h"

// Floyd-Steinberg: every row left to right, rows top to bottom, each pixel
// goes to black (a dot) below kThreshold or to white and hands its error on to
// the neighbours not yet visited, 7/16 right, 3/16 down left, 5/16 down,
// 1/16 down right.
DotMask ditheredMask(const BMP& picture);

class ImagemColor {
 public:
  // 1 sent, 0 printer not reachable or picture smaller than 8 x 8, -8 the
  // file is not a BMP that can be read.
  static int imprimeBitmapColor(const char* fileName);
};
