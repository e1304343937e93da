// TagParametro.cpp - the content extractor and the parameter tags.
#include "text/TagParametro.h"

#include <algorithm>
#include <cstring>

#include "common/EscPos.h"
#include "log/Log.h"

namespace {
constexpr int kMaxConteudo = TagParametro::kTamanhoConteudo - 1;
// A tag sees at most this many characters of the rest of the text.
constexpr int kMaxVisto = ProtocolGeneric::kTamanhoBuffer - 1;

void lugaresDe(const char* texto, const char* procurado, std::vector<int>& lugares) {
  lugares.clear();
  for (const char* p = std::strstr(texto, procurado); p; p = std::strstr(p + 1, procurado)) {
    lugares.push_back(static_cast<int>(p - texto));
  }
}
}  // namespace

TagParametro::TagParametro(const IdentidadeTag& identidade, const char* mensagemInvalida)
    : ProtocolGeneric(identidade),
      mensagemInvalida_(mensagemInvalida),
      conteudo_(new char[kTamanhoConteudo]()) {}

void TagParametro::prepararTexto(const char* texto, int tamanho) {
  texto_ = texto;
  tamanhoTexto_ = tamanho;
  lugaresDe(texto, abertura_, aberturas_);
  lugaresDe(texto, fechamento_, fechamentos_);
}

void TagParametro::atualizar(const char*, int lugar) {
  const int fim = lugar + std::min(kMaxVisto, tamanhoTexto_ - lugar);
  if (fim > lugar) extrairConteudo(lugar, fim);
}

int TagParametro::proxima(const std::vector<int>& lugares, int de, int ate) {
  const auto it = std::lower_bound(lugares.begin(), lugares.end(), de);
  return it != lugares.end() && *it <= ate ? *it : -1;
}

bool TagParametro::abreNoFim(int de, int fim) const {
  const int lugar = fim - identidade().tamanhoAbertura;
  return lugar >= de && proximaAbertura(lugar, lugar) == lugar;
}

void TagParametro::extrairConteudo(int inicio, int fim) {
  const int inicial = identidade().tamanhoAbertura;
  const int fechamento = identidade().tamanhoFechamento;
  int k = 0;
  int j = inicio;
  while (j < fim) {
    const bool intacta = tamanhoAbertura_ == inicial;  // no content taken yet
    int abre = intacta ? proximaAbertura(j, fim - inicial) : (abreNoFim(j, fim) ? fim - inicial : -1);
    if (dentro_) {
      // Every character up to the next open or close text is taken.
      const int fecha = proximoFechamento(j, fim - fechamento);
      int evento = fecha >= 0 ? fecha : fim;
      if (abre >= 0 && abre < evento) evento = abre;
      if (intacta && j < evento) {
        tomar(j, j + 1, k);  // the first one changes where the open text is found
        ++j;
        continue;
      }
      tomar(j, evento, k);
      if (evento == fim) return;
      if (evento == fecha) {
        dentro_ = false;
        j = fecha + 1;
        continue;
      }
    }
    if (abre < 0) return;
    // The open text: step over it, and take the character after it.
    j = abre + tamanhoAbertura_;
    dentro_ = true;
    if (j < fim) tomar(j, j + 1, k);
    ++j;
  }
}

void TagParametro::tomar(int de, int ate, int& indice) {
  for (int j = de; j < ate; ++j) {
    if (indice >= kMaxConteudo || tamanhoAbertura_ - identidade().tamanhoAbertura >= kMaxConteudo) {
      excedeu_ = true;
      return;
    }
    conteudo_[indice++] = texto_[j];
    ++tamanhoAbertura_;
  }
}

const uint8_t* TagParametro::getBytes() {
  if (excedeu_) return rejeitar(ondeAbre());
  limparSaida(kInicioLimpo);
  return saida();
}

const uint8_t* TagParametro::rejeitar(const char* onde) {
  if (mensagemInvalida_) log(mensagemInvalida_, LOG_DEBUG, onde, __LINE__);
  return invalido();
}

const uint8_t* TagParametro::repetirPorValor(uint8_t byte) {
  const int n = valor();
  if (n == 0 || n > kTamanhoBuffer) return rejeitar(ondeFecha());
  limparSaida(kInicioLimpo);
  repetir(byte, n);  // a negative count sends nothing
  return saida();
}

const uint8_t* TagParametro::comandoComValor(escpos::Command3 (*comando)(uint8_t n)) {
  const int n = valor();
  if (n == 0) return rejeitar(ondeFecha());
  limparSaida(kInicioLimpo);
  anexar(comando(escpos::lowByte(static_cast<uint32_t>(n))));
  return saida();
}

TagSN::TagSN(const IdentidadeTag& identidade)
    : TagParametro(identidade, "parametro inv\xE1lido") {}
const uint8_t* TagSN::getBytes2() { return repetirPorValor(escpos::RS); }

Tag_sp::Tag_sp(const IdentidadeTag& identidade)
    : TagParametro(identidade, "Valor invalido para <sp></sp>") {}
const uint8_t* Tag_sp::getBytes2() { return repetirPorValor(' '); }

Tag_configui::Tag_configui(const IdentidadeTag& identidade) : TagParametro(identidade, nullptr) {}
const uint8_t* Tag_configui::getBytes2() {
  limparSaida(kInicioLimpo);
  return saida();
}

Tag_cespl::Tag_cespl(const IdentidadeTag& identidade)
    : TagParametro(identidade, "Parametro inv\xE1lido.") {}
const uint8_t* Tag_cespl::getBytes2() { return comandoComValor(escpos::lineSpacing); }

Tag_slm::Tag_slm(const IdentidadeTag& identidade)
    : TagParametro(identidade, "Caractere inv\xE1lido.") {}
void Tag_slm::atualizar(const char* posicao, int lugar) {
  log("Buffer[5000] carregado com zeros", LOG_DEBUG, "Tag_slm::setTexto", __LINE__);
  TagParametro::atualizar(posicao, lugar);
}
const uint8_t* Tag_slm::getBytes2() { return comandoComValor(escpos::feedDots); }

Tag_mg::Tag_mg(const IdentidadeTag& identidade)
    : TagParametro(identidade, "Parametro inv\xE1lido.") {}

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
