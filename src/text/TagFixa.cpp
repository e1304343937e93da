// TagFixa.cpp - the fixed-command tag.
#include "text/TagFixa.h"

#include "common/EscPos.h"
#include "log/Log.h"

namespace {
constexpr int kInicioLimpo = 5;  // output bytes cleared before a command
}  // namespace

template <class Base>
void TagFixa<Base>::registrar(const char* mensagem, int nivel, const char* onde,
                              int linha) const {
  if (!tem(ComandosTagFixa::kSilenciosa)) log(mensagem, nivel, onde, linha);
}

template <class Base>
const uint8_t* TagFixa<Base>::getBytes() {
  const char* onde = this->ondeAbre();
  this->restaurarTamanhos();
  this->limparSaida(kInicioLimpo);
  registrar("Limpar posi\xE7\xF5" "es da mem\xF3ria OK.", LOG_DEBUG, onde, __LINE__);
  registrar("Carregando os bytes \xE0 enviar.", LOG_INFO, onde, __LINE__);
  const bool quebraLinha = tem(ComandosTagFixa::kQuebraLinha);
  if (quebraLinha && precisaQuebraLinha) this->anexar(escpos::LF);
  this->anexar(comandos_.abre);
  registrar("Retornando bytes.", LOG_DEBUG, onde, __LINE__);
  if (quebraLinha) precisaQuebraLinha = true;
  return this->saida();
}

template <class Base>
const uint8_t* TagFixa<Base>::getBytes2() {
  const char* onde = this->ondeFecha();
  this->restaurarTamanhos();
  if (comandos_.fecha.tamanho == 0) {
    this->tamanho_ = 0;
    registrar("Retornando bytes.", LOG_DEBUG, onde, __LINE__);
    return this->saida();
  }
  if (tem(ComandosTagFixa::kAlocacaoAoFechar)) {
    registrar("Aloca\xE7\xE3o de mem\xF3ria OK.", LOG_DEBUG, onde, __LINE__);
  }
  this->limparSaida(kInicioLimpo);
  registrar("Limpar posi\xE7\xF5" "es da mem\xF3ria OK.", LOG_DEBUG, onde, __LINE__);
  this->anexar(comandos_.fecha);
  registrar("Retornando bytes.", LOG_DEBUG, onde, __LINE__);
  return this->saida();
}

template class TagFixa<ProtocolGeneric>;
template class TagFixa<ProtocolTagGeneric>;
