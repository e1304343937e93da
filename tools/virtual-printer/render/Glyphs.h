// Glyphs.h - the printer's character cells, rasterised from a TrueType font
// with FreeType: font A 12 x 24 dots, font B 9 x 17 dots.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "Bitmap.h"

namespace vprinter {

struct CellSize {
  int width;
  int height;
};

constexpr CellSize kFontA = {12, 24};
constexpr CellSize kFontB = {9, 17};

class Glyphs {
 public:
  // fontFile: a monospaced TrueType font. When it cannot be loaded, error()
  // says why and every glyph is an empty cell.
  explicit Glyphs(const std::string& fontFile);
  ~Glyphs();
  Glyphs(const Glyphs&) = delete;
  Glyphs& operator=(const Glyphs&) = delete;

  // The cell of character c in the font of size cell: a picture
  // cell.width x cell.height with the glyph on the font's baseline.
  const Bitmap& cell(char32_t c, CellSize cell);

  const std::string& error() const { return error_; }

 private:
  Bitmap rasterise(char32_t c, CellSize cell);

  struct Face;
  std::unique_ptr<Face> face_;
  std::string error_;
  std::map<std::pair<char32_t, int>, Bitmap> cache_;
};

}  // namespace vprinter
