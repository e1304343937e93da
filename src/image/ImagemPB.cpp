// ImagemPB.cpp - a dot wherever a pixel is darker than the threshold.
#include "image/ImagemPB.h"

#include "image/PicturePrinting.h"

int ImagemPB::imprimeBitmap(const char* fileName) {
  return printPicture(fileName, thresholdMask, "ImagemPB::imprimeBitmap");
}
