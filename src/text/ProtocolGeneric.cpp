// ProtocolGeneric.cpp - the tag object's buffer and the shared tag values.
#include "text/ProtocolGeneric.h"

#include <climits>
#include <cstring>

const char* textoTagAtual = nullptr;
bool precisaQuebraLinha = true;

namespace {

bool branco(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}  // namespace

int lerDecimal(const char* texto, std::size_t limite) {
  std::size_t i = 0;
  while (i < limite && branco(texto[i])) ++i;
  bool negativo = false;
  if (i < limite && (texto[i] == '-' || texto[i] == '+')) negativo = texto[i++] == '-';
  long long valor = 0;
  for (; i < limite && texto[i] >= '0' && texto[i] <= '9'; ++i) {
    if (valor <= INT_MAX) valor = valor * 10 + (texto[i] - '0');
  }
  if (valor > INT_MAX) valor = INT_MAX;
  return static_cast<int>(negativo ? -valor : valor);
}

ProtocolGeneric::ProtocolGeneric(const IdentidadeTag& identidade)
    : identidade_(identidade),
      abertura_(identidade.abertura),
      fechamento_(identidade.fechamento),
      tamanhoAbertura_(identidade.tamanhoAbertura),
      tamanhoFechamento_(identidade.tamanhoFechamento),
      ondeAbre_(std::string(identidade.classe) + "::getBytes"),
      ondeFecha_(std::string(identidade.classe) + "::getBytes2"),
      saida_(new uint8_t[kTamanhoBuffer]) {}  // only what a tag writes is read

const uint8_t* ProtocolGeneric::getBytes() { return saida_.get(); }
const uint8_t* ProtocolGeneric::getBytes2() { return saida_.get(); }

void ProtocolGeneric::limparSaida(int n) {
  std::memset(saida_.get(), 0, static_cast<std::size_t>(n));
  tamanho_ = 0;
}

void ProtocolGeneric::anexar(const uint8_t* bytes, int n) {
  if (n <= 0 || n > kTamanhoBuffer - tamanho_) return;
  std::memcpy(saida_.get() + tamanho_, bytes, static_cast<std::size_t>(n));
  tamanho_ += n;
}

void ProtocolGeneric::repetir(uint8_t byte, int vezes) {
  if (vezes <= 0 || vezes > kTamanhoBuffer - tamanho_) return;
  std::memset(saida_.get() + tamanho_, byte, static_cast<std::size_t>(vezes));
  tamanho_ += vezes;
}

// A marker answers its text and the terminating zero.
const uint8_t* ProtocolGeneric::invalido() {
  tamanho_ = sizeof kMarcadorInvalido;
  return reinterpret_cast<const uint8_t*>(kMarcadorInvalido);
}

const uint8_t* ProtocolGeneric::erroGenerico() {
  tamanho_ = sizeof kMarcadorErroGenerico;
  return reinterpret_cast<const uint8_t*>(kMarcadorErroGenerico);
}

int ProtocolTagGeneric::medirConteudo(const char* conteudo, int janela) const {
  const std::size_t n = static_cast<std::size_t>(identidade_.tamanhoFechamento);
  for (int i = 0; i < janela; ++i) {
    if (std::strncmp(conteudo + i, identidade_.fechamento, n) == 0) return i;
    if (conteudo[i] == '\0') return -1;
  }
  return -1;
}
