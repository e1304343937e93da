// SilentBarcode.h - <code11>, <msi> and <s2of5>: recognised, but the printer
// has no command for them. Nothing is sent and the content is not read, so
// it prints as plain text.
#pragma once

#include "text/ProtocolGeneric.h"

struct SilentBarcodeDefinition {
  struct Line {
    int level;
    const char* text;
  };
  Line openLines[4];      // getBytes' lines; a null text ends the list
  const char* closeLine;  // getBytes2's DEBUG line
};

class SilentBarcode : public DefinedTag<SilentBarcodeDefinition> {
 public:
  using DefinedTag::DefinedTag;
  const uint8_t* getBytes() override;
};

// clang-format off
// <code11>, <msi>, <s2of5>
class CodebarCode11 : public SilentBarcode { public: explicit CodebarCode11(const TagRow&); };
class CodebarMsi : public SilentBarcode { public: explicit CodebarMsi(const TagRow&); };
class CodebarS2of5 : public SilentBarcode { public: explicit CodebarS2of5(const TagRow&); };
// clang-format on
