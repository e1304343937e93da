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
using bmptest::rgb;

namespace {

const BmpPixel kWhite = rgb(255, 255, 255);
const BmpPixel kBlack = rgb(0, 0, 0);

// A pixel as 0xAARRGGBB, so that a wrong one shows in one line.
uint32_t argb(BmpPixel p) { return uint32_t{p.alpha} << 24 | uint32_t{p.red} << 16 | p.green << 8 | p.blue; }
void expectPixel(const BMP& bmp, int x, int y, BmpPixel want) {
  EXPECT_EQ(argb(bmp.pixel(x, y)), argb(want)) << "pixel " << x << "," << y;
}

void expectSize(const BMP& bmp, int width, int height, int depth) {
  EXPECT_EQ(bmp.width(), width);
  EXPECT_EQ(bmp.height(), height);
  EXPECT_EQ(bmp.bitDepth(), depth);
}

bool loadFile(BMP& bmp, const ScratchDir& dir, const std::string& content) {
  dir.write("t.bmp", content);
  return bmp.load("t.bmp");
}

TEST(BmpLoad, ReadsEveryDepthFromLiteralBytes) {
  struct Case {
    const char* name;
    Layout layout;
    int width, height;
    std::vector<BmpPixel> top_down;  // expected pixels, row 0 first
  };
  const BmpPixel red = rgb(255, 0, 0), blue = rgb(0, 0, 255), pale = rgb(248, 248, 248);
  const BmpPixel c0 = rgb(10, 20, 30), c1 = rgb(40, 50, 60);
  const std::vector<uint8_t> table2 = {30, 20, 10, 0, 60, 50, 40, 0};
  const Case cases[] = {
      {"24-bit width 3: 12-byte stride, the first stored row is the bottom",
       {3, 2, 24, 0, 40, {}, {0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xEE, 0xEE, 0xEE,
                              0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xEE, 0xEE, 0xEE}},
       3, 2, {blue, kWhite, kBlack, red, kBlack, kWhite}},
      {"1-bit width 10: pixels 8 and 9 from the two top bits of the second byte",
       {10, 1, 1, 0, 40, table2, {0xA0, 0x80, 0x00, 0x00}}, 10, 1,
       {c1, c0, c1, c0, c0, c0, c0, c0, c1, c0}},
      {"32-bit: alpha as stored", {2, 1, 32, 0, 40, {}, {1, 2, 3, 4, 5, 6, 7, 8}}, 2, 1,
       {{1, 2, 3, 4}, {5, 6, 7, 8}}},
      {"16-bit 5-5-5 by default: channels x 8",
       {3, 1, 16, 0, 40, {}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xAA, 0xBB}}, 3, 1,
       {rgb(248, 0, 0), rgb(0, 248, 0), rgb(0, 0, 248)}},
      {"16-bit 5-6-5 masks: the lowest green bit is dropped",
       {3, 1, 16, 3, 40, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0x00, 0, 0},
        {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0, 0}}, 3, 1,
       {rgb(248, 0, 0), rgb(0, 248, 0), kBlack}},
      {"16-bit width 2: no padding",
       {2, 2, 16, 0, 40, {}, {0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x7F}}, 2, 2,
       {kBlack, pale, pale, kBlack}},
      {"124-byte information header, offset 138: the rest is skipped",
       {2, 1, 24, 0, 124, {}, {0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0}}, 2, 1, {kBlack, kWhite}},
      {"pixel data further on than the tables: the gap is skipped",
       {1, 1, 24, 0, 40, {9, 9, 9, 9, 9, 9}, {1, 2, 3, 0}}, 1, 1, {{1, 2, 3, 0}}},
      {"8-bit with only 2 of 256 entries", {4, 1, 8, 0, 40, table2, {0x00, 0x01, 0x02, 0xFF}},
       4, 1, {c0, c1, kWhite, kWhite}},
      {"4-bit with only 2 of 16 entries, high nibble first: indexes 2 to 15 are white",
       {4, 1, 4, 0, 40, table2, {0x01, 0x2F, 0x00, 0x00}}, 4, 1, {c0, c1, kWhite, kWhite}},
      {"offset inside the headers: the palette is all white",
       {2, 1, 8, 0, 40, {}, {0x00, 0x01, 0x00, 0x00}, 10}, 2, 1, {kWhite, kWhite}},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BMP bmp;
    ASSERT_TRUE(loadFile(bmp, dir, bmptest::file(c.layout)));
    expectSize(bmp, c.width, c.height, c.layout.bitCount);
    for (int i = 0; i < c.width * c.height; ++i) {
      expectPixel(bmp, i % c.width, i / c.width, c.top_down[static_cast<size_t>(i)]);
    }
  }
}

TEST(BmpLoad, AFileCutInItsPixelsLeavesTheUpperRowsWhite) {
  struct Case {
    uint16_t depth;
    size_t keepRowBytes;  // bytes of pixel data left in the file
    int rowsRead;         // bottom rows that hold their pixels
  };
  const Case cases[] = {{24, 12 + 6, 1}, {8, 0, 0}, {1, 12, 3}, {16, 8 + 3, 1}, {32, 32, 2}};
  bmptest::Picture black = bmptest::uniform(4, 4, kBlack);
  black.set(0, 0, kWhite);  // two colours, so that the palette has a black entry
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE("depth " + std::to_string(c.depth));
    Layout layout = bmptest::encode(black, c.depth);
    layout.rows.resize(c.keepRowBytes);
    BMP bmp;
    ASSERT_TRUE(loadFile(bmp, dir, bmptest::file(layout)));
    expectSize(bmp, 4, 4, c.depth);
    for (int y = 1; y < 4; ++y) expectPixel(bmp, 1, y, y >= 4 - c.rowsRead ? kBlack : kWhite);
  }
}

