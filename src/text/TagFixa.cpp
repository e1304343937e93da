// TagFixa.cpp - the fixed-command tag.
#include "text/TagFixa.h"

#include "common/EscPos.h"
#include "log/Log.h"

namespace {
constexpr int kInicioLimpo = 5;  // output bytes cleared before a command
}  // namespace

template <class Base>
TagFixa<Base>::TagFixa(const DefinicaoTagFixa& definicao)
    : Base(definicao.abertura, definicao.fechamento, definicao.tamanhoAbertura,
           definicao.tamanhoFechamento),
      definicao_(definicao),
      ondeAbre_(std::string(definicao.classe) + "::getBytes"),
      ondeFecha_(std::string(definicao.classe) + "::getBytes2") {}

template <class Base>
void TagFixa<Base>::registrar(const char* mensagem, int nivel, const std::string& onde,
                              int linha) const {
  if (!tem(DefinicaoTagFixa::kSilenciosa)) log(mensagem, nivel, onde.c_str(), linha);
}

template <class Base>
const uint8_t* TagFixa<Base>::getBytes() {
  this->definirTamanhos(definicao_.tamanhoAbertura, definicao_.tamanhoFechamento);
  this->limparSaida(kInicioLimpo);
  registrar("Limpar posi\xE7\xF5" "es da mem\xF3ria OK.", LOG_DEBUG, ondeAbre_, __LINE__);
  registrar("Carregando os bytes \xE0 enviar.", LOG_INFO, ondeAbre_, __LINE__);
  const bool quebraLinha = tem(DefinicaoTagFixa::kQuebraLinha);
  if (quebraLinha && precisaQuebraLinha) this->anexar(escpos::LF);
  this->anexar(definicao_.abre);
  registrar("Retornando bytes.", LOG_DEBUG, ondeAbre_, __LINE__);
  if (quebraLinha) precisaQuebraLinha = true;
  return this->saida();
}

template <class Base>
const uint8_t* TagFixa<Base>::getBytes2() {
  this->definirTamanhos(definicao_.tamanhoAbertura, definicao_.tamanhoFechamento);
  if (definicao_.fecha.tamanho == 0) {
    this->tamanho_ = 0;
    registrar("Retornando bytes.", LOG_DEBUG, ondeFecha_, __LINE__);
    return this->saida();
  }
  if (tem(DefinicaoTagFixa::kAlocacaoAoFechar)) {
    registrar("Aloca\xE7\xE3o de mem\xF3ria OK.", LOG_DEBUG, ondeFecha_, __LINE__);
  }
  this->limparSaida(kInicioLimpo);
  registrar("Limpar posi\xE7\xF5" "es da mem\xF3ria OK.", LOG_DEBUG, ondeFecha_, __LINE__);
  this->anexar(definicao_.fecha);
  registrar("Retornando bytes.", LOG_DEBUG, ondeFecha_, __LINE__);
  return this->saida();
}

template class TagFixa<ProtocolGeneric>;
template class TagFixa<ProtocolTagGeneric>;
