// CodebarSimbolo.h - the two-dimensional symbols, QR code and PDF417: the
// open tag reads the content (1 to 1990 characters) up to the close tag and
// sends the whole GS ( k sequence; the close tag sends nothing.
#pragma once

#include <string>

#include "text/ProtocolGeneric.h"

class CodebarSimbolo : public ProtocolTagGeneric {
 public:
  static constexpr int kTamanhoArmazenamento = 2000;
  static constexpr int kMaxConteudo = 1990;

  const uint8_t* getBytes2() override;

 protected:
  struct Definicao {
    const char* classe;
    const char* abertura;
    const char* fechamento;
    int tamanhoAbertura;
    int tamanhoFechamento;
    // Log lines: start and clear (DEBUG), no text and bad content (ERROR),
    // the close (DEBUG).
    const char* inicio;
    const char* limpo;
    const char* semDados;
    const char* invalido;
    const char* fechamentoLog;
  };
  explicit CodebarSimbolo(const Definicao& definicao);

  // Resets the object and takes the content after the open tag into the
  // store. nullptr when it was taken, else the marker to return.
  const uint8_t* lerConteudo();
  // GS ( k pL pH, the function bytes, then the content.
  void anexarArmazenamento(Comando funcao);
  int tamanhoConteudo() const { return tamanhoConteudo_; }
  const char* onde() const { return ondeAbre_.c_str(); }

 private:
  const Definicao definicao_;
  const std::string ondeAbre_;
  const std::string ondeFecha_;
  const char* conteudo_ = nullptr;
  uint8_t armazenamento_[kTamanhoArmazenamento] = {};
  int tamanhoConteudo_ = 0;
  int pL_ = 0;
  int pH_ = 0;
};

// <qrcode>data</qrcode>: model 2, module size TAMANHO_QRCODE, level "0".
class CodebarQrcode : public CodebarSimbolo {
 public:
  CodebarQrcode();
  const uint8_t* getBytes() override;

 private:
  int nivelCorrecao_ = 0x30;
};

// <pdf>data</pdf>: columns and rows left to the printer.
class CodebarPdf : public CodebarSimbolo {
 public:
  CodebarPdf();
  const uint8_t* getBytes() override;
};
