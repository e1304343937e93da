// CodebarAltura.h - <altbarras>h</altbarras>: GS h h, the height in dots of
// the barcodes that follow.
#pragma once

#include "text/CountTag.h"

class CodebarAltura : public CountTag {
 public:
  explicit CodebarAltura(const TagRow& row);
};
