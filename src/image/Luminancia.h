// Luminancia.h - the brightness of a pixel as both printing paths take it:
// L = 0.587 x green, then plus 0.299 x red, then plus 0.114 x blue, in
// double precision in that order, cut to a whole grey level 0 to 255.
#pragma once

#include <cstdint>

// Below this grey level a pixel is a dot. L is never negative, so L < 127.0
// exactly when its whole part is below 127.
constexpr int kLimiar = 127;

// L itself, in the doubles and the order above.
double luminancia(uint8_t red, uint8_t green, uint8_t blue);

// The whole part of L. The weighed sum in whole numbers is 1000 x L but for
// the rounding of the doubles, which moves L by far less than 0.001: the
// whole parts agree unless the sum is a whole multiple of 1000, where L may
// fall just below its whole value and the doubles decide. A test compares
// this with the doubles for every colour.
inline uint8_t cinza(uint8_t red, uint8_t green, uint8_t blue) {
  const uint32_t soma = 587u * green + 299u * red + 114u * blue;
  const uint32_t inteiro = soma / 1000;
  if (inteiro * 1000 != soma) return static_cast<uint8_t>(inteiro);
  return static_cast<uint8_t>(luminancia(red, green, blue));
}
