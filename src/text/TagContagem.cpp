// TagContagem.cpp - the count tags.
#include "text/TagContagem.h"

#include <cstdint>

#include "log/Log.h"

const char* TagContagem::conteudo() const {
  return textoTagAtual ? textoTagAtual + identidade().tamanhoAbertura : nullptr;
}

const uint8_t* TagContagem::getBytes() {
  // Three digits at most, so the close tag starts within four places.
  constexpr int kBusca = 4;
  const DefinicaoContagem& d = definicao_;
  for (const char* linha : d.inicio) {
    if (!linha) break;
    log(linha, LOG_DEBUG, ondeAbre(), __LINE__);
  }
  restaurarTamanhos();
  limparSaida(kInicioLimpo);
  const char* texto = conteudo();
  if (!texto) {
    log(d.semDados, LOG_ERROR, ondeAbre(), __LINE__);
    return erroGenerico();
  }
  // Read as atoi reads it: up to the first character that is not part of
  // the number (the '<' of the close tag, or the text's end).
  const int valor = lerDecimal(texto, SIZE_MAX);
  const bool valido = valor >= 1 && valor <= 255;
  if (d.valorAntes && !valido) {
    log(d.invalido, LOG_ERROR, ondeAbre(), __LINE__);
    return invalido();
  }
  const int digitos = medirConteudo(texto, kBusca);
  if (digitos < 0) {
    log("N\xFAmero muito extenso", LOG_ERROR, ondeAbre(), __LINE__);
    return invalido();
  }
  if (!valido) {
    log(d.invalido, LOG_ERROR, ondeAbre(), __LINE__);
    return invalido();
  }
  anexar(d.comando(static_cast<uint8_t>(valor)));
  abrangerConteudo(digitos);
  log(d.retornando, LOG_DEBUG, ondeAbre(), __LINE__);
  return saida();
}

const uint8_t* TagContagem::getBytes2() {
  tamanho_ = 0;
  return saida();
}
