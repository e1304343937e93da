// TagsDiversas.cpp - date, time, line feeds, repeated character and the
// paper cut.
#include "text/TagsDiversas.h"

#include <cstring>
#include <ctime>

#include "common/Clock.h"
#include "common/EscPos.h"
#include "config/MasterController.h"
#include "log/Log.h"

namespace {
const char kAlocado[] = "Aloca\xE7\xE3o de mem\xF3ria OK.";
}  // namespace

const uint8_t* Tag_gui::getBytes() {
  MasterController::getInstance().carregarConfiguracao();
  return TagFixa::getBytes();
}

const uint8_t* TagDataHora::getBytes() {
  // The eight characters and their zero.
  constexpr int kTamanho = 9;
  log("Iniciando", LOG_DEBUG, ondeAbre(), __LINE__);
  char texto[kTamanho + 1] = {};
  log("Struct e vetor OK.", LOG_DEBUG, ondeAbre(), __LINE__);
  const std::time_t agora = tq587::clock().now();
  const std::tm* local = std::localtime(&agora);
  if (!local || std::strftime(texto, sizeof texto, definicao_.formato, local) == 0) {
    log(definicao_.falha, LOG_ERROR, ondeAbre(), __LINE__);
    return erroGenerico();
  }
  limparSaida(kTamanho);
  anexar(reinterpret_cast<const uint8_t*>(texto), kTamanho);
  log(definicao_.bytesOk, LOG_DEBUG, ondeAbre(), __LINE__);
  log("Retornando bytes.", LOG_DEBUG, ondeAbre(), __LINE__);
  return saida();
}

DataAtual::DataAtual(const IdentidadeTag& i)
    : TagDataHora(i, {"%d/%m/%y", "N\xE3o foi possivel verificar a data no sistema.",
                      "Bytes Ok."}) {}

HoraAtual::HoraAtual(const IdentidadeTag& i)
    : TagDataHora(i, {"%X", "N\xE3o foi possivel verificar a hora no sistema.", "Bytes OK."}) {}

EnterCustom::EnterCustom(const IdentidadeTag& identidade)
    : TagContagem(identidade, {escpos::feedLines, false, {"Iniciando", kAlocado, kMemoriaLimpa},
                               "N\xE3o h\xE1 dados em SetBytes", "Par\xE2metro inv\xE1lido.",
                               "Retornando bytes."}) {}

void EnterCustom::SetBytes(const char* parametro) {
  restaurarTamanhos();
  parametro_ = parametro;
}

// The pointer after the open text stops at the text's end.
void EnterCustom::atualizar(const char* posicao, int) {
  SetBytes(posicao + strnlen(posicao, static_cast<std::size_t>(identidade().tamanhoAbertura)));
}

Tagtc::Tagtc(const IdentidadeTag& identidade) : ProtocolGeneric(identidade) {}

void Tagtc::atualizar(const char* posicao, int) {
  SetChar(posicao + strnlen(posicao, static_cast<std::size_t>(tamanhoAbertura_)));
}

void Tagtc::SetChar(const char* caractere) {
  if (!caractere) log("Falta caracter a ser escrito.", LOG_ERROR, "Tagtc::SetChar", __LINE__);
  caractere_ = caractere;
}

const uint8_t* Tagtc::getBytes() {
  const char* const kOnde = ondeAbre();
  // 41 from the tag and one more printed as text: a full line of 42.
  constexpr int kRepeticoes = 41;
  log("Iniciando", LOG_DEBUG, kOnde, __LINE__);
  restaurarTamanhos();
  log(kAlocado, LOG_DEBUG, kOnde, __LINE__);
  limparSaida(50);
  log(kMemoriaLimpa, LOG_DEBUG, kOnde, __LINE__);
  // One character, then the close tag.
  if (!caractere_ || *caractere_ == '\0' ||
      std::strncmp(caractere_ + 1, fechamento_, tamanhoFechamento_) != 0) {
    log("Tag <tc>*</tc>: Par\xE2metro inv\xE1lido.", LOG_ERROR, kOnde, __LINE__);
    return invalido();
  }
  if (precisaQuebraLinha) anexar(escpos::LF);
  repetir(static_cast<uint8_t>(*caractere_), kRepeticoes);
  anexar(uint8_t{0});
  log("Retornando bytes.", LOG_DEBUG, kOnde, __LINE__);
  return saida();
}

const uint8_t* Tagtc::getBytes2() {
  limparSaida(1);
  log("retornando tamanho = 0 e bytes = 0 .", LOG_DEBUG, ondeFecha(), __LINE__);
  return saida();
}
