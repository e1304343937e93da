// TagFixa.h - a tag with a fixed command for its open tag and for its close
// tag: the character modes, alignment, line feed, tab, stored image, drawer,
// paper cut and the tags that send nothing.
#pragma once

#include "text/ProtocolGeneric.h"

struct ComandosTagFixa {
  // Ways a fixed tag differs from the plain one.
  enum Opcao : unsigned {
    kSimples = 0,
    // The open command follows a line feed while precisaQuebraLinha is true,
    // and sets it true afterwards (centring, right alignment).
    kQuebraLinha = 1,
    // The close also says "Alocação de memória OK.".
    kAlocacaoAoFechar = 2,
    // No log line at all.
    kSilenciosa = 4,
  };

  Comando abre;
  Comando fecha;  // an empty close sends nothing and says only "Retornando bytes."
  unsigned opcoes;
};

template <class Base>
class TagFixa : public Base {
 public:
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 protected:
  TagFixa(const IdentidadeTag& identidade, const ComandosTagFixa& comandos)
      : Base(identidade), comandos_(comandos) {}

 private:
  bool tem(unsigned opcao) const { return (comandos_.opcoes & opcao) != 0; }
  void registrar(const char* mensagem, int nivel, const char* onde, int linha) const;

  const ComandosTagFixa comandos_;
};

extern template class TagFixa<ProtocolGeneric>;
extern template class TagFixa<ProtocolTagGeneric>;
