// CodebarSimbolo.h - the two-dimensional symbols, QR code and PDF417: the
// open tag reads the content (1 to 1990 characters) up to the close tag and
// sends the whole GS ( k sequence; the close tag sends nothing.
#pragma once

#include "text/ProtocolGeneric.h"

// One command of a symbol's sequence and the DEBUG line said after it.
struct PassoSimbolo {
  enum Tipo { kFixo, kTamanhoModulo, kDados };
  Tipo tipo;
  Comando comando;  // kFixo: the bytes
  const char* log;
};

struct DefinicaoSimbolo {
  uint8_t cn;  // the symbol's function group in GS ( k
  // Log lines: start and clear (DEBUG), no text and bad content (ERROR),
  // the content taken (DEBUG, nullptr: none), the end and the close (DEBUG).
  const char* inicio;
  const char* limpo;
  const char* semDados;
  const char* invalido;
  const char* conteudoLido;
  const char* retornando;
  const char* fechamentoLog;
  // The content taken also reads CONVERSOR.INI again.
  bool releConfiguracao;
  const PassoSimbolo* passos;
  int numeroPassos;
};

class CodebarSimbolo : public ProtocolTagGeneric {
 public:
  static constexpr int kMaxConteudo = 1990;

  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 protected:
  CodebarSimbolo(const IdentidadeTag& identidade, const DefinicaoSimbolo& definicao)
      : ProtocolTagGeneric(identidade), definicao_(definicao) {}

 private:
  // Resets the object and measures the content after the open tag.
  // nullptr when there is one, else the marker to return.
  const uint8_t* lerConteudo();

  const DefinicaoSimbolo definicao_;
  const char* conteudo_ = nullptr;  // in the text being printed
  int tamanhoConteudo_ = 0;
};

// <qrcode>data</qrcode>: model 2, module size TAMANHO_QRCODE, level L.
class CodebarQrcode : public CodebarSimbolo {
 public:
  explicit CodebarQrcode(const IdentidadeTag& identidade);
};

// <pdf>data</pdf>: columns and rows left to the printer.
class CodebarPdf : public CodebarSimbolo {
 public:
  explicit CodebarPdf(const IdentidadeTag& identidade);
};
