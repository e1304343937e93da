// BMP.cpp - reads Windows BMP files: 1, 4, 8, 16, 24 and 32 bits per pixel,
// uncompressed or (16 bits) with bit masks, bottom-up rows padded to 4 bytes.
#include "image/BMP.h"

#include <algorithm>
#include <new>

#include "image/Luminance.h"

namespace {

// 14-byte file header and 40-byte information header: the pixel-data offset
// of a file with no colour table.
constexpr int64_t kHeadersEnd = 54;
constexpr int64_t kMaskBytes = 12;

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

// Right shifts that bring a 16-bit channel mask down to 31 or less.
int maskShift(uint32_t mask) {
  int shift = 0;
  while (mask > 31) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// Eight grey levels to eight dots, the first in bit 7.
uint8_t dotsOf8(const uint8_t* grey) {
  // Eight grey levels as one word; a byte's top bit set in m where it is
  // below 127: its own top bit clear, and not 127 in its low seven bits.
  uint64_t g = 0;
  for (int i = 7; i >= 0; --i) g = g << 8 | grey[i];
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu, kOnes = 0x0101010101010101u;
  const uint64_t m = ~(g | ((g & kLow7) + kOnes)) & ~kLow7;
  // The eight top bits gathered into one byte, the first pixel in bit 7: the
  // multiplication moves byte i's bit to bit 63 - i, no two products meeting.
  return static_cast<uint8_t>(((m >> 7) * 0x8040201008040201u) >> 56);
}

const uint8_t kWhiteGrey = greyLevel(kBmpWhite.red, kBmpWhite.green, kBmpWhite.blue);

}  // namespace

// The fields of the file header and the information header this reader
// uses. The size field of the information header is not: 40 bytes are
// taken, and a larger header is read past with the gap before the pixels.
struct BMP::Header {
  uint32_t offset;  // of the pixel data
  int32_t width;
  int32_t height;  // negative: top-down, refused
  int32_t bitCount;
  uint32_t compression;

  explicit Header(const uint8_t* h)
      : offset(le32(h + 10)),
        width(le32Signed(h + 18)),
        height(le32Signed(h + 22)),
        bitCount(le16(h + 28)),
        compression(le32(h + 30)) {}

