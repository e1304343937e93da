// RenderSupport.h - renders a byte stream the way the virtual printer does.
#pragma once

#include <string>
#include <vector>

#include "Glyphs.h"
#include "ReceiptRenderer.h"

namespace vprinter {

struct Rendered {
  std::vector<Bitmap> receipts;
  std::vector<std::string> notes;

  std::vector<int> heights() const {
    std::vector<int> all;
    for (const Bitmap& b : receipts) all.push_back(b.height());
    return all;
  }
};

// Renders bytes given in chunks of chunk bytes (0: all at once) and finishes.
inline Rendered renderStream(const std::string& bytes, size_t chunk = 0) {
  static Glyphs glyphs(TQ587_FONT_FILE);
  Rendered out;
  ReceiptRenderer renderer(glyphs, [&](const Bitmap& b) { out.receipts.push_back(b); });
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t step = chunk == 0 ? bytes.size() : chunk;
  for (size_t at = 0; at < bytes.size(); at += step) renderer.receive(data + at, std::min(step, bytes.size() - at));
  renderer.finish();
  out.notes = renderer.notes();
  return out;
}

}  // namespace vprinter
