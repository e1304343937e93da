// TagParametro.h - the tags with a parameter between their open and close
// tags (<sn>, <sp>, <confgui>, <cespl>, <slm>, <mg>): at every tag of the
// text each looks at the rest of the text (at most 4999 characters of it)
// and takes its content out of it. The open tag sends nothing and steps over
// the content; the close tag sends the command.
#pragma once

#include <memory>
#include <vector>

#include "common/EscPos.h"
#include "text/ProtocolGeneric.h"

class TagParametro : public ProtocolGeneric {
 public:
  // The content buffer; its last byte stays zero, so a content holds at most
  // 319 characters. A longer one makes the open tag answer "-99".
  static constexpr int kTamanhoConteudo = 320;

  // Once per text, before its first tag: where the open and close texts
  // stand in it, so that no refresh has to look through the rest of it.
  void prepararTexto(const char* texto, int tamanho) override;
  // The parser's refresh at the tag at lugar of the text: the content out
  // of the text from there to its end, or to 4999 characters.
  void atualizar(const char* posicao, int lugar) override;
  const uint8_t* getBytes() override;

 protected:
  // mensagemInvalida: the DEBUG line of a rejected parameter (nullptr: none).
  TagParametro(const IdentidadeTag& identidade, const char* mensagemInvalida);

  // Walks text[inicio, fim): after the open text every character up to the
  // close text is taken, and the open length grows by one for each, so that
  // the parser steps over the content. The open text is compared over the
  // open length, which has grown once a content was taken: then it is found
  // again only where the walk ends. The inside flag lasts from one walk to
  // the next.
  virtual void extrairConteudo(int inicio, int fim);
  // Takes text[de, ate) into conteudo() from indice on, growing the open
  // length; marks the content as too long when it would not fit.
  void tomar(int de, int ate, int& indice);
  // The first place in [de, ate] where the open (or close) text starts,
  // or -1.
  int proximaAbertura(int de, int ate) const { return proxima(aberturas_, de, ate); }
  int proximoFechamento(int de, int ate) const { return proxima(fechamentos_, de, ate); }

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
  static int proxima(const std::vector<int>& lugares, int de, int ate);
  // Where a walk that has taken content finds the open text: only ending
  // exactly at fim.
  bool abreNoFim(int de, int fim) const;

  const char* const mensagemInvalida_;
  std::unique_ptr<char[]> conteudo_;
  const char* texto_ = nullptr;
  int tamanhoTexto_ = 0;
  std::vector<int> aberturas_;
  std::vector<int> fechamentos_;
};

// <sn>n</sn>: n bytes 1E.
class TagSN : public TagParametro {
 public:
  explicit TagSN(const IdentidadeTag& identidade);
  const uint8_t* getBytes2() override;
};

// <sp>n</sp>: n spaces.
class Tag_sp : public TagParametro {
 public:
  explicit Tag_sp(const IdentidadeTag& identidade);
  const uint8_t* getBytes2() override;
};

// <confgui>x</confgui>: taken and stepped over; nothing is sent.
class Tag_configui : public TagParametro {
 public:
  explicit Tag_configui(const IdentidadeTag& identidade);
  const uint8_t* getBytes2() override;
};

// <cespl>n</cespl>: ESC 3 n, line spacing.
class Tag_cespl : public TagParametro {
 public:
  explicit Tag_cespl(const IdentidadeTag& identidade);
  const uint8_t* getBytes2() override;
};

// <slm>n</slm>: ESC J n, feed n dots.
class Tag_slm : public TagParametro {
 public:
  explicit Tag_slm(const IdentidadeTag& identidade);
  // The refresh says so in a DEBUG line first.
  void atualizar(const char* posicao, int lugar) override;
  const uint8_t* getBytes2() override;
};

// <mg>L;R</mg>: left margin L and right margin R in characters.
class Tag_mg : public TagParametro {
 public:
  explicit Tag_mg(const IdentidadeTag& identidade);
  const uint8_t* getBytes2() override;
};
