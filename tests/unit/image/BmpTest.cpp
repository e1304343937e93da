// BmpTest.cpp - what the corpus cannot show of the reader: the grey levels
// for every colour, the limits, and files that must be refused at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "image/BMP.h"
#include "image/Luminancia.h"
#include "support/TestSupport.h"
#include "unit/image/BmpTestFiles.h"

using bmptest::Layout;

namespace {

TEST(Luminancia, WholeGreyLevelsAreThoseOfTheDoublesForEveryColour) {
  int wrong = 0;
  for (int r = 0; r < 256; ++r) {
    for (int g = 0; g < 256; ++g) {
      for (int b = 0; b < 256; ++b) {
        const uint8_t red = static_cast<uint8_t>(r), green = static_cast<uint8_t>(g),
                      blue = static_cast<uint8_t>(b);
        const double l = luminancia(red, green, blue);
        wrong += cinza(red, green, blue) != static_cast<int>(l) ||
                 abaixoDoLimiar(red, green, blue) != (l < 127.0);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  // The sum lands just below a whole number for some colours, not others.
  EXPECT_EQ(luminancia(127, 127, 127), 126.99999999999999);
  EXPECT_EQ(cinza(127, 127, 127), 126);
}

// A 1-bit file 1024 pixels wide (128 bytes a row, after 62 bytes of
// headers and colour table) and 513 rows high, holding only the given
// bottom rows.
std::string shortFile(int rowsHeld) { return bmptest::black(1024, 513).substr(0, 62 + 128 * rowsHeld); }

TEST(BmpLoad, TakesWhatTheLimitsAllowRefusesTheRestAtOnce) {
  struct Case {
    const char* name;
    std::string content;  // empty: the path names a FIFO
    bool loads;
  };
  const Case cases[] = {
      {"8192 x 2048: 16 M pixels, all in the file", bmptest::black(8192, 2048), true},
      {"8192 x 2049: past 16 M pixels", bmptest::black(8192, 2049), false},
      {"a 62-byte file claiming 8192 x 2048 pixels", bmptest::file(Layout{8192, 2048}) + "12345678", false},
      {"512 rows of 1024 pixels missing: printed white", shortFile(1), true},
      {"513 rows of 1024 pixels missing", shortFile(0), false},
      {"a FIFO", "", false},
  };
  ScratchDir dir;
  ASSERT_EQ(mkfifo("fifo.bmp", 0600), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const char* path = c.content.empty() ? "fifo.bmp" : "t.bmp";
    if (!c.content.empty()) dir.write(path, c.content);
    alarm(10);  // a call that blocks fails the test instead of hanging it
    const auto start = std::chrono::steady_clock::now();
    BMP bmp;
    EXPECT_EQ(bmp.load(path), c.loads);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    alarm(0);
  }
}

}  // namespace
