// BmpTestFiles.h - BMP files written by the tests themselves, byte by byte,
// and the raster command of an 8 x 8 picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// A 1-bit picture whose top rows are black and the rest white.
inline std::string blackTop(int32_t width, int32_t height, int32_t blackRows) {
  Layout l{width, height, 1};
  l.afterInfo = {0, 0, 0, 0, 255, 255, 255, 0};  // index 0 black, 1 white
  const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  for (int32_t y = height - 1; y >= 0; --y) {
    l.rows.insert(l.rows.end(), stride, y < blackRows ? 0x00 : 0xFF);
  }
  return file(l);
}
inline std::string black(int32_t width, int32_t height) { return blackTop(width, height, height); }

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
