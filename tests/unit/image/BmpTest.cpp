// BmpTest.cpp - reading BMP files: depths, palettes, masks, short and broken files.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "image/BMP.h"
#include "support/TestSupport.h"
#include "unit/image/BmpTestFiles.h"

using bmptest::Layout;
using bmptest::Picture;
using bmptest::rgb;

namespace {

const BmpPixel kWhite = rgb(255, 255, 255);
const BmpPixel kBlack = rgb(0, 0, 0);

void expectPixel(const BMP& bmp, int x, int y, BmpPixel want) {
  SCOPED_TRACE("pixel " + std::to_string(x) + "," + std::to_string(y));
  const BmpPixel got = bmp.pixel(x, y);
  EXPECT_EQ(got.blue, want.blue);
  EXPECT_EQ(got.green, want.green);
  EXPECT_EQ(got.red, want.red);
  EXPECT_EQ(got.alpha, want.alpha);
}

bool loadFile(BMP& bmp, const ScratchDir& dir, const std::string& content) {
  dir.write("t.bmp", content);
  return bmp.load("t.bmp");
}

void expectRefused(const BMP& bmp) {
  EXPECT_EQ(bmp.width(), 1);
  EXPECT_EQ(bmp.height(), 1);
  EXPECT_EQ(bmp.bitDepth(), 1);
}

// Bytes of a file, by hand: rows as stored, bottom row first.
struct LiteralCase {
  const char* name;
  Layout layout;
  int width;
  int height;
  std::vector<BmpPixel> top_down;  // expected pixels, row 0 first
};

TEST(BmpLoad, ReadsEveryDepthFromLiteralBytes) {
  const BmpPixel red = rgb(255, 0, 0), blue = rgb(0, 0, 255);
  const BmpPixel c0 = rgb(10, 20, 30), c1 = rgb(40, 50, 60);
  const std::vector<uint8_t> table2 = {30, 20, 10, 0, 60, 50, 40, 0};
  const LiteralCase cases[] = {
      {"24-bit width 3: 12-byte stride, the first stored row is the bottom",
       {3, 2, 24, 0, 40, {},
        {0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xEE, 0xEE, 0xEE,
         0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xEE, 0xEE, 0xEE}},
       3, 2,
       {blue, kWhite, kBlack, red, kBlack, kWhite}},
      {"1-bit width 10: pixels 8 and 9 from the two top bits of the second byte",
       {10, 1, 1, 0, 40, table2, {0xA0, 0x80, 0x00, 0x00}},
       10, 1,
       {c1, c0, c1, c0, c0, c0, c0, c0, c1, c0}},
      {"4-bit: high nibble first",
       {3, 1, 4, 0, 40, table2, {0x10, 0x10, 0x00, 0x00}},
       3, 1,
       {c1, c0, c1}},
      {"8-bit: a byte per pixel",
       {2, 1, 8, 0, 40, table2, {0x01, 0x00, 0x00, 0x00}},
       2, 1,
       {c1, c0}},
      {"32-bit: alpha as stored",
       {2, 1, 32, 0, 40, {}, {1, 2, 3, 4, 5, 6, 7, 8}},
       2, 1,
       {{1, 2, 3, 4}, {5, 6, 7, 8}}},
      {"16-bit 5-5-5 by default: channels x 8",
       {3, 1, 16, 0, 40, {}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xAA, 0xBB}},
       3, 1,
       {rgb(248, 0, 0), rgb(0, 248, 0), rgb(0, 0, 248)}},
      {"16-bit 5-6-5 masks: the lowest green bit is dropped",
       {3, 1, 16, 3, 40,
        {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0x00, 0, 0},
        {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0, 0}},
       3, 1,
       {rgb(248, 0, 0), rgb(0, 248, 0), rgb(0, 0, 0)}},
      {"16-bit width 2: no padding",
       {2, 2, 16, 0, 40, {}, {0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x7F}},
       2, 2,
       {kBlack, rgb(248, 248, 248), rgb(248, 248, 248), kBlack}},
      {"124-byte information header, offset 138: the rest is skipped",
       {2, 1, 24, 0, 124, {}, {0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0}},
       2, 1,
       {kBlack, kWhite}},
      {"pixel data further on than the tables: the gap is skipped",
       {1, 1, 24, 0, 40, {9, 9, 9, 9, 9, 9}, {1, 2, 3, 0}},
       1, 1,
       {{1, 2, 3, 0}}},
      {"8-bit with only 2 of 256 entries",
       {4, 1, 8, 0, 40, table2, {0x00, 0x01, 0x02, 0xFF}},
       4, 1,
       {c0, c1, kWhite, kWhite}},
      {"4-bit with only 2 of 16 entries: indexes 2 to 15 are white",
       {4, 1, 4, 0, 40, table2, {0x01, 0x2F, 0x00, 0x00}},
       4, 1,
       {c0, c1, kWhite, kWhite}},
      {"offset inside the headers: the palette is all white",
       {2, 1, 8, 0, 40, {}, {0x00, 0x01, 0x00, 0x00}, 10},
       2, 1,
       {kWhite, kWhite}},
  };
  ScratchDir dir;
  for (const LiteralCase& c : cases) {
    SCOPED_TRACE(c.name);
    BMP bmp;
    ASSERT_TRUE(loadFile(bmp, dir, bmptest::file(c.layout)));
    EXPECT_EQ(bmp.width(), c.width);
    EXPECT_EQ(bmp.height(), c.height);
    EXPECT_EQ(bmp.bitDepth(), c.layout.bitCount);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const BmpPixel want = c.top_down[static_cast<size_t>(y * c.width + x)];
        expectPixel(bmp, x, y, want);
      }
    }
  }
}

