// Luminance.h - the brightness of a pixel as both printing paths take it:
// L = 0.587 x green, then plus 0.299 x red, then plus 0.114 x blue, each
// product and each sum rounded to a double, in that order, cut to a whole
// grey level 0 to 255. Worked out in whole numbers: no floating-point
// instruction is run, so the precision, rounding and exception masks the
// calling program left in the processor never move a dot.
#pragma once

#include <cstdint>

// Below this grey level a pixel is a dot. L is never negative, so L < 127.0
// exactly when its whole part is below 127.
constexpr int kThreshold = 127;

// The whole part of L, worked out as the doubles round each step. Needed
// only where the weighed sum below is a whole multiple of 1000.
uint8_t exactGrey(uint8_t red, uint8_t green, uint8_t blue);

// The weights of green, red and blue in thousandths, by channel value, so
// that the sum below costs three look-ups instead of three multiplications.
struct LuminanceWeights {
  uint32_t green[256], red[256], blue[256];
};
constexpr LuminanceWeights makeWeights() {
  LuminanceWeights p{};
  for (uint32_t v = 0; v < 256; ++v) {
    p.green[v] = 587 * v;
    p.red[v] = 299 * v;
    p.blue[v] = 114 * v;
  }
  return p;
}
inline constexpr LuminanceWeights kWeights = makeWeights();

// 587 x green + 299 x red + 114 x blue: 1000 x L but for the rounding of
// the doubles, which moves L by far less than 0.001.
inline uint32_t weighedSum(uint8_t red, uint8_t green, uint8_t blue) {
  return kWeights.green[green] + kWeights.red[red] + kWeights.blue[blue];
}

// The whole part of L. It is that of the weighed sum / 1000 unless the sum
// is a whole multiple of 1000, where L may fall just below its whole value
// and the rounding of the doubles decides. The sum times 2^32 / 1000
// (rounded up) holds the quotient in its high half; for sums up to 255 000
// the low half is below that factor exactly when the sum is a multiple of
// 1000.
inline uint8_t greyLevel(uint8_t red, uint8_t green, uint8_t blue) {
  constexpr uint64_t kThousandth = (uint64_t{1} << 32) / 1000 + 1;
  const uint64_t product = weighedSum(red, green, blue) * kThousandth;
  if (static_cast<uint32_t>(product) >= kThousandth) return static_cast<uint8_t>(product >> 32);
  return exactGrey(red, green, blue);
}

// L < 127.0, the pixel a dot by the threshold, without dividing.
inline bool belowThreshold(uint8_t red, uint8_t green, uint8_t blue) {
  constexpr uint32_t kThresholdSum = 1000 * kThreshold;
  const uint32_t sum = weighedSum(red, green, blue);
  if (sum != kThresholdSum) return sum < kThresholdSum;
  return greyLevel(red, green, blue) < kThreshold;
}
