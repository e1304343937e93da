// TagParametro.cpp - the content extractor and the parameter tags.
#include "text/TagParametro.h"

#include <cstring>

#include "common/EscPos.h"
#include "log/Log.h"

namespace {
constexpr int kMaxConteudo = TagParametro::kTamanhoConteudo - 1;
constexpr int kMaxCopia = ProtocolGeneric::kTamanhoBuffer - 1;
}  // namespace

TagParametro::TagParametro(const IdentidadeTag& identidade, const char* mensagemInvalida)
    : ProtocolGeneric(identidade),
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
  if (indice >= kMaxConteudo || tamanhoAbertura_ - identidade().tamanhoAbertura >= kMaxConteudo) {
    excedeu_ = true;
    return;
  }
  conteudo_[indice++] = c;
  ++tamanhoAbertura_;
}

const uint8_t* TagParametro::getBytes() {
  if (excedeu_) return rejeitar(ondeAbre());
  limparSaida(5);
  return saida();
}

const uint8_t* TagParametro::rejeitar(const char* onde) {
  if (mensagemInvalida_) log(mensagemInvalida_, LOG_DEBUG, onde, __LINE__);
  return invalido();
}

const uint8_t* TagParametro::repetirPorValor(uint8_t byte) {
  const int n = valor();
  if (n == 0 || n > kTamanhoBuffer) return rejeitar(ondeFecha());
  limparSaida(5);
  repetir(byte, n);  // a negative count sends nothing
  return saida();
}

const uint8_t* TagParametro::comandoComValor(escpos::Command3 (*comando)(uint8_t n)) {
  const int n = valor();
  if (n == 0) return rejeitar(ondeFecha());
  limparSaida(5);
  anexar(comando(escpos::lowByte(static_cast<uint32_t>(n))));
  return saida();
}

TagSN::TagSN() : TagParametro(tags::kTagSN, "parametro inv\xE1lido") {}
const uint8_t* TagSN::getBytes2() { return repetirPorValor(escpos::RS); }

Tag_sp::Tag_sp() : TagParametro(tags::kTag_sp, "Valor invalido para <sp></sp>") {}
const uint8_t* Tag_sp::getBytes2() { return repetirPorValor(' '); }

Tag_configui::Tag_configui() : TagParametro(tags::kTag_configui, nullptr) {}
const uint8_t* Tag_configui::getBytes2() {
  limparSaida(5);
  return saida();
}

Tag_cespl::Tag_cespl() : TagParametro(tags::kTag_cespl, "Parametro inv\xE1lido.") {}
const uint8_t* Tag_cespl::getBytes2() { return comandoComValor(escpos::lineSpacing); }

Tag_slm::Tag_slm() : TagParametro(tags::kTag_slm, "Caractere inv\xE1lido.") {}
void Tag_slm::setTexto(const char* texto) {
  log("Buffer[5000] carregado com zeros", LOG_DEBUG, "Tag_slm::setTexto", __LINE__);
  carregarTexto(texto);
}
const uint8_t* Tag_slm::getBytes2() { return comandoComValor(escpos::feedDots); }

Tag_mg::Tag_mg() : TagParametro(tags::kTag_mg, "Parametro inv\xE1lido.") {}

const uint8_t* Tag_mg::getBytes2() {
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
      if (++digitos > kMaxDigitos) return rejeitar(ondeFecha());
      numero = numero * 10 + (c - '0');
    } else if (c == ';' || c == '|' || c == '\0') {
      if (digitos == 0 || lidos == 2) return rejeitar(ondeFecha());
      margens[lidos++] = numero;
      numero = 0;
      digitos = 0;
      if (c == '\0') break;
    } else {
      return rejeitar(ondeFecha());
    }
  }
  if (lidos != 2 || margens[1] == 0) return rejeitar(ondeFecha());
  const int esquerda = margens[0] * escpos::kDotsPerCharacter;
  const int largura = escpos::kPrintAreaDots - margens[1] * escpos::kDotsPerCharacter - esquerda;
  if (largura < 0) return rejeitar(ondeFecha());

  limparSaida(9);
  if (precisaQuebraLinha) anexar(escpos::LF);
  anexar(escpos::leftMargin(static_cast<uint32_t>(esquerda)));
  anexar(escpos::printWidth(static_cast<uint32_t>(largura)));
  return saida();
}
