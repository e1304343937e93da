// EscPos.h - every command the library sends to the printer, by name: the
// fixed sequences as byte arrays, the ones with parameters as small builders.
//
// The printer speaks an ESC/POS dialect; numbers of two bytes go low byte
// first.
#pragma once

#include <array>
#include <cstdint>

namespace escpos {

constexpr uint8_t LF = 0x0A;
constexpr uint8_t HT = 0x09;
constexpr uint8_t DLE = 0x10;
constexpr uint8_t EOT = 0x04;
constexpr uint8_t ESC = 0x1B;
constexpr uint8_t FS = 0x1C;
constexpr uint8_t GS = 0x1D;

// ESC @: initialise the printer (every print mode back to power-on).
constexpr uint8_t kInitialise[] = {ESC, 0x40};
// ESC p 0 150 255: drawer connector 0, pulse on 150, off 255.
constexpr uint8_t kDrawerKick[] = {ESC, 0x70, 0x00, 0x96, 0xFF};
// ESC @, GS V 66 0 (feed and cut), ESC @.
constexpr uint8_t kCutPaper[] = {ESC, 0x40, GS, 0x56, 0x42, 0x00, ESC, 0x40};
// FS p 1 0: print stored image 1 at normal size.
constexpr uint8_t kStoredImage1[] = {FS, 0x70, 0x01, 0x00};

// DLE EOT n: real-time status. The printer answers one byte with bit 1 set.
constexpr uint8_t kStatusPrinter[] = {DLE, EOT, 0x01};
constexpr uint8_t kStatusOffline[] = {DLE, EOT, 0x02};
constexpr uint8_t kStatusReplyBit = 0x02;

// ESC t n, LF: character table 16 (automatic code page on) or 0.
constexpr uint8_t kCodePageOn[] = {ESC, 0x74, 0x10, LF};
constexpr uint8_t kCodePageOff[] = {ESC, 0x74, 0x00, LF};

// Character modes: {on} and {off} rows of each family.
constexpr uint8_t kBoldOn[] = {ESC, 0x45, 0x01};
constexpr uint8_t kBoldOff[] = {ESC, 0x45, 0x00};
constexpr uint8_t kUnderlineOn[] = {ESC, 0x2D, 0x01};
constexpr uint8_t kUnderlineOff[] = {ESC, 0x2D, 0x00};
constexpr uint8_t kDoubleWidth[] = {ESC, 0x21, 0x20};
constexpr uint8_t kDoubleHeight[] = {ESC, 0x21, 0x10};
constexpr uint8_t kModesOff[] = {ESC, 0x21, 0x00};
constexpr uint8_t kSmallFontOn[] = {ESC, 0x4D, 0x01};
constexpr uint8_t kSmallFontOff[] = {ESC, 0x4D, 0x00};
// ESC a n: 0 left, 1 centre, 2 right.
constexpr uint8_t kAlignLeft[] = {ESC, 0x61, 0x00};
constexpr uint8_t kAlignCentre[] = {ESC, 0x61, 0x01};
constexpr uint8_t kAlignRight[] = {ESC, 0x61, 0x02};

// Numbers as the printer takes them.
constexpr uint8_t lowByte(uint32_t n) { return static_cast<uint8_t>(n & 0xFF); }
constexpr uint8_t highByte(uint32_t n) { return static_cast<uint8_t>((n >> 8) & 0xFF); }

// Commands with one parameter byte.
using Command3 = std::array<uint8_t, 3>;
// ESC d n: print and feed n lines.
constexpr Command3 feedLines(uint8_t n) { return {ESC, 0x64, n}; }
// ESC 3 n: line spacing of n dots.
constexpr Command3 lineSpacing(uint8_t n) { return {ESC, 0x33, n}; }
// ESC J n: feed n dots.
constexpr Command3 feedDots(uint8_t n) { return {ESC, 0x4A, n}; }
// GS h n: height of the barcodes that follow, in dots.
constexpr Command3 barcodeHeight(uint8_t n) { return {GS, 0x68, n}; }

// Margins, in dots: the print area is 512 dots, a character 12 dots wide.
constexpr int kPrintAreaDots = 512;
constexpr int kDotsPerCharacter = 12;
// GS L nL nH: left margin; GS W nL nH: print area width.
constexpr std::array<uint8_t, 4> withTwoBytes(uint8_t code, uint32_t n) {
  return {GS, code, lowByte(n), highByte(n)};
}
constexpr std::array<uint8_t, 4> leftMargin(uint32_t dots) { return withTwoBytes(0x4C, dots); }
constexpr std::array<uint8_t, 4> printWidth(uint32_t dots) { return withTwoBytes(0x57, dots); }

// GS k m n d1..dn: the barcode systems m the library sends.
enum BarcodeSystem : uint8_t {
  kUpcA = 0x41,
  kEan13 = 0x43,
  kEan8 = 0x44,
  kCode39 = 0x45,
  kItf = 0x46,
  kCodabar = 0x47,
  kCode93 = 0x48,
  kCode128 = 0x49,
};
// The command up to the data, which follows it as it stands.
constexpr std::array<uint8_t, 4> barcode(BarcodeSystem m, uint8_t n) { return {GS, 0x6B, m, n}; }

// ESC D n1 ... 00: horizontal tab positions, sent padded with 00 to 22 bytes.
constexpr int kTabCommandLength = 22;
// The most positions the command holds, with room for its closing 00.
constexpr int kMaxTabPositions = kTabCommandLength - 3;
std::array<uint8_t, kTabCommandLength> tabPositions(const uint8_t* positions, int count);

// GS ( k pL pH cn 50 30 d1..dk: store k data bytes in the symbol memory of
// QR code (cn 49) or PDF417 (cn 48); pL pH count the data and 3 bytes.
constexpr uint8_t kQrCode = 0x31;
constexpr uint8_t kPdf417 = 0x30;
constexpr std::array<uint8_t, 8> symbolStore(uint8_t cn, uint32_t k) {
  return {GS, 0x28, 0x6B, lowByte(k + 3), highByte(k + 3), cn, 0x50, 0x30};
}

// GS 8 L p1 p2 p3 p4 30 70 30 01 01 31 xL xH yL yH: store a raster picture of
// width dots (a multiple of 8) and height rows, whose bytes follow; p counts
// the bytes from 30 on.
constexpr std::array<uint8_t, 17> rasterStore(uint32_t width, uint32_t height) {
  const uint32_t p = width / 8 * height + 10;
  return {GS,   0x38, 0x4C, lowByte(p),     highByte(p),     lowByte(p >> 16), highByte(p >> 16),
          0x30, 0x70, 0x30, 0x01,           0x01,            0x31,             lowByte(width),
          highByte(width), lowByte(height), highByte(height)};
}
constexpr uint8_t kRasterPrint[] = {GS, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02};


// Text tags.
constexpr uint8_t RS = 0x1E;  // the byte that <sn> repeats
constexpr uint8_t kLineFeed[] = {LF};
constexpr uint8_t kTab[] = {HT};
// LF, then ESC a 0: end the aligned line and go back to the left.
constexpr uint8_t kNewLineAlignLeft[] = {LF, ESC, 0x61, 0x00};

// QR code, GS ( k with cn 49: model 2, module size, error correction level
// "0" (L), store, print the stored symbol (two zero bytes follow it).
constexpr uint8_t kQrModel2[] = {GS, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x41, 0x32, 0x00};
constexpr std::array<uint8_t, 8> qrModuleSize(uint8_t size) {
  return {GS, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x43, size};
}
constexpr uint8_t kQrErrorLevelL[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x45, 0x30};
constexpr uint8_t kQrPrint[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30, 0x00, 0x00};

// PDF417, GS ( k with cn 48: columns and rows chosen by the printer, module
// width 3, row height 3, error correction by ratio 1.
constexpr uint8_t kPdfColumnsAuto[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x41, 0x00};
constexpr uint8_t kPdfRowsAuto[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x42, 0x00};
constexpr uint8_t kPdfModuleWidth3[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x43, 0x03};
constexpr uint8_t kPdfRowHeight3[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x44, 0x03};
constexpr uint8_t kPdfErrorRatio1[] = {GS, 0x28, 0x6B, 0x04, 0x00, 0x30, 0x45, 0x31, 0x01};
constexpr uint8_t kPdfPrint[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x51, 0x30};

}  // namespace escpos
