// CodebarGsK.h - the linear barcodes the printer draws itself with GS k m n
// data: EAN-13, EAN-8, UPC-A, Code 39, Code 93, Codabar, Code 128 and
// interleaved 2 of 5. The open tag reads the content up to the close tag and
// sends the whole barcode; the close tag sends nothing.
#pragma once

#include "common/EscPos.h"
#include "text/ProtocolGeneric.h"

struct DefinicaoCodebar {
  escpos::BarcodeSystem m;
  int janela;   // places searched for the close tag
  int minimo;   // accepted content lengths
  int maximo;
  // Log lines, all DEBUG but the two failures (ERROR).
  const char* inicio[3];      // said first, in order; nullptr ends the list
  const char* conteudo;       // about the content, or nullptr
  bool conteudoAntesDaBusca;  // said before the search rather than on success
  const char* retornando;
  const char* semDados;
  const char* invalido;
  const char* fechamentoLog;  // getBytes2
};

class CodebarGsK : public ProtocolTagGeneric {
 public:
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 protected:
  CodebarGsK(const IdentidadeTag& identidade, const DefinicaoCodebar& definicao)
      : ProtocolTagGeneric(identidade), definicao_(definicao) {}

 private:
  const DefinicaoCodebar definicao_;
  const char* conteudo_ = nullptr;
  int tamanhoConteudo_ = 0;
};

// clang-format off
// <ean13>, <ean8>, <upc-a>, <code39>, <code93>, <codabar>, <code128>, <i2of5>
class CodebarEan13 : public CodebarGsK { public: explicit CodebarEan13(const IdentidadeTag&); };
class CodebarEan8 : public CodebarGsK { public: explicit CodebarEan8(const IdentidadeTag&); };
class CodebarUpca : public CodebarGsK { public: explicit CodebarUpca(const IdentidadeTag&); };
class CodebarCode39 : public CodebarGsK { public: explicit CodebarCode39(const IdentidadeTag&); };
class CodebarCode93 : public CodebarGsK { public: explicit CodebarCode93(const IdentidadeTag&); };
class CodebarCodabar : public CodebarGsK { public: explicit CodebarCodabar(const IdentidadeTag&); };
class CodebarCode128 : public CodebarGsK { public: explicit CodebarCode128(const IdentidadeTag&); };
class CodebarItf : public CodebarGsK { public: explicit CodebarItf(const IdentidadeTag&); };
// clang-format on
