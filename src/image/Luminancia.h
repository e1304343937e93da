// Luminancia.h - the brightness of a pixel as both printing paths take it:
// L = 0.587 x green, then plus 0.299 x red, then plus 0.114 x blue, each
// product and each sum rounded to a double, in that order, cut to a whole
// grey level 0 to 255. Worked out in whole numbers: no floating-point
// instruction is run, so the precision, rounding and exception masks the
// calling program left in the processor never move a dot.
#pragma once

#include <cstdint>

// Below this grey level a pixel is a dot. L is never negative, so L < 127.0
// exactly when its whole part is below 127.
constexpr int kLimiar = 127;

// The whole part of L, worked out as the doubles round each step. Needed
// only where the weighed sum below is a whole multiple of 1000.
uint8_t exactGrey(uint8_t red, uint8_t green, uint8_t blue);

// The weights of green, red and blue in thousandths, by channel value, so
// that the sum below costs three look-ups instead of three multiplications.
struct PesosLuminancia {
  uint32_t verde[256], vermelho[256], azul[256];
};
constexpr PesosLuminancia fazerPesos() {
  PesosLuminancia p{};
  for (uint32_t v = 0; v < 256; ++v) {
    p.verde[v] = 587 * v;
    p.vermelho[v] = 299 * v;
    p.azul[v] = 114 * v;
  }
  return p;
}
inline constexpr PesosLuminancia kPesos = fazerPesos();

// 587 x green + 299 x red + 114 x blue: 1000 x L but for the rounding of
// the doubles, which moves L by far less than 0.001.
inline uint32_t somaPesada(uint8_t red, uint8_t green, uint8_t blue) {
  return kPesos.verde[green] + kPesos.vermelho[red] + kPesos.azul[blue];
}

// The whole part of L. It is that of the weighed sum / 1000 unless the sum
// is a whole multiple of 1000, where L may fall just below its whole value
// and the rounding of the doubles decides. The sum times 2^32 / 1000
// (rounded up) holds the quotient in its high half; for sums up to 255 000
// the low half is below that factor exactly when the sum is a multiple of
// 1000.
inline uint8_t cinza(uint8_t red, uint8_t green, uint8_t blue) {
  constexpr uint64_t kMilesimo = (uint64_t{1} << 32) / 1000 + 1;
  const uint64_t produto = somaPesada(red, green, blue) * kMilesimo;
  if (static_cast<uint32_t>(produto) >= kMilesimo) return static_cast<uint8_t>(produto >> 32);
  return exactGrey(red, green, blue);
}

// L < 127.0, the pixel a dot by the threshold, without dividing.
inline bool abaixoDoLimiar(uint8_t red, uint8_t green, uint8_t blue) {
  constexpr uint32_t kSomaLimiar = 1000 * kLimiar;
  const uint32_t soma = somaPesada(red, green, blue);
  if (soma != kSomaLimiar) return soma < kSomaLimiar;
  return cinza(red, green, blue) < kLimiar;
}
