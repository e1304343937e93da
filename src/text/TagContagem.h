// TagContagem.h - a tag whose content is a count of one byte, 1 to 255, in
// at most three digits (<sl>n</sl>, <altbarras>n</altbarras>): the open tag
// sends a command with the count and steps over the digits; the close tag
// sends nothing.
#pragma once

#include "common/EscPos.h"
#include "text/ProtocolGeneric.h"

struct DefinicaoContagem {
  escpos::Command3 (*comando)(uint8_t n);
  // The count is judged before the close tag is looked for.
  bool valorAntes;
  // Log lines: said first (DEBUG; nullptr ends the list), no text and a bad
  // count (ERROR), the bytes ready (DEBUG).
  const char* inicio[3];
  const char* semDados;
  const char* invalido;
  const char* retornando;
};

class TagContagem : public ProtocolTagGeneric {
 public:
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 protected:
  TagContagem(const IdentidadeTag& identidade, const DefinicaoContagem& definicao)
      : ProtocolTagGeneric(identidade), definicao_(definicao) {}
  // The text right after the open tag; null when there is none.
  virtual const char* conteudo() const;

 private:
  const DefinicaoContagem definicao_;
};
