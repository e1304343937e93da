// TagParametro.cpp - the content extractor and the parameter tags.
#include "text/TagParametro.h"

#include <cstring>

#include "common/EscPos.h"
#include "log/Log.h"

namespace {
constexpr int kMaxConteudo = TagParametro::kTamanhoConteudo - 1;
constexpr int kMaxCopia = ProtocolGeneric::kTamanhoBuffer - 1;
}  // namespace

TagParametro::TagParametro(const char* classe, const char* abertura, const char* fechamento,
                           int tamanhoAbertura, int tamanhoFechamento,
                           const char* mensagemInvalida)
    : ProtocolGeneric(abertura, fechamento, tamanhoAbertura, tamanhoFechamento),
      ondeAbre_(std::string(classe) + "::getBytes"),
      ondeFecha_(std::string(classe) + "::getBytes2"),
      tamanhoInicial_(tamanhoAbertura),
      mensagemInvalida_(mensagemInvalida),
      copia_(new char[kTamanhoBuffer]()),
      conteudo_(new char[kTamanhoConteudo]()) {}

void TagParametro::carregarTexto(const char* posicao) {
  const std::size_t n = strnlen(posicao, kMaxCopia);
  std::memcpy(copia_.get(), posicao, n);
  std::memset(copia_.get() + n, 0, kTamanhoBuffer - n);
  tamanhoCopia_ = static_cast<int>(n);
  if (tamanhoCopia_ > 0) extrairConteudo();
}

void TagParametro::extrairConteudo() {
  const char* texto = copia_.get();
  int k = 0;
  for (int j = 0; j < tamanhoCopia_; ++j) {
    // The open text is compared over the open length, which has grown once
    // a content was taken: then it is found again only where the text ends.
    if (encontrou(texto + j, abertura_, tamanhoAbertura_)) {
      j += tamanhoAbertura_;
      dentro_ = true;
      if (j < tamanhoCopia_) tomar(texto[j], k);  // never the terminating zero
    } else if (encontrou(texto + j, fechamento_, tamanhoFechamento_)) {
      dentro_ = false;
    } else if (dentro_) {
      tomar(texto[j], k);
    }
  }
}

void TagParametro::tomar(char c, int& indice) {
  if (indice >= kMaxConteudo || tamanhoAbertura_ - tamanhoInicial_ >= kMaxConteudo) {
    excedeu_ = true;
    return;
  }
  conteudo_[indice++] = c;
  ++tamanhoAbertura_;
}

const uint8_t* TagParametro::getBytes() {
  if (excedeu_) return rejeitar(ondeAbre_);
  limparSaida(5);
  return saida();
}

const uint8_t* TagParametro::rejeitar(const std::string& onde) {
  if (mensagemInvalida_) log(mensagemInvalida_, LOG_DEBUG, onde.c_str(), __LINE__);
  return invalido();
}

const uint8_t* TagParametro::repetirPorValor(uint8_t byte) {
  const int n = valor();
  if (n == 0 || n > kTamanhoBuffer) return rejeitar(ondeFecha_);
  limparSaida(5);
  repetir(byte, n);  // a negative count sends nothing
  return saida();
}

const uint8_t* TagParametro::comandoComValor(Comando prefixo) {
  const int n = valor();
  if (n == 0) return rejeitar(ondeFecha_);
  limparSaida(5);
  anexar(prefixo);
  anexar(static_cast<uint8_t>(n & 0xFF));
  return saida();
}

TagSN::TagSN() : TagParametro("TagSN", "<sn>", "</sn>", 4, 5, "parametro inv\xE1lido") {}
const uint8_t* TagSN::getBytes2() { return repetirPorValor(escpos::RS); }

Tag_sp::Tag_sp()
    : TagParametro("Tag_sp", "<sp>", "</sp>", 4, 5, "Valor invalido para <sp></sp>") {}
const uint8_t* Tag_sp::getBytes2() { return repetirPorValor(' '); }

Tag_configui::Tag_configui()
    : TagParametro("Tag_configui", "<confgui>", "</confgui>", 9, 10, nullptr) {}
const uint8_t* Tag_configui::getBytes2() {
  limparSaida(5);
  return saida();
}

Tag_cespl::Tag_cespl()
    : TagParametro("Tag_cespl", "<cespl>", "</cespl>", 7, 8, "Parametro inv\xE1lido.") {}
const uint8_t* Tag_cespl::getBytes2() { return comandoComValor(comando(escpos::kLineSpacing)); }

Tag_slm::Tag_slm() : TagParametro("Tag_slm", "<slm>", "</slm>", 5, 6, "Caractere inv\xE1lido.") {}
void Tag_slm::setTexto(const char* texto) {
  log("Buffer[5000] carregado com zeros", LOG_DEBUG, "Tag_slm::setTexto", __LINE__);
  carregarTexto(texto);
}
const uint8_t* Tag_slm::getBytes2() { return comandoComValor(comando(escpos::kFeedDots)); }

Tag_mg::Tag_mg() : TagParametro("Tag_mg", "<mg>", "</mg>", 4, 5, "Parametro inv\xE1lido.") {}

const uint8_t* Tag_mg::getBytes2() {
  constexpr int kPontosPorCaractere = 12;
  constexpr int kLarguraTotal = 512;
  constexpr int kMaxDigitos = 4;
  // Exactly two numbers of one to four digits, split by ';' or '|'.
  int margens[2] = {0, 0};
  int lidos = 0;
  int digitos = 0;
  int numero = 0;
  const char* texto = conteudo();
  for (int i = 0;; ++i) {
    const char c = texto[i];
    if (c >= '0' && c <= '9') {
      if (++digitos > kMaxDigitos) return rejeitar(ondeFecha_);
      numero = numero * 10 + (c - '0');
    } else if (c == ';' || c == '|' || c == '\0') {
      if (digitos == 0 || lidos == 2) return rejeitar(ondeFecha_);
      margens[lidos++] = numero;
      numero = 0;
      digitos = 0;
      if (c == '\0') break;
    } else {
      return rejeitar(ondeFecha_);
    }
  }
  if (lidos != 2 || margens[1] == 0) return rejeitar(ondeFecha_);
  const int esquerda = margens[0] * kPontosPorCaractere;
  const int largura = kLarguraTotal - margens[1] * kPontosPorCaractere - esquerda;
  if (largura < 0) return rejeitar(ondeFecha_);

  limparSaida(9);
  if (precisaQuebraLinha) anexar(escpos::LF);
  anexar(comando(escpos::kLeftMargin));
  anexar(static_cast<uint8_t>(esquerda & 0xFF));
  anexar(static_cast<uint8_t>(esquerda >> 8));
  anexar(comando(escpos::kPrintWidth));
  anexar(static_cast<uint8_t>(largura & 0xFF));
  anexar(static_cast<uint8_t>(largura >> 8));
  return saida();
}
