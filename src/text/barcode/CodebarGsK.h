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
class CodebarEan13 : public CodebarGsK { public: CodebarEan13(); };      // <ean13>
class CodebarEan8 : public CodebarGsK { public: CodebarEan8(); };        // <ean8>
class CodebarUpca : public CodebarGsK { public: CodebarUpca(); };        // <upc-a>
class CodebarCode39 : public CodebarGsK { public: CodebarCode39(); };    // <code39>
class CodebarCode93 : public CodebarGsK { public: CodebarCode93(); };    // <code93>
class CodebarCodabar : public CodebarGsK { public: CodebarCodabar(); };  // <codabar>
class CodebarCode128 : public CodebarGsK { public: CodebarCode128(); };  // <code128>
class CodebarItf : public CodebarGsK { public: CodebarItf(); };          // <i2of5>
// clang-format on
