// CodebarAltura.h - <altbarras>h</altbarras>: GS h h, the height in dots of
// the barcodes that follow.
#pragma once

#include "text/ProtocolGeneric.h"

class CodebarAltura : public ProtocolTagGeneric {
 public:
  CodebarAltura();
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 private:
  const char* conteudo_ = nullptr;
  int tamanhoConteudo_ = 0;
};
