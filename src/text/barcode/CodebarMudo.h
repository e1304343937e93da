// CodebarMudo.h - <code11>, <msi> and <s2of5>: recognised, but the printer
// has no command for them. Nothing is sent and the content is not read, so
// it prints as plain text.
#pragma once

#include "text/ProtocolGeneric.h"

struct DefinicaoCodebarMudo {
  struct Linha {
    int nivel;
    const char* texto;
  };
  Linha abre[4];       // getBytes' lines; a null text ends the list
  const char* fecha;   // getBytes2's DEBUG line
};

class CodebarMudo : public ProtocolTagGeneric {
 public:
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 protected:
  CodebarMudo(const IdentidadeTag& identidade, const DefinicaoCodebarMudo& definicao)
      : ProtocolTagGeneric(identidade), definicao_(definicao) {}

 private:
  const DefinicaoCodebarMudo definicao_;
};

// clang-format off
// <code11>, <msi>, <s2of5>
class CodebarCode11 : public CodebarMudo { public: explicit CodebarCode11(const IdentidadeTag&); };
class CodebarMsi : public CodebarMudo { public: explicit CodebarMsi(const IdentidadeTag&); };
class CodebarS2of5 : public CodebarMudo { public: explicit CodebarS2of5(const IdentidadeTag&); };
// clang-format on
