// ImagemPB.cpp - a dot wherever a pixel is darker than the threshold.
#include "image/ImagemPB.h"

#include "image/ImpressaoImagem.h"

int ImagemPB::imprimeBitmap(const char* arquivo) {
  return imprimirImagem(arquivo, mascaraLimiar, "ImagemPB::imprimeBitmap");
}