TEST(BmpLoad, RefusesWhatItCannotRead) {
  std::vector<std::string> contents = {"", bmptest::file(Layout{}).substr(0, 40)};
  const Layout bad[] = {
      {8, 8, 8, 1}, {8, 8, 4, 2}, {8, 8, 32, 3},             // run-length; 32-bit bit fields
      {8, 8, 24, 4}, {8, 8, 24, 0x80000000u}, {8, 8, 2, 0},  // compressions and depths unknown
      {8, -100}, {0, 8}, {-1, 8},                            // top-down, no width
      {8193, 8}, {8, 65536}, {8192, 2049},                   // past the limits
      {0x7FFFFFFF, 0x7FFFFFFF}};
  for (const Layout& l : bad) contents.push_back(bmptest::file(l));
  ScratchDir dir;
  for (size_t i = 0; i < contents.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    BMP bmp;
    ASSERT_TRUE(bmp.resize(5, 5));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(loadFile(bmp, dir, contents[i]));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    expectSize(bmp, 1, 1, 1);
    EXPECT_EQ(bmp.paletteSize(), 2);
  }
}

TEST(BmpLoad, TheLargestPictureHeldLoads) {
  // 8192 x 2048 is exactly 16 M pixels: taken, its rows all white.
  ScratchDir dir;
  BMP bmp;
  ASSERT_TRUE(loadFile(bmp, dir, bmptest::file(Layout{8192, 2048})));
  expectSize(bmp, 8192, 2048, 24);
  expectPixel(bmp, 8191, 2047, kWhite);
}

TEST(BmpLoad, NotABmpKeepsTheObjectAMissingFileResetsIt) {
  ScratchDir dir;
  BMP bmp;
  ASSERT_TRUE(bmp.resize(3, 2));
  EXPECT_FALSE(loadFile(bmp, dir, "GIF89a and more bytes after them"));
  expectSize(bmp, 3, 2, 24);
  EXPECT_FALSE(bmp.load("no-such-file.bmp"));
  expectSize(bmp, 1, 1, 1);
  BMP other;
  EXPECT_FALSE(other.load(nullptr));
  expectSize(other, 1, 1, 1);
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
  for (uint16_t depth : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE("depth " + std::to_string(depth));
    const Layout l{37, 21, depth, depth == 16 ? 3u : 0u, 40, randomBytes(depth == 16 ? 12 : 1024),
                   randomBytes(5000)};
    const std::string whole = bmptest::file(l);
    BMP bmp;
    EXPECT_TRUE(loadFile(bmp, dir, whole));
    for (size_t cut = 0; cut < whole.size(); cut += cut < 120 ? 1 : 37) {
      BMP cutBmp;
      loadFile(cutBmp, dir, whole.substr(0, cut));
    }
  }
  for (int round = 0; round < 300; ++round) {
    const std::vector<uint8_t> rest = randomBytes(static_cast<size_t>(random() % 1200));
    BMP bmp;
    if (loadFile(bmp, dir, "BM" + std::string(rest.begin(), rest.end()))) {
      EXPECT_LE(bmp.width(), BMP::kMaxWidth);
      EXPECT_LE(int64_t{bmp.width()} * bmp.height(), BMP::kMaxPixels);
    }
  }
}

TEST(BmpObject, ResizeDepthPaletteAndEdges) {
  BMP bmp;
  expectSize(bmp, 1, 1, 24);
  expectPixel(bmp, 0, 0, kWhite);
  ASSERT_TRUE(bmp.resize(10, 10));
  bmp.pixel(0, 3) = rgb(1, 2, 3);
  bmp.pixel(9, 9) = rgb(4, 5, 6);
  // Outside: the nearest pixel inside.
  expectPixel(bmp, -5, 3, rgb(1, 2, 3));
  expectPixel(bmp, 10, 10, rgb(4, 5, 6));
  expectPixel(bmp, 2000000000, -2000000000, bmp.pixel(9, 0));
  // A refused size or depth changes nothing; the same size again is all white.
  EXPECT_FALSE(bmp.resize(0, 5));
  EXPECT_FALSE(bmp.resize(5, -1));
  EXPECT_FALSE(bmp.resize(BMP::kMaxWidth + 1, 1));
  EXPECT_FALSE(bmp.setBitDepth(3));
  expectSize(bmp, 10, 10, 24);
  expectPixel(bmp, 0, 3, rgb(1, 2, 3));
  ASSERT_TRUE(bmp.resize(10, 10));
  expectPixel(bmp, 0, 3, kWhite);
  // A depth change keeps the pixels.
  bmp.pixel(2, 2) = rgb(7, 7, 7);
  ASSERT_TRUE(bmp.setBitDepth(4));
  expectPixel(bmp, 2, 2, rgb(7, 7, 7));
}

TEST(BmpObject, Palette) {
  struct Case {
    int depth, size;
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
    EXPECT_EQ(argb(bmp.paletteEntry(1)), c.hasPalette ? 0x04010203u : 0x00FFFFFFu);
    // Outside the palette: writes do nothing, reads give white.
    bmp.setPaletteEntry(-1, kBlack);
    bmp.setPaletteEntry(c.size, kBlack);
    EXPECT_EQ(argb(bmp.paletteEntry(-1)), 0x00FFFFFFu);
    EXPECT_EQ(argb(bmp.paletteEntry(c.size)), 0x00FFFFFFu);
  }
}

}  // namespace
