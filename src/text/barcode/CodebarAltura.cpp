// CodebarAltura.cpp - the barcode height tag.
#include "text/barcode/CodebarAltura.h"

#include <cstdint>

#include "common/EscPos.h"
#include "log/Log.h"

CodebarAltura::CodebarAltura() : ProtocolTagGeneric("<altbarras>", "</altbarras>", 11, 12) {}

const uint8_t* CodebarAltura::getBytes() {
  static const char* const kOnde = "CodebarAltura::getBytes";
  constexpr int kMaxCaracteres = 3;
  log("Codebar Altura: Iniciando", LOG_DEBUG, kOnde, __LINE__);
  definirTamanhos(11, 12);
  tamanhoConteudo_ = 0;
  conteudo_ = nullptr;
  limparSaida(5);
  if (!textoTagAtual) {
    log("N\xE3o h\xE1 dados em SetBytesCb.", LOG_ERROR, kOnde, __LINE__);
    return erroGenerico();
  }
  conteudo_ = textoTagAtual + tamanhoAbertura_;
  // Read as atoi reads it: the reading stops at the first character that is
  // not part of the number (the '<' of the close tag, or the text's zero).
  const int altura = lerDecimal(conteudo_, SIZE_MAX);
  if (altura < 1 || altura > 255) {
    log("Parametro Inv\xE1lido", LOG_ERROR, kOnde, __LINE__);
    return invalido();
  }
  tamanhoConteudo_ =
      medirConteudo(conteudo_, fechamento_, tamanhoFechamento_, kMaxCaracteres + 1);
  if (tamanhoConteudo_ < 0) {
    log("N\xFAmero muito extenso", LOG_ERROR, kOnde, __LINE__);
    return invalido();
  }
  anexar(comando(escpos::kBarcodeHeight));
  anexar(static_cast<uint8_t>(altura));
  definirTamanhos(11 + tamanhoConteudo_, 12);
  log("Codebar Altura: Retornando bytes", LOG_DEBUG, kOnde, __LINE__);
  return saida();
}

const uint8_t* CodebarAltura::getBytes2() {
  tamanho_ = 0;
  return saida();
}
