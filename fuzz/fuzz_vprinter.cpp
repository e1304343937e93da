// fuzz_vprinter - any bytes as what the virtual printer receives: listed by
// the decoder and drawn by the renderer, split at an arbitrary point as a
// line may split them.
#include <cstdint>
#include <memory>

#include "EscPosDecoder.h"
#include "render/ReceiptRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vprinter::Glyphs glyphs(TQ587_FONT_FILE);
  vprinter::decodeListing(data, size);
  const size_t split = size > 0 ? data[0] % (size + 1) : 0;
  vprinter::ReceiptRenderer renderer(glyphs, [](const vprinter::Bitmap&) {});
  renderer.receive(data, split);
  renderer.receive(data + split, size - split);
  renderer.finish();
  return 0;
}
