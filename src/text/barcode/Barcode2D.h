// Barcode2D.h - the two-dimensional symbols, QR code and PDF417: the
// open tag reads the content (1 to 1990 characters) up to the close tag and
// sends the whole GS ( k sequence; the close tag sends nothing.
#pragma once

#include "text/ProtocolGeneric.h"

// One command of a symbol's sequence and the DEBUG line said after it.
struct SymbolStep {
  enum Kind { kFixed, kModuleSize, kData };
  Kind kind;
  CommandBytes command;  // kFixed: the bytes
  const char* log;
};

struct Barcode2DDefinition {
  uint8_t cn;  // the symbol's function group in GS ( k
  // Log lines: start and clear (DEBUG), no text and bad content (ERROR),
  // the content taken (DEBUG, nullptr: none), the end and the close (DEBUG).
  const char* start;
  const char* cleared;
  const char* noData;
  const char* invalid;
  const char* contentLine;
  const char* returning;
  const char* closeLine;
  // The content taken also reads CONVERSOR.INI again.
  bool reloadsConfiguration;
  const SymbolStep* steps;
  int stepCount;
};

class Barcode2D : public DefinedTag<Barcode2DDefinition> {
 public:
  static constexpr int kMaxContent = 1990;

  using DefinedTag::DefinedTag;
  const uint8_t* getBytes() override;

 private:
  // Resets the object and measures the content after the open tag.
  // nullptr when there is one, else the marker to return.
  const uint8_t* readContent();

  const char* content_ = nullptr;  // in the text being printed
  int contentLength_ = 0;
};

// <qrcode>data</qrcode>: model 2, module size TAMANHO_QRCODE, level L.
class CodebarQrcode : public Barcode2D {
 public:
  explicit CodebarQrcode(const TagRow& row);
};

// <pdf>data</pdf>: columns and rows left to the printer.
class CodebarPdf : public Barcode2D {
 public:
  explicit CodebarPdf(const TagRow& row);
};
