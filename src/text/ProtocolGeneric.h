// ProtocolGeneric.h - the tag object: its two tag texts and lengths, its
// output buffer, and the values every tag object shares.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "text/Tags.h"

// The text at the tag being converted; set by the parser before any tag
// object runs, null before the first conversion.
extern const char* textoTagAtual;
// While true, <ce>, <ad>, <tc> and </mg> start with a line feed.
extern bool precisaQuebraLinha;

// The texts a tag object answers instead of command bytes when it cannot
// send them; the parser turns each into the text's result.
constexpr char kMarcadorAtualizacao[] = "-1";   // update error
constexpr char kMarcadorInvalido[] = "-99";     // invalid parameter
constexpr char kMarcadorComunicacao[] = "0";    // communication error
constexpr char kMarcadorErroGenerico[] = "-27"; // generic error

// A run of command bytes.
struct Comando {
  const uint8_t* bytes;
  int tamanho;
};
template <std::size_t N>
constexpr Comando comando(const uint8_t (&bytes)[N]) {
  return {bytes, static_cast<int>(N)};
}
template <std::size_t N>
Comando comando(const std::array<uint8_t, N>& bytes) {
  return {bytes.data(), static_cast<int>(N)};
}
constexpr Comando kSemComando{nullptr, 0};

// The decimal value at the start of texto, read as atoi reads it (leading
// blanks, a sign, then digits), looking at most at limite characters. A value
// too large for an int stops growing at the int's limit.
int lerDecimal(const char* texto, std::size_t limite);

class ProtocolGeneric {
 public:
  static constexpr int kTamanhoBuffer = 5000;

  virtual ~ProtocolGeneric() = default;
  ProtocolGeneric(const ProtocolGeneric&) = delete;
  ProtocolGeneric& operator=(const ProtocolGeneric&) = delete;

  // Open tag met: the bytes to send, or an error marker ("-1", "-99", "0",
  // "-27"). Sets the output size.
  virtual const uint8_t* getBytes();
  virtual int getTamanho() const { return tamanho_; }
  // Close tag met: as getBytes.
  virtual const uint8_t* getBytes2();

  const IdentidadeTag& identidade() const { return identidade_; }
  const char* textoAbertura() const { return abertura_; }
  const char* textoFechamento() const { return fechamento_; }
  int tamanhoAbertura() const { return tamanhoAbertura_; }
  int tamanhoFechamento() const { return tamanhoFechamento_; }

 protected:
  explicit ProtocolGeneric(const IdentidadeTag& identidade);

  // The lengths of the tag's identity, as before any content was taken.
  void restaurarTamanhos() {
    tamanhoAbertura_ = identidade_.tamanhoAbertura;
    tamanhoFechamento_ = identidade_.tamanhoFechamento;
  }
  // The open length grown by the content the parser steps over.
  void abrangerConteudo(int caracteres) {
    tamanhoAbertura_ = identidade_.tamanhoAbertura + caracteres;
  }
  // The log names "Classe::getBytes" and "Classe::getBytes2".
  const char* ondeAbre() const { return ondeAbre_.c_str(); }
  const char* ondeFecha() const { return ondeFecha_.c_str(); }
  // Clears the first n bytes of the output and empties it.
  void limparSaida(int n);
  // Appends to the output (never beyond its 5000 bytes).
  void anexar(const uint8_t* bytes, int n);
  void anexar(Comando c) { anexar(c.bytes, c.tamanho); }
  template <std::size_t N>
  void anexar(const std::array<uint8_t, N>& bytes) { anexar(bytes.data(), static_cast<int>(N)); }
  void anexar(uint8_t byte) { anexar(&byte, 1); }
  void repetir(uint8_t byte, int vezes);
  // The markers, with the size of their text and its zero.
  const uint8_t* invalido();      // "-99": bad parameter
  const uint8_t* erroGenerico();  // "-27": nothing to read
  const uint8_t* saida() const { return saida_.get(); }

  const IdentidadeTag& identidade_;
  const char* abertura_;
  const char* fechamento_;
  int tamanhoAbertura_;
  int tamanhoFechamento_;
  int tamanho_ = 0;

 private:
  const std::string ondeAbre_;
  const std::string ondeFecha_;
  std::unique_ptr<uint8_t[]> saida_;
};

// The base of the barcode tags and of the alignment tags.
class ProtocolTagGeneric : public ProtocolGeneric {
 protected:
  using ProtocolGeneric::ProtocolGeneric;

  // The number of characters from conteudo to the close text, when the close
  // text starts within the first janela places; -1 when it does not, or when
  // the text ends first.
  int medirConteudo(const char* conteudo, int janela) const;
};
