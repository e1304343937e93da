// LuminanciaTest.cpp - what the picture corpus cannot show: the grey levels of
// every colour, against the processor's own doubles (this file is built for
// SSE2 on 32-bit x86, so that they are the doubles of every other build).
#include <gtest/gtest.h>

#include "image/Luminancia.h"

namespace {

double inDoubles(int red, int green, int blue) {
  double l = 0.587 * green;
  l = l + 0.299 * red;
  return l + 0.114 * blue;
}

TEST(Luminancia, WholeGreyLevelsAreThoseOfTheDoublesForEveryColour) {
  int wrong = 0;
  for (int r = 0; r < 256; ++r) {
    for (int g = 0; g < 256; ++g) {
      for (int b = 0; b < 256; ++b) {
        const uint8_t red = static_cast<uint8_t>(r), green = static_cast<uint8_t>(g),
                      blue = static_cast<uint8_t>(b);
        const double l = inDoubles(r, g, b);
        wrong += cinza(red, green, blue) != static_cast<int>(l) ||
                 abaixoDoLimiar(red, green, blue) != (l < 127.0);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  // The sum lands just below a whole number for some colours, not others.
  EXPECT_EQ(inDoubles(127, 127, 127), 126.99999999999999);
  EXPECT_EQ(cinza(127, 127, 127), 126);
  EXPECT_EQ(cinza(128, 128, 128), 127);
}

}  // namespace
