// Glyphs.cpp - character cells from FreeType's monochrome renderer.
#include "Glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace vprinter {

struct Glyphs::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

Glyphs::Glyphs(const std::string& fontFile) : face_(new Face) {
  if (FT_Init_FreeType(&face_->library) != 0) {
    error_ = "FreeType did not start";
  } else if (FT_New_Face(face_->library, fontFile.c_str(), 0, &face_->face) != 0) {
    error_ = "cannot load the font " + fontFile;
    face_->face = nullptr;
  }
}

Glyphs::~Glyphs() = default;

const Bitmap& Glyphs::cell(char32_t c, CellSize size) {
  const auto key = std::make_pair(c, size.width * 256 + size.height);
  auto found = cache_.find(key);
  if (found == cache_.end()) found = cache_.emplace(key, rasterise(c, size)).first;
  return found->second;
}

Bitmap Glyphs::rasterise(char32_t c, CellSize size) {
  Bitmap cell(size.width, size.height);
  FT_Face face = face_->face;
  if (face == nullptr || !FT_IS_SCALABLE(face)) return cell;
  // The em size at which one advance is the cell's width.
  FT_Load_Char(face, 'M', FT_LOAD_NO_SCALE);
  const long advance = face->glyph->advance.x > 0 ? face->glyph->advance.x : face->units_per_EM / 2;
  const FT_UInt pixels = static_cast<FT_UInt>((size.width * face->units_per_EM + advance / 2) / advance);
  if (FT_Set_Pixel_Sizes(face, 0, pixels) != 0) return cell;
  if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return cell;

  // The ascender and descender centred in the cell's height.
  const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
  const int descender = static_cast<int>(-face->size->metrics.descender >> 6);
  const int baseline = (size.height - ascender - descender) / 2 + ascender;
  const FT_Bitmap& glyph = face->glyph->bitmap;
  const int left = face->glyph->bitmap_left;
  const int top = baseline - face->glyph->bitmap_top;
  for (unsigned row = 0; row < glyph.rows; ++row) {
    const unsigned char* line = glyph.buffer + static_cast<long>(row) * glyph.pitch;
    for (unsigned column = 0; column < glyph.width; ++column) {
      const bool dot = glyph.pixel_mode == FT_PIXEL_MODE_MONO ? (line[column / 8] >> (7 - column % 8)) & 1
                                                               : line[column] >= 128;
      if (dot) cell.set(left + static_cast<int>(column), top + static_cast<int>(row));
    }
  }
  return cell;
}

}  // namespace vprinter
