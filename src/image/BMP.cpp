// BMP.cpp - reads Windows BMP files: 1, 4, 8, 16, 24 and 32 bits per pixel,
// uncompressed or (16 bits) with bit masks, bottom-up rows padded to 4 bytes.
#include "image/BMP.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

namespace {

// 14-byte file header and 40-byte information header: the pixel-data offset
// of a file with no colour table.
constexpr int64_t kHeadersEnd = 54;
// What follows the letters B and M up to the end of the information header.
constexpr size_t kHeaderFieldsSize = 52;

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;

// Little-endian fields, byte by byte.
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
int32_t le32Signed(const uint8_t* p) {
  const uint32_t value = le32(p);
  return value <= 0x7FFFFFFFu ? static_cast<int32_t>(value)
                              : static_cast<int32_t>(value - 0x80000000u) - 0x7FFFFFFF - 1;
}

bool isBitDepth(int32_t depth) {
  return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

// The picture file, open for binary reading for as long as this lives.
class BmpFile {
 public:
  explicit BmpFile(const char* path) : file_(path ? std::fopen(path, "rb") : nullptr) {}
  ~BmpFile() {
    if (file_) std::fclose(file_);
  }
  BmpFile(const BmpFile&) = delete;
  BmpFile& operator=(const BmpFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  // True only when all n bytes came; at the end of the file nothing is read.
  bool read(uint8_t* bytes, size_t n) { return std::fread(bytes, 1, n, file_) == n; }
  // Reads and drops up to n bytes, stopping at the end of the file.
  void skip(int64_t n) {
    uint8_t scratch[4096];
    while (n > 0) {
      const size_t chunk = static_cast<size_t>(std::min<int64_t>(n, sizeof scratch));
      if (!read(scratch, chunk)) return;
      n -= static_cast<int64_t>(chunk);
    }
  }

 private:
  std::FILE* file_;
};

// Right shifts that bring a 16-bit channel mask down to 31 or less.
int maskShift(uint32_t mask) {
  int shift = 0;
  while (mask > 31) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

BMP::BMP() : pixels_(new BmpPixel[1]) { pixels_[0] = kBmpWhite; }

BmpPixel& BMP::pixel(int32_t x, int32_t y) {
  x = std::clamp(x, 0, width_ - 1);
  y = std::clamp(y, 0, height_ - 1);
  return pixels_[static_cast<size_t>(x) * static_cast<size_t>(height_) + static_cast<size_t>(y)];
}

const BmpPixel& BMP::pixel(int32_t x, int32_t y) const {
  return const_cast<BMP*>(this)->pixel(x, y);
}

bool BMP::resize(int32_t newWidth, int32_t newHeight) {
  if (newWidth < 1 || newHeight < 1 || newWidth > kMaxWidth || newHeight > kMaxHeight) return false;
  const int64_t count = int64_t{newWidth} * newHeight;
  if (count > kMaxPixels) return false;
  std::unique_ptr<BmpPixel[]> fresh(new (std::nothrow) BmpPixel[static_cast<size_t>(count)]);
  if (!fresh) return false;
  std::fill(fresh.get(), fresh.get() + count, kBmpWhite);
  pixels_ = std::move(fresh);
  width_ = newWidth;
  height_ = newHeight;
  return true;
}

bool BMP::setBitDepth(int32_t depth) {
  if (!isBitDepth(depth)) return false;
  bitDepth_ = depth;
  paletteEntries_ = depth <= 8 ? (1 << depth) : 0;
  if (hasPalette()) fillDefaultPalette();
  return true;
}

int32_t BMP::paletteSize() const { return bitDepth_ == 32 ? (1 << 24) : (1 << bitDepth_); }

BmpPixel BMP::paletteEntry(int32_t index) const {
  if (index < 0 || index >= paletteEntries_) return kBmpWhite;
  return palette_[index];
}

void BMP::setPaletteEntry(int32_t index, BmpPixel entry) {
  if (index >= 0 && index < paletteEntries_) palette_[index] = entry;
}

void BMP::fillDefaultPalette() {
  if (!hasPalette()) return;
  const int last = paletteEntries_ - 1;
  for (int i = 0; i <= last; ++i) {
    const uint8_t grey = static_cast<uint8_t>(i * 255 / last);
    palette_[i] = {grey, grey, grey, 0};
  }
}

void BMP::reset() {
  resize(1, 1);
  setBitDepth(1);
}

bool BMP::load(const char* arquivo) {
  BmpFile file(arquivo);
  if (!file.isOpen()) {
    reset();
    return false;
  }
  // A file too short for the two letters fails on the headers below.
  uint8_t type[2];
  if (file.read(type, sizeof type) && (type[0] != 'B' || type[1] != 'M')) return false;

  // File header after the type, then the information header. Its size field
  // is not used: 40 bytes are taken, and a larger header is skipped below.
  uint8_t fields[kHeaderFieldsSize];
  if (!file.read(fields, sizeof fields)) {
    reset();
    return false;
  }
  const uint32_t offset = le32(fields + 8);
  const int32_t width = le32Signed(fields + 16);
  const int32_t height = le32Signed(fields + 20);  // negative: top-down, refused
  const int32_t bitCount = le16(fields + 26);
  const uint32_t compression = le32(fields + 28);

  if (compression == kCompressionRle8 || compression == kCompressionRle4 ||
      compression > kCompressionBitFields ||
      (compression == kCompressionBitFields && bitCount != 16) || !isBitDepth(bitCount)) {
    reset();
    return false;
  }
  setBitDepth(bitCount);
  if (width <= 0 || height <= 0 || !resize(width, height)) {
    reset();
    return false;
  }

  // Colour table: as many 4-byte entries as fit before the pixel data, the
  // rest white.
  const int64_t afterHeaders = int64_t{offset} - kHeadersEnd;
  if (hasPalette()) {
    const int64_t present = std::min<int64_t>(afterHeaders / 4, paletteEntries_);
    for (int32_t i = 0; i < paletteEntries_; ++i) {
      uint8_t quad[4];
      palette_[i] = (i < present && file.read(quad, sizeof quad))
                        ? BmpPixel{quad[0], quad[1], quad[2], quad[3]}
                        : kBmpWhite;
    }
  }

  // Whatever lies between the tables and the pixel data (a larger
  // information header, a gap) is read past.
  int64_t gap = afterHeaders;
  if (bitDepth_ < 16) gap -= 4 * int64_t{paletteSize()};
  if (bitDepth_ == 16 && compression == kCompressionBitFields) gap -= 12;
  if (gap < 0) gap = 0;

  if (bitDepth_ == 16) {
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // red, green, blue: 5-5-5
    if (compression != kCompressionNone) {
      for (uint32_t& mask : masks) {
        uint8_t word[4];
        if (file.read(word, sizeof word)) mask = le32(word) & 0xFFFF;
      }
    }
    file.skip(gap);
    const int shifts[3] = {maskShift(masks[0]), maskShift(masks[1]), maskShift(masks[2])};
    const int padding = (4 - (2 * width_) % 4) % 4;
    // The file ending inside a row leaves that pixel and all above it white.
    for (int32_t y = height_ - 1; y >= 0; --y) {
      for (int32_t x = 0; x < width_; ++x) {
        uint8_t bytes[2];
        if (!file.read(bytes, sizeof bytes)) return true;
        const uint32_t word = le16(bytes);
        auto channel = [&](int i) {
          return static_cast<uint8_t>(8 * ((word & masks[i]) >> shifts[i]));
        };
        pixel(x, y) = {channel(2), channel(1), channel(0), 0};
      }
      for (int i = 0; i < padding; ++i) {
        uint8_t pad;
        if (!file.read(&pad, 1)) return true;
      }
    }
    return true;
  }

  file.skip(gap);
  const int64_t rowBytes = (int64_t{width_} * bitDepth_ + 7) / 8;
  const size_t stride = static_cast<size_t>((rowBytes + 3) / 4 * 4);
  std::vector<uint8_t> row(stride);
  for (int32_t y = height_ - 1; y >= 0; --y) {
    if (!file.read(row.data(), stride)) break;  // the rest stays white
    for (int32_t x = 0; x < width_; ++x) {
      BmpPixel& target = pixel(x, y);
      switch (bitDepth_) {
        case 1:
          target = palette_[(row[x / 8] >> (7 - x % 8)) & 0x01];
          break;
        case 4:
          target = palette_[x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F];
          break;
        case 8:
          target = palette_[row[x]];
          break;
        case 24:
          target = {row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
          break;
        default:  // 32
          target = {row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]};
          break;
      }
    }
  }
  return true;
}
