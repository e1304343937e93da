// CodebarAltura.h - <altbarras>h</altbarras>: GS h h, the height in dots of
// the barcodes that follow.
#pragma once

#include "text/TagContagem.h"

class CodebarAltura : public TagContagem {
 public:
  explicit CodebarAltura(const IdentidadeTag& identidade);
};
