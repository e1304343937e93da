// LuminanceTest.cpp - what the picture corpus cannot show: the grey levels of
// every colour, against the processor's own doubles (this file is built for
// SSE2 on 32-bit x86, so that they are the doubles of every other build).
#include <gtest/gtest.h>

#include "image/Luminance.h"

namespace {

TEST(Luminance, WholeGreyLevelsAreThoseOfTheDoublesForEveryColour) {
  int wrong = 0;
  for (int r = 0; r < 256; ++r) {
    for (int g = 0; g < 256; ++g) {
      for (int b = 0; b < 256; ++b) {
        const double l = 0.587 * g + 0.299 * r + 0.114 * b;  // in this order, each step rounded to a double
        const auto red = static_cast<uint8_t>(r), green = static_cast<uint8_t>(g), blue = static_cast<uint8_t>(b);
        wrong += greyLevel(red, green, blue) != static_cast<int>(l) || belowThreshold(red, green, blue) != (l < 127.0);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(greyLevel(127, 127, 127), 126);  // the sum lands just below 127
}

}  // namespace
