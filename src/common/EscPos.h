// EscPos.h - every fixed command the library sends to the printer, by name.
//
// The printer speaks an ESC/POS dialect. Fixed sequences live here as byte
// arrays; sequences with a parameter are built by the code that sends them
// from the prefixes below (GS k m n data, ESC d n, ...).
#pragma once

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
// ESC D n1 ... 00: horizontal tab positions, sent padded to 22 bytes.
constexpr uint8_t kTabPositionsPrefix[] = {ESC, 0x44};
constexpr int kTabCommandLength = 22;

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

// Prefixes of commands with parameters.
constexpr uint8_t kFeedLines[] = {ESC, 0x64};      // ESC d n: print and feed n lines
constexpr uint8_t kLineSpacing[] = {ESC, 0x33};    // ESC 3 n: line spacing n dots
constexpr uint8_t kFeedDots[] = {ESC, 0x4A};       // ESC J n: feed n dots
constexpr uint8_t kLeftMargin[] = {GS, 0x4C};      // GS L nL nH
constexpr uint8_t kPrintWidth[] = {GS, 0x57};      // GS W nL nH
constexpr uint8_t kBarcode[] = {GS, 0x6B};         // GS k m n d1..dn
constexpr uint8_t kBarcodeHeight[] = {GS, 0x68};   // GS h n
constexpr uint8_t kSymbol[] = {GS, 0x28, 0x6B};    // GS ( k pL pH cn fn ...

// GS 8 L p1 p2 p3 p4 30 70 30 01 01 31 xL xH yL yH data: store raster graphics.
constexpr uint8_t kRasterStore[] = {GS, 0x38, 0x4C};
constexpr uint8_t kRasterStoreParams[] = {0x30, 0x70, 0x30, 0x01, 0x01, 0x31};
// GS ( L 2 0 30 2: print the graphics held in the print buffer.
constexpr uint8_t kRasterPrint[] = {GS, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02};


// Text tags.
constexpr uint8_t RS = 0x1E;  // the byte that <sn> repeats
constexpr uint8_t kLineFeed[] = {LF};
constexpr uint8_t kTab[] = {HT};
// LF, then ESC a 0: end the aligned line and go back to the left.
constexpr uint8_t kNewLineAlignLeft[] = {LF, ESC, 0x61, 0x00};

// QR code, GS ( k with cn 49.
constexpr uint8_t kQrModel2[] = {GS, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x41, 0x32, 0x00};
constexpr uint8_t kQrModuleSize[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x43};  // then the size
constexpr uint8_t kQrErrorLevel[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x45};  // then the level
constexpr uint8_t kQrStoreFunction[] = {0x31, 0x50, 0x30};  // after GS ( k pL pH
// print the stored symbol; two zero bytes follow it
constexpr uint8_t kQrPrint[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30, 0x00, 0x00};

// PDF417, GS ( k with cn 48: columns and rows chosen by the printer, module
// width 3, row height 3, error correction by ratio 1.
constexpr uint8_t kPdfColumnsAuto[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x41, 0x00};
constexpr uint8_t kPdfRowsAuto[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x42, 0x00};
constexpr uint8_t kPdfModuleWidth3[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x43, 0x03};
constexpr uint8_t kPdfRowHeight3[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x44, 0x03};
constexpr uint8_t kPdfErrorRatio1[] = {GS, 0x28, 0x6B, 0x04, 0x00, 0x30, 0x45, 0x31, 0x01};
constexpr uint8_t kPdfStoreFunction[] = {0x30, 0x50, 0x30};  // after GS ( k pL pH
constexpr uint8_t kPdfPrint[] = {GS, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x51, 0x30};

}  // namespace escpos
