// BmpTestFiles.h - BMP files written by the tests themselves, byte by byte.
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
  std::vector<uint8_t> afterInfo;  // bit masks, colour table
  std::vector<uint8_t> rows;       // pixel data as stored: bottom row first, padded
  int64_t offset = -1;             // pixel-data offset; -1: right after afterInfo
};

inline void put16(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

inline std::string file(const Layout& l) {
  const uint32_t dataStart = 14 + l.infoSize + static_cast<uint32_t>(l.afterInfo.size());
  std::string s = "BM";
  put32(s, dataStart + static_cast<uint32_t>(l.rows.size()));
  put32(s, 0);  // two reserved words
  put32(s, l.offset >= 0 ? static_cast<uint32_t>(l.offset) : dataStart);
  put32(s, l.infoSize);
  put32(s, static_cast<uint32_t>(l.width));
  put32(s, static_cast<uint32_t>(l.height));
  put16(s, 1);
  put16(s, l.bitCount);
  put32(s, l.compression);
  put32(s, static_cast<uint32_t>(l.rows.size()));
  put32(s, 2835);
  put32(s, 2835);
  put32(s, 0);
  put32(s, 0);
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
  BmpPixel at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  void set(int32_t x, int32_t y, BmpPixel p) { pixels[static_cast<size_t>(y * width + x)] = p; }
};

inline BmpPixel rgb(int r, int g, int b, int a = 0) {
  return {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
          static_cast<uint8_t>(a)};
}
inline BmpPixel grey(int v) { return rgb(v, v, v); }

inline Picture uniform(int32_t width, int32_t height, BmpPixel p) {
  return {width, height, std::vector<BmpPixel>(static_cast<size_t>(width * height), p)};
}

inline bool sameColour(BmpPixel a, BmpPixel b) {
  return a.blue == b.blue && a.green == b.green && a.red == b.red;
}

// The picture stored at the depth: for 1, 4 and 8 a colour table of its
// colours in order of first appearance (they must fit); for 16 the 5-5-5
// words (each channel's top five bits); for 24 and 32 the bytes, alpha kept
// in 32.
inline Layout encode(const Picture& p, uint16_t depth) {
  Layout l;
  l.width = p.width;
  l.height = p.height;
  l.bitCount = depth;
  std::vector<BmpPixel> colours;
  if (depth <= 8) {
    for (const BmpPixel& px : p.pixels) {
      if (std::none_of(colours.begin(), colours.end(),
                       [&](const BmpPixel& c) { return sameColour(c, px); })) {
        colours.push_back(px);
      }
    }
    for (const BmpPixel& c : colours) {
      l.afterInfo.insert(l.afterInfo.end(), {c.blue, c.green, c.red, 0});
    }
  }
  const size_t stride = (static_cast<size_t>(p.width) * depth + 31) / 32 * 4;
  for (int32_t y = p.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int32_t x = 0; x < p.width; ++x) {
      const BmpPixel px = p.at(x, y);
      const size_t ux = static_cast<size_t>(x);
      if (depth <= 8) {
        const size_t index = static_cast<size_t>(
            std::find_if(colours.begin(), colours.end(),
                         [&](const BmpPixel& c) { return sameColour(c, px); }) -
            colours.begin());
        const size_t bit = ux * depth;
        const int shift = static_cast<int>(8 - depth - bit % 8);
        row[bit / 8] = static_cast<uint8_t>(row[bit / 8] | (index << shift));
      } else if (depth == 16) {
        const uint32_t word = ((px.red >> 3) << 10) | ((px.green >> 3) << 5) | (px.blue >> 3);
        row[2 * ux] = static_cast<uint8_t>(word & 0xFF);
        row[2 * ux + 1] = static_cast<uint8_t>(word >> 8);
      } else if (depth == 24) {
        row[3 * ux] = px.blue;
        row[3 * ux + 1] = px.green;
        row[3 * ux + 2] = px.red;
      } else {
        row[4 * ux] = px.blue;
        row[4 * ux + 1] = px.green;
        row[4 * ux + 2] = px.red;
        row[4 * ux + 3] = px.alpha;
      }
    }
    l.rows.insert(l.rows.end(), row.begin(), row.end());
  }
  return l;
}

inline std::string file(const Picture& p, uint16_t depth) { return file(encode(p, depth)); }

}  // namespace bmptest
