// OneBitBmp.h - 1-bit BMP files written by the tests, colour 0 black and
// colour 1 white. Header only: the end-to-end tests, which do not link the
// test support library, use it too.
#pragma once

#include <cstdint>
#include <string>

// Bytes of one stored row: a bit per dot, padded to 4 bytes.
inline uint32_t oneBitStride(uint32_t width) { return (width + 31) / 32 * 4; }

// The file of a width x height picture whose pixel data is stored: its rows
// as the file keeps them, bottom row first. It may hold fewer rows than the
// header claims, as a file cut short does.
inline std::string oneBitBmp(uint32_t width, uint32_t height, const std::string& stored) {
  std::string file(62, '\0');
  const uint32_t fields[][3] = {  // offset, value, bytes
      {0, 0x4D42, 2}, {2, 62 + oneBitStride(width) * height, 4}, {10, 62, 4}, {14, 40, 4},
      {18, width, 4}, {22, height, 4}, {26, 1, 2}, {28, 1, 2}, {58, 0xFFFFFF, 4}};
  for (const auto& f : fields) {
    for (uint32_t k = 0; k < f[2]; ++k) file[f[0] + k] = static_cast<char>(f[1] >> (8 * k));
  }
  return file + stored;
}
