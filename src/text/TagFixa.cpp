// TagFixa.cpp - the fixed-command tag.
#include "text/TagFixa.h"

#include "common/EscPos.h"
#include "log/Log.h"

void TagFixa::registrar(const char* mensagem, int nivel, const char* onde, int linha) const {
  if (!identidade().tem(kSilenciosa)) log(mensagem, nivel, onde, linha);
}

const uint8_t* TagFixa::getBytes() {
  const char* onde = ondeAbre();
  restaurarTamanhos();
  limparSaida(kInicioLimpo);
  registrar(kMemoriaLimpa, LOG_DEBUG, onde, __LINE__);
  registrar("Carregando os bytes \xE0 enviar.", LOG_INFO, onde, __LINE__);
  const bool quebraLinha = identidade().tem(kQuebraLinha);
  if (quebraLinha && precisaQuebraLinha) anexar(escpos::LF);
  anexar(identidade().abre);
  registrar("Retornando bytes.", LOG_DEBUG, onde, __LINE__);
  if (quebraLinha) precisaQuebraLinha = true;
  return saida();
}

const uint8_t* TagFixa::getBytes2() {
  const char* onde = ondeFecha();
  restaurarTamanhos();
  if (identidade().fecha.tamanho == 0) {
    tamanho_ = 0;
    registrar("Retornando bytes.", LOG_DEBUG, onde, __LINE__);
    return saida();
  }
  if (identidade().tem(kAlocacaoAoFechar)) {
    registrar("Aloca\xE7\xE3o de mem\xF3ria OK.", LOG_DEBUG, onde, __LINE__);
  }
  limparSaida(kInicioLimpo);
  registrar(kMemoriaLimpa, LOG_DEBUG, onde, __LINE__);
  anexar(identidade().fecha);
  registrar("Retornando bytes.", LOG_DEBUG, onde, __LINE__);
  return saida();
}
