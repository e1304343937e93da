// ImagemColor.h - prints a colour or grey BMP file with error diffusion, so
// that grey levels show as dot density.
#pragma once

class ImagemColor {
 public:
  // 1 sent, 0 printer not reachable or picture smaller than 8 x 8, -8 the
  // file is not a BMP that can be read.
  static int imprimeBitmapColor(const char* arquivo);
};