TEST(BmpLoad, AFileCutInItsPixelsLeavesTheUpperRowsWhite) {
  struct Case {
    const char* name;
    uint16_t depth;
    size_t keepRowBytes;  // bytes of pixel data left in the file
    int rowsRead;         // bottom rows that hold their pixels
  };
  const Case cases[] = {
      {"24-bit, one and a half rows of four", 24, 12 + 6, 1},
      {"8-bit, cut right after the palette", 8, 0, 0},
      {"1-bit, three whole rows", 1, 12, 3},
      {"16-bit, cut inside the second row", 16, 8 + 3, 1},
      {"32-bit, two rows", 32, 32, 2},
  };
  Picture black = bmptest::uniform(4, 4, kBlack);
  black.set(0, 0, kWhite);  // two colours, so that the palette has a black entry
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Layout layout = bmptest::encode(black, c.depth);
    layout.rows.resize(c.keepRowBytes);
    BMP bmp;
    ASSERT_TRUE(loadFile(bmp, dir, bmptest::file(layout)));
    EXPECT_EQ(bmp.width(), 4);
    EXPECT_EQ(bmp.height(), 4);
    for (int y = 1; y < 4; ++y) {
      const bool read = y >= 4 - c.rowsRead;
      expectPixel(bmp, 1, y, read ? kBlack : kWhite);
    }
  }
}

TEST(BmpLoad, RefusesWhatItCannotRead) {
  auto with = [](Layout l, void (*change)(Layout&)) {
    change(l);
    return bmptest::file(l);
  };
  const Layout good = bmptest::encode(bmptest::uniform(8, 8, kBlack), 24);
  struct Case {
    const char* name;
    std::string content;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"only the letters", "BM"},
      {"headers cut short", bmptest::file(good).substr(0, 40)},
      {"8-bit run-length", with(good, [](Layout& l) { l.bitCount = 8; l.compression = 1; })},
      {"16-bit run-length", with(good, [](Layout& l) { l.bitCount = 16; l.compression = 1; })},
      {"4-bit run-length", with(good, [](Layout& l) { l.bitCount = 4; l.compression = 2; })},
      {"32-bit bit fields", with(good, [](Layout& l) { l.bitCount = 32; l.compression = 3; })},
      {"compression 4", with(good, [](Layout& l) { l.compression = 4; })},
      {"compression 0x80000000", with(good, [](Layout& l) { l.compression = 0x80000000u; })},
      {"2 bits per pixel", with(good, [](Layout& l) { l.bitCount = 2; })},
      {"0 bits per pixel", with(good, [](Layout& l) { l.bitCount = 0; })},
      {"top-down, height -100", with(good, [](Layout& l) { l.height = -100; })},
      {"width 0", with(good, [](Layout& l) { l.width = 0; })},
      {"width -1", with(good, [](Layout& l) { l.width = -1; })},
      {"width 8193", with(good, [](Layout& l) { l.width = 8193; })},
      {"height 65536", with(good, [](Layout& l) { l.height = 65536; })},
      {"8192 x 2049 is more than 16 M pixels", with(good, [](Layout& l) { l.width = 8192; l.height = 2049; })},
      {"width and height in the billions", with(good, [](Layout& l) { l.width = 0x7FFFFFFF; l.height = 0x7FFFFFFF; })},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BMP bmp;
    ASSERT_TRUE(bmp.resize(5, 5));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(loadFile(bmp, dir, c.content));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    expectRefused(bmp);
    EXPECT_EQ(bmp.paletteSize(), 2);
  }
}

TEST(BmpLoad, TheLargestPictureHeldLoads) {
  // 8192 x 2048 is exactly 16 M pixels: taken, its rows all white.
  Layout l;
  l.width = 8192;
  l.height = 2048;
  ScratchDir dir;
  BMP bmp;
  ASSERT_TRUE(loadFile(bmp, dir, bmptest::file(l)));
  EXPECT_EQ(bmp.width(), 8192);
  EXPECT_EQ(bmp.height(), 2048);
  expectPixel(bmp, 8191, 2047, kWhite);
}

TEST(BmpLoad, NotABmpLeavesTheObjectAsItWas) {
  ScratchDir dir;
  BMP bmp;
  ASSERT_TRUE(bmp.resize(3, 2));
  EXPECT_FALSE(loadFile(bmp, dir, "GIF89a and more bytes after them"));
  EXPECT_EQ(bmp.width(), 3);
  EXPECT_EQ(bmp.height(), 2);
  EXPECT_EQ(bmp.bitDepth(), 24);
}

