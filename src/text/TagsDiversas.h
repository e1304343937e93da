// TagsDiversas.h - the date and time tags, the line-feed count, the line of
// one repeated character, the stored image, the drawer, the paper cut and the
// tags that are taken and send nothing.
#pragma once

#include "text/TagContagem.h"
#include "text/TagFixa.h"

// clang-format off
class NvBitmap : public TagFixa<ProtocolGeneric> { public: NvBitmap(); };      // <bmp>
class iDataAtual : public TagFixa<ProtocolGeneric> { public: iDataAtual(); };  // <dti></dti>
class iHoraAtual : public TagFixa<ProtocolGeneric> { public: iHoraAtual(); };  // <hri></hri>
class Tag_a : public TagFixa<ProtocolGeneric> { public: Tag_a(); };            // <a>
class Tag_bm : public TagFixa<ProtocolGeneric> { public: Tag_bm(); };          // <bm></bm>
class Tag_g : public TagFixa<ProtocolGeneric> { public: Tag_g(); };            // <g></g>
// clang-format on

// <gui></gui>: the paper cut, which also reads the configuration afresh.
class Tag_gui : public TagFixa<ProtocolGeneric> {
 public:
  Tag_gui();
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

class DataAtual : public TagDataHora { public: DataAtual(); };  // <dt></dt>
class HoraAtual : public TagDataHora { public: HoraAtual(); };  // <hr></hr>

// <sl>n</sl>: ESC d n, print and feed n lines (1 to 255).
class EnterCustom : public TagContagem {
 public:
  EnterCustom();
  // The parser's refresh: the open length back to its own, and the text
  // right after "<sl>".
  void SetBytes(const char* parametro);

 protected:
  const char* conteudo() const override { return parametro_; }

 private:
  const char* parametro_ = nullptr;
};

// <tc>c</tc>: a line of the character c.
class Tagtc : public ProtocolGeneric {
 public:
  Tagtc();
  // The parser's refresh: the character right after "<tc>".
  void SetChar(const char* caractere);
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 private:
  const char* caractere_ = nullptr;
};
