// BmpTestFiles.h - BMP files written by the tests themselves, byte by byte,
// and the raster command of an 8 x 8 picture.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "image/BMP.h"

namespace bmptest {

// The parts of one file, written as given: nothing is checked, so that
// broken files can be made as easily as good ones.
struct Layout {
  int32_t width = 8;
  int32_t height = 8;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t infoSize = 40;          // information header bytes written (40 or more)
  std::vector<uint8_t> afterInfo{};  // bit masks, colour table
  std::vector<uint8_t> rows{};       // pixel data as stored: bottom row first, padded
  int64_t offset = -1;             // pixel-data offset; -1: right after afterInfo
};

inline std::string file(const Layout& l) {
  const uint32_t dataStart = 14 + l.infoSize + static_cast<uint32_t>(l.afterInfo.size());
  std::string s = "BM";
  const uint32_t fields[][2] = {  // value, bytes
      {dataStart + static_cast<uint32_t>(l.rows.size()), 4}, {0, 4},  // size, two reserved words
      {l.offset >= 0 ? static_cast<uint32_t>(l.offset) : dataStart, 4}, {l.infoSize, 4},
      {static_cast<uint32_t>(l.width), 4}, {static_cast<uint32_t>(l.height), 4}, {1, 2},
      {l.bitCount, 2}, {l.compression, 4}, {static_cast<uint32_t>(l.rows.size()), 4},
      {2835, 4}, {2835, 4}, {0, 4}, {0, 4}};
  for (const auto& f : fields) {
    for (uint32_t i = 0; i < f[1]; ++i) s.push_back(static_cast<char>((f[0] >> (8 * i)) & 0xFF));
  }
  s.append(l.infoSize > 40 ? l.infoSize - 40 : 0, '\0');
  s.append(l.afterInfo.begin(), l.afterInfo.end());
  s.append(l.rows.begin(), l.rows.end());
  return s;
}

// A picture pixel by pixel, row 0 at the top.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<BmpPixel> pixels;  // row by row from the top
  void set(int32_t x, int32_t y, BmpPixel p) { pixels[static_cast<size_t>(y * width + x)] = p; }
};

inline BmpPixel rgb(int r, int g, int b, int a = 0) {
  return {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
          static_cast<uint8_t>(a)};
}
inline Picture uniform(int32_t width, int32_t height, BmpPixel p) {
  return {width, height, std::vector<BmpPixel>(static_cast<size_t>(width * height), p)};
}

// The picture stored at the depth: for 1, 4 and 8 a colour table of its
// colours in order of first appearance (they must fit); for 16 the 5-5-5
// words (each channel's top five bits); for 24 and 32 the bytes, alpha kept
// in 32.
inline Layout encode(const Picture& p, uint16_t depth) {
  Layout l{p.width, p.height, depth};
  std::vector<uint32_t> colours;  // 0xRRGGBB
  const size_t stride = (static_cast<size_t>(p.width) * depth + 31) / 32 * 4;
  for (int32_t y = p.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (size_t x = 0; x < static_cast<size_t>(p.width); ++x) {
      const BmpPixel px = p.pixels[static_cast<size_t>(y * p.width) + x];
      const uint32_t colour = uint32_t{px.red} << 16 | uint32_t{px.green} << 8 | px.blue;
      uint32_t value = uint32_t{px.alpha} << 24 | colour;
      if (depth <= 8) {
        value = static_cast<uint32_t>(std::find(colours.begin(), colours.end(), colour) -
                                      colours.begin());
        if (value == colours.size()) colours.push_back(colour);
      } else if (depth == 16) {
        value = ((px.red >> 3) << 10) | ((px.green >> 3) << 5) | (px.blue >> 3);
      }
      const size_t bit = x * depth;
      if (depth < 8) row[bit / 8] |= static_cast<uint8_t>(value << (8 - depth - bit % 8));
      for (size_t k = 0; depth >= 8 && k < depth / 8u; ++k) {
        row[bit / 8 + k] = static_cast<uint8_t>(value >> (8 * k));
      }
    }
    l.rows.insert(l.rows.end(), row.begin(), row.end());
  }
  for (uint32_t c : colours) {
    l.afterInfo.insert(l.afterInfo.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                                           static_cast<uint8_t>(c >> 16), 0});
  }
  return l;
}

inline std::string file(const Picture& p, uint16_t depth) { return file(encode(p, depth)); }

// GS 8 L of an 8 x 8 picture with the given 8 rows of one byte.
inline std::vector<uint8_t> raster8x8(const std::vector<uint8_t>& rows) {
  static const uint8_t kHead[] = {0x1D, 0x38, 0x4C, 0x12, 0x00, 0x00, 0x00, 0x30, 0x70,
                                  0x30, 0x01, 0x01, 0x31, 0x08, 0x00, 0x08, 0x00};
  static const uint8_t kTail[] = {0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A};
  std::vector<uint8_t> all;
  all.reserve(sizeof kHead + rows.size() + sizeof kTail);
  for (uint8_t b : kHead) all.push_back(b);
  for (uint8_t b : rows) all.push_back(b);
  for (uint8_t b : kTail) all.push_back(b);
  return all;
}

}  // namespace bmptest