  bool readable() const {
    if (compression == kCompressionRle8 || compression == kCompressionRle4 ||
        compression > kCompressionBitFields) {
      return false;
    }
    return (compression != kCompressionBitFields || bitCount == 16) && isBitDepth(bitCount);
  }
  bool withinLimits() const {
    return width >= 1 && height >= 1 && width <= kMaxWidth && height <= kMaxHeight &&
           int64_t{width} * height <= kMaxPixels;
  }
  // Bytes of one stored row: whole bytes, then a multiple of 4.
  size_t stride() const { return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4; }
};

bool BMP::refuse() {
  bitDepth_ = 1;
  width_ = height_ = 1;
  stride_ = 4;
  compression_ = kCompressionNone;
  file_.reset();
  rows_.reset();
  bytesInFile_ = rowBytes_ = 0;
  return false;
}

bool BMP::open(const char* fileName) {
  auto file = std::make_unique<PictureFile>();
  if (!fileName || !file->open(fileName)) return refuse();
  uint8_t head[kHeadersEnd];
  const size_t got = file->readAt(0, head, sizeof head);
  // A file too short for the two letters fails as too short for the headers.
  if (got >= 2 && (head[0] != 'B' || head[1] != 'M')) return false;
  if (got < sizeof head) return refuse();
  const Header header(head);
  if (!header.readable() || !header.withinLimits()) return refuse();

  bitDepth_ = header.bitCount;
  width_ = header.width;
  height_ = header.height;
  compression_ = header.compression;
  stride_ = header.stride();
  rows_.reset();
  rowBytes_ = 0;

  // The tables follow the headers; whatever lies between the room they take
  // and the offset (a larger information header, a gap) is read past. The
  // offset itself is not sought: a colour table shorter than the depth
  // allows moves the pixels forward only as far as it goes.
  const int64_t afterHeaders = int64_t{header.offset} - kHeadersEnd;
  int64_t tables = 0;
  int64_t room = 0;
  if (bitDepth_ <= 8) {
    tables = readPalette(*file, afterHeaders);
    room = 4 * (int64_t{1} << bitDepth_);
  }
  if (bitDepth_ == 16) room = tables = readMasks(*file);
  dataStart_ = kHeadersEnd + tables + std::max<int64_t>(afterHeaders - room, 0);

  // The rows the file holds from there on; too few, and the picture is
  // refused before anything is built for it.
  const int64_t claimed = static_cast<int64_t>(stride_) * height_;
  const int64_t held = std::clamp<int64_t>(file->size() - dataStart_, 0, claimed);
  const int64_t missingRows = height_ - held / static_cast<int64_t>(stride_);
  if (missingRows * width_ > kMaxMissingPixels) return refuse();
  bytesInFile_ = static_cast<size_t>(held);
  file_ = std::move(file);
  return true;
}

// As many 4-byte entries as fit before the offset, the rest white; the
// bytes they take.
int64_t BMP::readPalette(PictureFile& file, int64_t afterHeaders) {
  const int entries = 1 << bitDepth_;
  const int64_t present = std::clamp<int64_t>(afterHeaders / 4, 0, entries);
  uint8_t table[4 * kMaxPaletteEntries];
  const size_t got = file.readAt(kHeadersEnd, table, static_cast<size_t>(4 * present));
  for (int i = 0; i < entries; ++i) {
    const uint8_t* quad = table + 4 * i;  // blue, green, red, unused
    paletteGrey_[i] =
        static_cast<size_t>(4 * i + 4) <= got ? greyLevel(quad[2], quad[1], quad[0]) : kWhiteGrey;
  }
  return 4 * present;
}

// Red, green and blue masks: 5-5-5 by default, else the three words right
// after the information header (their low 16 bits), each read only if whole;
// the bytes they take.
int64_t BMP::readMasks(PictureFile& file) {
  masks_[0] = 0x7C00;
  masks_[1] = 0x03E0;
  masks_[2] = 0x001F;
  if (compression_ != kCompressionNone) {
    uint8_t words[kMaskBytes];
    const size_t got = file.readAt(kHeadersEnd, words, sizeof words);
    for (size_t i = 0; 4 * i + 4 <= got; ++i) masks_[i] = le32(words + 4 * i) & 0xFFFF;
  }
  for (int i = 0; i < 3; ++i) shifts_[i] = maskShift(masks_[i]);
  return compression_ == kCompressionBitFields ? kMaskBytes : 0;
}

bool BMP::readPixels() {
  if (!file_) return true;
  rows_.reset(new (std::nothrow) uint8_t[std::max<size_t>(bytesInFile_, 1)]);
  if (!rows_) return refuse();
  rowBytes_ = file_->readAt(dataStart_, rows_.get(), bytesInFile_);
  file_.reset();
  return true;
}

int32_t BMP::storedPixels(int32_t y, const uint8_t** row) const {
  const size_t start = static_cast<size_t>(height_ - 1 - y) * stride_;
  if (start >= rowBytes_) return 0;
  *row = rows_.get() + start;
  if (bitDepth_ == 16) {
    return static_cast<int32_t>(std::min<size_t>((rowBytes_ - start) / 2, static_cast<size_t>(width_)));
  }
  return start + stride_ <= rowBytes_ ? width_ : 0;
}

uint8_t BMP::paletteIndex(const uint8_t* row, int32_t x) const {
  switch (bitDepth_) {
    case 1:
      return (row[x / 8] >> (7 - x % 8)) & 0x01;
    case 4:
      return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default:
      return row[x];
  }
}

// Each channel is 8 x (word AND mask) >> shift: 0 to 248.
BmpPixel BMP::fromWord(uint32_t word) const {
  auto channel = [&](int i) { return static_cast<uint8_t>(8 * ((word & masks_[i]) >> shifts_[i])); };
  return {channel(2), channel(1), channel(0), 0};
}

void BMP::greyRow(int32_t y, uint8_t* grey) const {
  const uint8_t* row = nullptr;
  const int32_t stored = storedPixels(y, &row);
  switch (bitDepth_) {
    case 24:
      for (int32_t x = 0; x < stored; ++x, row += 3) grey[x] = greyLevel(row[2], row[1], row[0]);
      break;
    case 32:
      for (int32_t x = 0; x < stored; ++x, row += 4) grey[x] = greyLevel(row[2], row[1], row[0]);
      break;
    case 16:
      for (int32_t x = 0; x < stored; ++x) {
        const BmpPixel p = fromWord(le16(row + 2 * x));
        grey[x] = greyLevel(p.red, p.green, p.blue);
      }
      break;
    default:
      for (int32_t x = 0; x < stored; ++x) grey[x] = paletteGrey_[paletteIndex(row, x)];
      break;
  }
  std::fill(grey + stored, grey + width_, kWhiteGrey);
}

namespace {

// The dots of a row of stored blue, green, red (and alpha) bytes, eight
// pixels a byte. The rare pixel whose weighed sum is exactly the threshold's
// is settled afterwards, so that the pass over the row has no branch.
template <int kStep>
void dotsFromBytes(const uint8_t* row, int32_t width, uint8_t* dots) {
  constexpr uint32_t kThresholdSum = 1000 * kThreshold;
  auto settled = [](const uint8_t* p, int count) {
    unsigned byte = 0;
    for (int b = 0; b < count; ++b, p += kStep) {
      byte |= static_cast<unsigned>(belowThreshold(p[2], p[1], p[0])) << (7 - b);
    }
    return static_cast<uint8_t>(byte);
  };
  for (int32_t j = 0; j < width / 8; ++j, row += 8 * kStep) {
    unsigned byte = 0;
    bool onTheThreshold = false;
    for (int b = 0; b < 8; ++b) {
      const uint32_t sum = weighedSum(row[kStep * b + 2], row[kStep * b + 1], row[kStep * b]);
      byte = byte << 1 | static_cast<unsigned>(sum < kThresholdSum);
      onTheThreshold |= sum == kThresholdSum;
    }
    dots[j] = onTheThreshold ? settled(row, 8) : static_cast<uint8_t>(byte);
  }
  if (width % 8 != 0) dots[width / 8] = settled(row, width % 8);
}

}  // namespace

void BMP::dotRow(int32_t y, uint8_t* dots, uint8_t* grey) const {
  static_assert(kThreshold == 127, "dotsOf8 marks grey levels below 127");
  const uint8_t* row = nullptr;
  if ((bitDepth_ == 24 || bitDepth_ == 32) && storedPixels(y, &row) == width_) {
    if (bitDepth_ == 24) {
      dotsFromBytes<3>(row, width_, dots);
    } else {
      dotsFromBytes<4>(row, width_, dots);
    }
    return;
  }
  const size_t bytes = (static_cast<size_t>(width_) + 7) / 8;
  greyRow(y, grey);
  std::fill(grey + width_, grey + 8 * bytes, kWhiteGrey);
  for (size_t j = 0; j < bytes; ++j) dots[j] = dotsOf8(grey + 8 * j);
}
