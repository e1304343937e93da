// TagParametro.h - the tags with a parameter between their open and close
// tags (<sn>, <sp>, <confgui>, <cespl>, <slm>, <mg>): each keeps a copy of the
// rest of the text, refreshed at every tag, and takes its content out of it.
// The open tag sends nothing and steps over the content; the close tag sends
// the command.
#pragma once

#include <cstring>
#include <memory>

#include "common/EscPos.h"
#include "text/ProtocolGeneric.h"

class TagParametro : public ProtocolGeneric {
 public:
  // The content buffer; its last byte stays zero, so a content holds at most
  // 319 characters. A longer one makes the open tag answer "-99".
  static constexpr int kTamanhoConteudo = 320;

  // The parser's refresh: the text from posicao to its end (at most 4999
  // characters) into the copy, then the content out of the copy.
  void carregarTexto(const char* posicao);
  const uint8_t* getBytes() override;

 protected:
  // mensagemInvalida: the DEBUG line of a rejected parameter (nullptr: none).
  TagParametro(const IdentidadeTag& identidade, const char* mensagemInvalida);

  // Walks the copy: after the open text every character up to the close
  // text is taken, and the open length grows by one for each, so that the
  // parser steps over the content.
  virtual void extrairConteudo();
  // Appends c at conteudo()[indice] and grows the open length; marks the
  // content as too long instead when it would not fit.
  void tomar(char c, int& indice);
  // Whether texto starts with tag, compared over n characters.
  static bool encontrou(const char* texto, const char* tag, int n) {
    return *texto == *tag && std::strncmp(texto, tag, static_cast<std::size_t>(n)) == 0;
  }

  const char* copia() const { return copia_.get(); }
  int tamanhoCopia() const { return tamanhoCopia_; }
  char* conteudo() { return conteudo_.get(); }
  // The decimal value at the start of the content.
  int valor() const { return lerDecimal(conteudo_.get(), kTamanhoConteudo); }

  // The close-tag commands shared by the classes.
  const uint8_t* repetirPorValor(uint8_t byte);  // n times the byte
  // The command with n as its parameter byte.
  const uint8_t* comandoComValor(escpos::Command3 (*comando)(uint8_t n));
  const uint8_t* rejeitar(const char* onde);  // "-99" with the class's line

  bool dentro_ = false;
  bool excedeu_ = false;

 private:
  const char* const mensagemInvalida_;
  std::unique_ptr<char[]> copia_;
  std::unique_ptr<char[]> conteudo_;
  int tamanhoCopia_ = 0;
};

// <sn>n</sn>: n bytes 1E.
class TagSN : public TagParametro {
 public:
  TagSN();
  const uint8_t* getBytes2() override;
};

// <sp>n</sp>: n spaces.
class Tag_sp : public TagParametro {
 public:
  Tag_sp();
  const uint8_t* getBytes2() override;
};

// <confgui>x</confgui>: taken and stepped over; nothing is sent.
class Tag_configui : public TagParametro {
 public:
  Tag_configui();
  const uint8_t* getBytes2() override;
};

// <cespl>n</cespl>: ESC 3 n, line spacing.
class Tag_cespl : public TagParametro {
 public:
  Tag_cespl();
  const uint8_t* getBytes2() override;
};

// <slm>n</slm>: ESC J n, feed n dots.
class Tag_slm : public TagParametro {
 public:
  Tag_slm();
  // The parser's refresh of this tag.
  void setTexto(const char* texto);
  const uint8_t* getBytes2() override;
};

// <mg>L;R</mg>: left margin L and right margin R in characters.
class Tag_mg : public TagParametro {
 public:
  Tag_mg();
  const uint8_t* getBytes2() override;
};