TEST(BmpLoad, AMissingFileOrNoNameIsRefused) {
  ScratchDir dir;
  BMP bmp;
  EXPECT_FALSE(bmp.load("no-such-file.bmp"));
  expectRefused(bmp);
  BMP other;
  EXPECT_FALSE(other.load(nullptr));
  expectRefused(other);
}

// Random bytes where a reader could trust them: after valid headers, in the
// header fields, and every possible cut of a file. Nothing may read or
// allocate out of bounds (the sanitizer build checks), and what loads stays
// inside the limits.
TEST(BmpLoad, SurvivesBrokenFiles) {
  std::mt19937 random(587);
  auto randomBytes = [&](size_t n) {
    std::vector<uint8_t> bytes(n);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
  };
  ScratchDir dir;
  const uint16_t depths[] = {1, 4, 8, 16, 24, 32};
  for (uint16_t depth : depths) {
    SCOPED_TRACE("depth " + std::to_string(depth));
    Layout l;
    l.width = 37;
    l.height = 21;
    l.bitCount = depth;
    l.compression = depth == 16 ? 3 : 0;
    l.afterInfo = randomBytes(depth == 16 ? 12 : 1024);
    l.rows = randomBytes(5000);
    BMP bmp;
    EXPECT_TRUE(loadFile(bmp, dir, bmptest::file(l)));

    const std::string whole = bmptest::file(l);
    for (size_t cut = 0; cut < whole.size(); cut += cut < 120 ? 1 : 37) {
      BMP cutBmp;
      loadFile(cutBmp, dir, whole.substr(0, cut));
    }
  }
  for (int round = 0; round < 300; ++round) {
    std::string content = "BM";
    const std::vector<uint8_t> rest = randomBytes(static_cast<size_t>(random() % 1200));
    content.append(rest.begin(), rest.end());
    BMP bmp;
    if (loadFile(bmp, dir, content)) {
      EXPECT_LE(bmp.width(), BMP::kMaxWidth);
      EXPECT_LE(int64_t{bmp.width()} * bmp.height(), BMP::kMaxPixels);
    }
  }
}

TEST(BmpObject, PixelOutsideIsTheNearestInside) {
  BMP bmp;
  ASSERT_TRUE(bmp.resize(10, 10));
  bmp.pixel(0, 3) = rgb(1, 2, 3);
  bmp.pixel(9, 9) = rgb(4, 5, 6);
  expectPixel(bmp, -5, 3, rgb(1, 2, 3));
  expectPixel(bmp, 10, 10, rgb(4, 5, 6));
  expectPixel(bmp, 2000000000, -2000000000, bmp.pixel(9, 0));
}

TEST(BmpObject, ResizeAndDepth) {
  BMP bmp;
  EXPECT_EQ(bmp.width(), 1);
  EXPECT_EQ(bmp.height(), 1);
  EXPECT_EQ(bmp.bitDepth(), 24);
  expectPixel(bmp, 0, 0, kWhite);

  ASSERT_TRUE(bmp.resize(4, 3));
  bmp.pixel(1, 1) = kBlack;
  EXPECT_FALSE(bmp.resize(0, 5));
  EXPECT_FALSE(bmp.resize(5, -1));
  EXPECT_FALSE(bmp.resize(BMP::kMaxWidth + 1, 1));
  EXPECT_EQ(bmp.width(), 4);
  EXPECT_EQ(bmp.height(), 3);
  expectPixel(bmp, 1, 1, kBlack);
  ASSERT_TRUE(bmp.resize(4, 3));
  expectPixel(bmp, 1, 1, kWhite);

  EXPECT_FALSE(bmp.setBitDepth(3));
  EXPECT_EQ(bmp.bitDepth(), 24);
  ASSERT_TRUE(bmp.setBitDepth(8));
  bmp.pixel(2, 2) = rgb(7, 7, 7);
  ASSERT_TRUE(bmp.setBitDepth(4));
  expectPixel(bmp, 2, 2, rgb(7, 7, 7));
}

TEST(BmpObject, Palette) {
  struct Case {
    int depth;
    int size;
    bool hasPalette;
  };
  const Case cases[] = {{1, 2, true}, {8, 256, true}, {16, 65536, false}, {32, 16777216, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE("depth " + std::to_string(c.depth));
    BMP bmp;
    ASSERT_TRUE(bmp.setBitDepth(c.depth));
    EXPECT_EQ(bmp.paletteSize(), c.size);
    bmp.setPaletteEntry(1, rgb(1, 2, 3, 4));
    expectPixel(bmp, 0, 0, kWhite);
    const BmpPixel entry = bmp.paletteEntry(1);
    EXPECT_EQ(entry.red, c.hasPalette ? 1 : 255);
    EXPECT_EQ(entry.alpha, c.hasPalette ? 4 : 0);
    // Outside the palette: writes do nothing, reads give white.
    bmp.setPaletteEntry(-1, kBlack);
    bmp.setPaletteEntry(c.size, kBlack);
    EXPECT_EQ(bmp.paletteEntry(-1).red, 255);
    EXPECT_EQ(bmp.paletteEntry(c.size).red, 255);
  }
}

}  // namespace
