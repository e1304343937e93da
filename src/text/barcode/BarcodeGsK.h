// BarcodeGsK.h - the linear barcodes the printer draws itself with GS k m n
// data: EAN-13, EAN-8, UPC-A, Code 39, Code 93, Codabar, Code 128 and
// interleaved 2 of 5. The open tag reads the content up to the close tag and
// sends the whole barcode; the close tag sends nothing.
#pragma once

#include "common/EscPos.h"
#include "text/ProtocolGeneric.h"

struct BarcodeGsKDefinition {
  escpos::BarcodeSystem m;
  int window;     // places searched for the close tag
  int minLength;  // accepted content lengths
  int maxLength;
  // Log lines, all DEBUG but the two failures (ERROR).
  const char* start[3];     // said first, in order; nullptr ends the list
  const char* contentLine;  // about the content, or nullptr
  bool contentLineFirst;    // said before the search rather than on success
  const char* returning;
  const char* noData;
  const char* invalid;
  const char* closeLine;  // getBytes2
};

class BarcodeGsK : public DefinedTag<BarcodeGsKDefinition> {
 public:
  using DefinedTag::DefinedTag;
  const uint8_t* getBytes() override;

 private:
  const char* content_ = nullptr;
  int contentLength_ = 0;
};

// clang-format off
// <ean13>, <ean8>, <upc-a>, <code39>, <code93>, <codabar>, <code128>, <i2of5>
class CodebarEan13 : public BarcodeGsK { public: explicit CodebarEan13(const TagRow&); };
class CodebarEan8 : public BarcodeGsK { public: explicit CodebarEan8(const TagRow&); };
class CodebarUpca : public BarcodeGsK { public: explicit CodebarUpca(const TagRow&); };
class CodebarCode39 : public BarcodeGsK { public: explicit CodebarCode39(const TagRow&); };
class CodebarCode93 : public BarcodeGsK { public: explicit CodebarCode93(const TagRow&); };
class CodebarCodabar : public BarcodeGsK { public: explicit CodebarCodabar(const TagRow&); };
class CodebarCode128 : public BarcodeGsK { public: explicit CodebarCode128(const TagRow&); };
class CodebarItf : public BarcodeGsK { public: explicit CodebarItf(const TagRow&); };
// clang-format on
