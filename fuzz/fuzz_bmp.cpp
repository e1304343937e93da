// fuzz_bmp - any bytes as a BMP file, through both picture exports and the
// <ibmp> tag.
#include "FuzzSupport.h"
#include "tq587.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::writeFile("f.bmp", data, size);
  TQ587_iImprimirBMP("f.bmp");
  TQ587_iImprimirImagem("f.bmp");
  TQ587_iImprimirTexto("<ibmp>f.bmp</ibmp>", 0);
  return 0;
}
