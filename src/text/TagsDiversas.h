// TagsDiversas.h - the date and time tags, the line-feed count, the line of
// one repeated character and the paper cut.
#pragma once

#include "text/TagContagem.h"
#include "text/TagFixa.h"

// <gui></gui>: the paper cut, which also reads the configuration afresh.
class Tag_gui : public TagFixa {
 public:
  using TagFixa::TagFixa;
  const uint8_t* getBytes() override;
};

// The local date or time as text, sent with its terminating zero.
class TagDataHora : public ProtocolGeneric {
 public:
  const uint8_t* getBytes() override;

 protected:
  struct Definicao {
    const char* formato;     // strftime format
    const char* falha;       // ERROR line when the format gives nothing
    const char* bytesOk;     // DEBUG line once the text is in the output
  };
  TagDataHora(const IdentidadeTag& identidade, const Definicao& definicao)
      : ProtocolGeneric(identidade), definicao_(definicao) {}

 private:
  const Definicao definicao_;
};

// <dt></dt> and <hr></hr>.
// clang-format off
class DataAtual : public TagDataHora { public: explicit DataAtual(const IdentidadeTag&); };
class HoraAtual : public TagDataHora { public: explicit HoraAtual(const IdentidadeTag&); };
// clang-format on

// <sl>n</sl>: ESC d n, print and feed n lines (1 to 255).
class EnterCustom : public TagContagem {
 public:
  explicit EnterCustom(const IdentidadeTag& identidade);
  // The parser's refresh (atualizar): the open length back to its own, and
  // the text right after "<sl>".
  void SetBytes(const char* parametro);
  void atualizar(const char* posicao, int lugar) override;

 protected:
  const char* conteudo() const override { return parametro_; }

 private:
  const char* parametro_ = nullptr;
};

// <tc>c</tc>: a line of the character c.
class Tagtc : public ProtocolGeneric {
 public:
  explicit Tagtc(const IdentidadeTag& identidade);
  // The parser's refresh (atualizar): the character right after "<tc>".
  void SetChar(const char* caractere);
  void atualizar(const char* posicao, int lugar) override;
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 private:
  const char* caractere_ = nullptr;
};
