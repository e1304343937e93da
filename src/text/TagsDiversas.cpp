// TagsDiversas.cpp - date, time, line feeds, repeated character, stored
// image, drawer, paper cut and the silent tags.
#include "text/TagsDiversas.h"

#include <cstring>

#include "common/Clock.h"
#include "common/EscPos.h"
#include "config/MasterController.h"
#include "log/Log.h"

using D = DefinicaoTagFixa;

namespace {
const char kLimpo[] = "Limpar posi\xE7\xF5" "es da mem\xF3ria OK.";
const char kAlocado[] = "Aloca\xE7\xE3o de mem\xF3ria OK.";
}  // namespace

// clang-format off
NvBitmap::NvBitmap() : TagFixa({"NvBitmap", "<bmp>", "1", 11, 0,
    comando(escpos::kStoredImage1), kSemComando, D::kSimples}) {}
iDataAtual::iDataAtual() : TagFixa({"iDataAtual", "<dti></dti>", "1", 11, 0,
    kSemComando, kSemComando, D::kSimples}) {}
iHoraAtual::iHoraAtual() : TagFixa({"iHoraAtual", "<hri></hri>", "1", 11, 0,
    kSemComando, kSemComando, D::kSimples}) {}
Tag_a::Tag_a() : TagFixa({"Tag_a", "<a>", "</a>", 3, 4,
    kSemComando, kSemComando, D::kSilenciosa}) {}
Tag_bm::Tag_bm() : TagFixa({"Tag_bm", "<bm></bm>", "1", 9, 0,
    kSemComando, kSemComando, D::kSilenciosa}) {}
Tag_g::Tag_g() : TagFixa({"Tag_g", "<g></g>", "1", 7, 0,
    comando(escpos::kDrawerKick), kSemComando, D::kSilenciosa}) {}
Tag_gui::Tag_gui() : TagFixa({"Tag_gui", "<gui></gui>", "1", 11, 0,
    comando(escpos::kCutPaper), kSemComando, D::kSilenciosa}) {}
// clang-format on

const uint8_t* Tag_gui::getBytes() {
  MasterController::getInstance().carregarConfiguracao();
  return TagFixa::getBytes();
}

TagDataHora::TagDataHora(const Definicao& definicao)
    : ProtocolGeneric(definicao.abertura, "1", 9, 0),
      definicao_(definicao),
      onde_(std::string(definicao.classe) + "::getBytes") {}

const uint8_t* TagDataHora::getBytes() {
  // The eight characters and their zero.
  constexpr int kTamanho = 9;
  log("Iniciando", LOG_DEBUG, onde_.c_str(), __LINE__);
  char texto[kTamanho + 1] = {};
  log("Struct e vetor OK.", LOG_DEBUG, onde_.c_str(), __LINE__);
  const std::time_t agora = tq587::clock().now();
  const std::tm* local = std::localtime(&agora);
  if (!local || std::strftime(texto, sizeof texto, definicao_.formato, local) == 0) {
    log(definicao_.falha, LOG_ERROR, onde_.c_str(), __LINE__);
    return erroGenerico();
  }
  limparSaida(kTamanho);
  anexar(reinterpret_cast<const uint8_t*>(texto), kTamanho);
  log(definicao_.bytesOk, LOG_DEBUG, onde_.c_str(), __LINE__);
  log("Retornando bytes.", LOG_DEBUG, onde_.c_str(), __LINE__);
  return saida();
}

DataAtual::DataAtual()
    : TagDataHora({"DataAtual", "<dt></dt>", "%d/%m/%y",
                   "N\xE3o foi possivel verificar a data no sistema.", "Bytes Ok."}) {}

HoraAtual::HoraAtual()
    : TagDataHora({"HoraAtual", "<hr></hr>", "%X",
                   "N\xE3o foi possivel verificar a hora no sistema.", "Bytes OK."}) {}

EnterCustom::EnterCustom() : ProtocolGeneric("<sl>", "</sl>", 4, 5) {}

void EnterCustom::SetBytes(const char* parametro) {
  definirTamanhos(4, 5);
  parametro_ = parametro;
}

const uint8_t* EnterCustom::getBytes() {
  static const char* const kOnde = "EnterCustom::getBytes";
  // The count has at most three digits, so the close is within four places.
  constexpr int kBusca = 4;
  log("Iniciando", LOG_DEBUG, kOnde, __LINE__);
  definirTamanhos(4, 5);
  log(kAlocado, LOG_DEBUG, kOnde, __LINE__);
  limparSaida(20);
  log(kLimpo, LOG_DEBUG, kOnde, __LINE__);
  digitos_ = 0;
  if (!parametro_) {
    log("N\xE3o h\xE1 dados em SetBytes", LOG_ERROR, kOnde, __LINE__);
    return erroGenerico();
  }
  bool fechou = false;
  for (int i = 0; i < kBusca && !fechou; ++i) {
    fechou = std::strncmp(parametro_ + i, fechamento_, tamanhoFechamento_) == 0;
    if (!fechou && parametro_[i] == '\0') break;  // the text ends: no close
    if (!fechou) ++digitos_;
  }
  if (!fechou) {
    log("N\xFAmero muito extenso", LOG_ERROR, kOnde, __LINE__);
    return invalido();
  }
  const int linhas = lerDecimal(parametro_, static_cast<std::size_t>(digitos_));
  if (linhas < 1 || linhas > 255) {
    log("Par\xE2metro inv\xE1lido.", LOG_ERROR, kOnde, __LINE__);
    return invalido();
  }
  anexar(comando(escpos::kFeedLines));
  anexar(static_cast<uint8_t>(linhas));
  definirTamanhos(4 + digitos_, 5);
  log("Retornando bytes.", LOG_DEBUG, kOnde, __LINE__);
  return saida();
}

const uint8_t* EnterCustom::getBytes2() {
  tamanho_ = 0;
  return saida();
}

Tagtc::Tagtc() : ProtocolGeneric("<tc>", "</tc>", 4, 5) {}

void Tagtc::SetChar(const char* caractere) {
  if (!caractere) log("Falta caracter a ser escrito.", LOG_ERROR, "Tagtc::SetChar", __LINE__);
  caractere_ = caractere;
}

const uint8_t* Tagtc::getBytes() {
  static const char* const kOnde = "Tagtc::getBytes";
  // 41 from the tag and one more printed as text: a full line of 42.
  constexpr int kRepeticoes = 41;
  log("Iniciando", LOG_DEBUG, kOnde, __LINE__);
  definirTamanhos(4, 5);
  log(kAlocado, LOG_DEBUG, kOnde, __LINE__);
  limparSaida(50);
  log(kLimpo, LOG_DEBUG, kOnde, __LINE__);
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
  log("retornando tamanho = 0 e bytes = 0 .", LOG_DEBUG, "Tagtc::getBytes2", __LINE__);
  return saida();
}
