// Luminance.cpp - the brightness as the doubles give it, in whole numbers.
#include "image/Luminance.h"

namespace {

// Every value is held in units of 2^-56. Every double met on the way (the
// weights, their products with a byte, the two sums) is a whole multiple of
// 2^-56 below 256, and so is each product before it is rounded: each is a
// whole uint64_t.
constexpr int kFractionBits = 56;

// The doubles nearest 0.587, 0.299 and 0.114: whole numbers of 56, 55 and
// 53 bits.
constexpr uint64_t kGreenWeight = 0x9645A1CAC08310;
constexpr uint64_t kRedWeight = 0x4C8B4395810624;
constexpr uint64_t kBlueWeight = 0x1D2F1A9FBE76C9;
constexpr int kDoubleBits = 53;

constexpr int bitWidth(uint64_t x) {
  int width = 0;
  for (int step = 32; step > 0; step /= 2) {
    if ((x >> step) != 0) {
      x >>= step;
      width += step;
    }
  }
  return width + static_cast<int>(x);
}

// x rounded to the 53 significant bits of a double: to nearest, a tie to
// the even neighbour, as the processor rounds each operation by default.
constexpr uint64_t roundToDouble(uint64_t x) {
  const int cut = bitWidth(x) - kDoubleBits;
  if (cut <= 0) return x;
  const uint64_t half = uint64_t{1} << (cut - 1);
  const uint64_t rest = x & ((half << 1) - 1);
  uint64_t kept = x >> cut;
  if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
  return kept << cut;
}

// Each weight times each byte value, rounded: the three products of the sum.
struct Products {
  uint64_t green[256], red[256], blue[256];
};
constexpr Products makeProducts() {
  Products p{};
  for (uint64_t v = 0; v < 256; ++v) {
    p.green[v] = roundToDouble(kGreenWeight * v);
    p.red[v] = roundToDouble(kRedWeight * v);
    p.blue[v] = roundToDouble(kBlueWeight * v);
  }
  return p;
}
constexpr Products kProducts = makeProducts();

// L, exactly the double the sum gives.
constexpr uint64_t luminanceOf(uint8_t red, uint8_t green, uint8_t blue) {
  const uint64_t l = roundToDouble(kProducts.green[green] + kProducts.red[red]);
  return roundToDouble(l + kProducts.blue[blue]);
}

// The grey level of each grey (red = green = blue), whose weighed sum is
// always a whole multiple of 1000: grey pictures are made of nothing else.
struct Greys {
  uint8_t level[256];
};
constexpr Greys makeGreys() {
  Greys g{};
  for (int v = 0; v < 256; ++v) {
    const uint8_t c = static_cast<uint8_t>(v);
    g.level[v] = static_cast<uint8_t>(luminanceOf(c, c, c) >> kFractionBits);
  }
  return g;
}
constexpr Greys kGreys = makeGreys();

}  // namespace

uint8_t exactGrey(uint8_t red, uint8_t green, uint8_t blue) {
  if (red == green && green == blue) return kGreys.level[red];
  return static_cast<uint8_t>(luminanceOf(red, green, blue) >> kFractionBits);
}
