// TagFixa.h - a tag with a fixed command for its open tag and for its close
// tag, both in its row of the tag table: the character modes, alignment,
// line feed, tab, stored image, drawer, paper cut and the tags that send
// nothing.
#pragma once

#include "text/ProtocolGeneric.h"

class TagFixa : public ProtocolGeneric {
 public:
  explicit TagFixa(const IdentidadeTag& identidade) : ProtocolGeneric(identidade) {}

  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 private:
  void registrar(const char* mensagem, int nivel, const char* onde, int linha) const;
};
