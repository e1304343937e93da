// Symbols.h - barcodes, QR codes and PDF417 symbols encoded by zint, as one
// dot per module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Bitmap.h"

namespace vprinter {

struct Symbol {
  Bitmap modules;    // one dot per module; a linear barcode has one row
  std::string text;  // the human-readable text (with the check digit), UTF-8
  std::string error; // why nothing was encoded; empty when modules is set
};

// GS k m: the barcode of system m (65 UPC-A, 66 UPC-E, 67 EAN-13, 68 EAN-8,
// 69 Code 39, 70 ITF, 71 Codabar, 72 Code 93, 73 Code 128, and 0..6 for the
// same first seven systems in the zero-terminated form).
Symbol linearBarcode(uint8_t m, const uint8_t* data, size_t length);

// GS ( k cn 49: a QR code (model 2) at error-correction level 0..3 (L, M, Q, H).
Symbol qrCode(int level, const uint8_t* data, size_t length);

// GS ( k cn 48: a PDF417 symbol; columns 0 for the encoder's choice, level
// -1 for the encoder's choice or 0..8.
Symbol pdf417(int columns, int level, const uint8_t* data, size_t length);

}  // namespace vprinter
