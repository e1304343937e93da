// ProtocolGeneric.h - the tag object: its identity (a row of the tag table,
// Tags.h), its output buffer, and the values every tag object shares.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

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

// A run of command bytes; a byte array of EscPos.h is one.
struct Comando {
  constexpr Comando() = default;
  template <std::size_t N>
  constexpr Comando(const uint8_t (&b)[N]) : bytes(b), tamanho(static_cast<int>(N)) {}

  const uint8_t* bytes = nullptr;
  int tamanho = 0;
};
constexpr Comando kSemComando{};

// The DEBUG line of a tag that has cleared the start of its output, alone
// or after the class's own prefix ("PDF417: ").
constexpr char kMemoriaLimpa[] = "Limpar posi\xE7\xF5" "es da mem\xF3ria OK.";
template <std::size_t N>
constexpr std::array<char, N - 1 + sizeof kMemoriaLimpa> memoriaLimpa(const char (&prefixo)[N]) {
  std::array<char, N - 1 + sizeof kMemoriaLimpa> linha{};
  for (std::size_t i = 0; i + 1 < N; ++i) linha[i] = prefixo[i];
  for (std::size_t i = 0; i < sizeof kMemoriaLimpa; ++i) linha[N - 1 + i] = kMemoriaLimpa[i];
  return linha;
}

// What a row of the tag table says of its tag, besides its texts.
enum MarcaTag : unsigned {
  // A text that opens with this tag starts its first line itself: the text
  // loop clears precisaQuebraLinha before converting it.
  kComecaLinha = 1,
  // The tag reads a parameter out of the text: the parser refreshes it
  // before every search.
  kParametro = 2,
  // Fixed tags: the open command follows a line feed while
  // precisaQuebraLinha is true, and sets it true afterwards.
  kQuebraLinha = 4,
  // Fixed tags: the close also says "Alocação de memória OK.".
  kAlocacaoAoFechar = 8,
  // Fixed tags: no log line at all.
  kSilenciosa = 16,
};

class ProtocolGeneric;
struct IdentidadeTag;
using FabricaTag = std::unique_ptr<ProtocolGeneric> (*)(const IdentidadeTag& identidade);

// One row of the tag table: the class that serves the tag (its name also
// names the log lines), the open and close texts and how many characters
// the parser steps over after each, the row's marks, and for a fixed tag
// its two commands.
struct IdentidadeTag {
  const char* classe;
  const char* abertura;
  const char* fechamento;
  int tamanhoAbertura;
  int tamanhoFechamento;
  FabricaTag criar;
  unsigned marcas;
  Comando abre;
  Comando fecha;  // an empty close sends nothing

  constexpr bool tem(unsigned marca) const { return (marcas & marca) != 0; }
};

// The decimal value at the start of texto, read as atoi reads it (leading
// blanks, a sign, then digits), looking at most at limite characters. A value
// too large for an int stops growing at the int's limit.
int lerDecimal(const char* texto, std::size_t limite);

class ProtocolGeneric {
 public:
  static constexpr int kTamanhoBuffer = 5000;
  // The output bytes a tag clears before it writes a command.
  static constexpr int kInicioLimpo = 5;

  virtual ~ProtocolGeneric() = default;
  ProtocolGeneric(const ProtocolGeneric&) = delete;
  ProtocolGeneric& operator=(const ProtocolGeneric&) = delete;

  // Open tag met: the bytes to send, or an error marker ("-1", "-99", "0",
  // "-27"). Sets the output size.
  virtual const uint8_t* getBytes();
  virtual int getTamanho() const { return tamanho_; }
  // Close tag met: as getBytes.
  virtual const uint8_t* getBytes2();

  // The parser's refresh of a tag that reads a parameter out of the text
  // (kParametro): once per text before its first tag, and at every tag,
  // before the search, with the place of the '<' in the text.
  virtual void prepararTexto(const char* /*texto*/, int /*tamanho*/) {}
  virtual void atualizar(const char* /*posicao*/, int /*lugar*/) {}

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
