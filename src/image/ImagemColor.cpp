// ImagemColor.cpp - grey levels to dots by Floyd-Steinberg error diffusion.
#include "image/ImagemColor.h"

#include <algorithm>
#include <vector>

#include "image/Luminance.h"
#include "image/PicturePrinting.h"

namespace {

// A share err x numerator / 16 added to a grey level, the sum cut toward
// zero and kept within 0..255. In whole numbers the sum is
// (16 x level + err x numerator) / 16, that is level + (err x numerator) / 16
// cut downward (the same but where the sum is negative, and then it is 0);
// err x numerator is never below -2048, so that adding 2048 first makes the
// division a plain one, and a table takes the sum, 128 up, to 0..255.
struct Shares {
  uint8_t clamped[512];
  uint8_t plus(uint8_t level, int errTimesNumerator) const {
    return clamped[level + static_cast<unsigned>(errTimesNumerator + 2048) / 16];
  }
};
constexpr Shares makeShares() {
  Shares p{};
  for (int i = 0; i < 512; ++i) p.clamped[i] = static_cast<uint8_t>(std::clamp(i - 128, 0, 255));
  return p;
}
constexpr Shares kShares = makeShares();

// One row being dithered: where its grey levels are, where the next row's
// are (or a discard row below the last), where its dots go, and the grey
// level of its next pixel, held out of memory.
struct DitherRow {
  uint8_t* grey;
  uint8_t* below;
  uint8_t* dots;
  int next = 0;
  unsigned byte = 0;

  // Pixel x goes to black (a dot) or white and hands its error on. The grey
  // rows have a spare place at both ends, so that no share tests the edges:
  // what goes past the picture lands there and is never read as a pixel.
  void step(size_t x) {
    const int old = next;
    const int dot = old < kThreshold;
    const int err = old - (dot ? 0 : 255);
    // The byte of x is written at each of its pixels, whole at the last.
    byte = byte << 1 | static_cast<unsigned>(dot);
    dots[x / 8] = static_cast<uint8_t>(byte);
    next = kShares.plus(grey[x + 1], err * 7);
    (below + x)[-1] = kShares.plus((below + x)[-1], err * 3);
    below[x] = kShares.plus(below[x], err * 5);
    below[x + 1] = kShares.plus(below[x + 1], err);
  }
  void finish(size_t width) {
    if (width % 8 != 0) dots[width / 8] = static_cast<uint8_t>(byte << (8 - width % 8));
  }
};

}  // namespace

// Rows go in pairs, the second two pixels behind the first: by then every
// share the first row hands to a pixel of the second has arrived, in the
// order of a row by row pass, and the two rows' chains of errors run side
// by side. Three rows of grey levels are kept.
DotMask ditheredMask(const BMP& picture) {
  DotMask mask(picture.width(), picture.height());
  const size_t width = static_cast<size_t>(mask.width);
  const int32_t height = mask.height;
  const size_t stride = width + 2;
  std::vector<uint8_t> rows(4 * stride);
  uint8_t* grey[3] = {rows.data() + 1, rows.data() + 1 + stride, rows.data() + 1 + 2 * stride};
  uint8_t* discard = rows.data() + 1 + 3 * stride;
  picture.greyRow(0, grey[0]);
  for (int32_t y = 0; y < height; y += 2) {
    const bool second = y + 1 < height;
    const bool third = y + 2 < height;
    if (second) picture.greyRow(y + 1, grey[1]);
    if (third) picture.greyRow(y + 2, grey[2]);
    DitherRow a{grey[0], second ? grey[1] : discard, mask.row(y)};
    DitherRow b{grey[1], third ? grey[2] : discard, second ? mask.row(y + 1) : nullptr};
    a.next = a.grey[0];
    const size_t lead = std::min<size_t>(2, width);
    for (size_t x = 0; x < lead; ++x) a.step(x);
    if (second) {
      b.next = b.grey[0];
      for (size_t x = lead; x < width; ++x) {
        a.step(x);
        b.step(x - 2);
      }
      for (size_t x = width - lead; x < width; ++x) b.step(x);
      b.finish(width);
    } else {
      for (size_t x = lead; x < width; ++x) a.step(x);
    }
    a.finish(width);
    std::swap(grey[0], grey[2]);
  }
  return mask;
}

int ImagemColor::imprimeBitmapColor(const char* fileName) {
  return printPicture(fileName, ditheredMask, "ImagemColor::imprimeBitmapColor");
}
