// ImagemPB.h - prints a BMP file in black and white by a fixed brightness
// threshold.
#pragma once

class ImagemPB {
 public:
  // 1 sent, 0 printer not reachable or picture smaller than 8 x 8, -8 the
  // file is not a BMP that can be read.
  static int imprimeBitmap(const char* fileName);
};
