// CodebarGsK.cpp - the GS k barcodes: one worker, and each symbology's
// values and log lines.
#include "text/barcode/CodebarGsK.h"

#include "common/EscPos.h"
#include "log/Log.h"

const uint8_t* CodebarGsK::getBytes() {
  const char* onde = ondeAbre();
  const DefinicaoCodebar& d = definicao_;
  for (const char* linha : d.inicio) {
    if (!linha) break;
    log(linha, LOG_DEBUG, onde, __LINE__);
  }
  restaurarTamanhos();
  tamanhoConteudo_ = 0;
  conteudo_ = nullptr;
  limparSaida(kInicioLimpo);
  if (!textoTagAtual) {
    log(d.semDados, LOG_ERROR, onde, __LINE__);
    return erroGenerico();
  }
  conteudo_ = textoTagAtual + identidade().tamanhoAbertura;
  if (d.conteudo && d.conteudoAntesDaBusca) log(d.conteudo, LOG_DEBUG, onde, __LINE__);
  tamanhoConteudo_ = medirConteudo(conteudo_, d.janela);
  if (tamanhoConteudo_ < d.minimo || tamanhoConteudo_ > d.maximo) {
    log(d.invalido, LOG_ERROR, onde, __LINE__);
    return invalido();
  }
  if (d.conteudo && !d.conteudoAntesDaBusca) log(d.conteudo, LOG_DEBUG, onde, __LINE__);
  // GS k m n d1..dn, the content as it stands.
  anexar(escpos::barcode(d.m, static_cast<uint8_t>(tamanhoConteudo_)));
  anexar(reinterpret_cast<const uint8_t*>(conteudo_), tamanhoConteudo_);
  abrangerConteudo(tamanhoConteudo_);
  log(d.retornando, LOG_DEBUG, onde, __LINE__);
  return saida();
}

const uint8_t* CodebarGsK::getBytes2() {
  tamanho_ = 0;
  log(definicao_.fechamentoLog, LOG_DEBUG, ondeFecha(), __LINE__);
  return saida();
}

namespace {
constexpr auto kLimpoCodabar = memoriaLimpa("Codebar Codabar: ");
constexpr auto kLimpoCode128 = memoriaLimpa("Codebar Code128: ");
const char kConteudo[] = "Conteudo do codigo de barras armazenado.";
constexpr bool kAntes = true;    // content line before the search
constexpr bool kSucesso = false; // content line on success
}  // namespace

// clang-format off
CodebarEan13::CodebarEan13(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kEan13, 15, 12, 13,
    {"Codebar Ean13: Iniciando", kMemoriaLimpa, nullptr}, kConteudo, kSucesso,
    "Retornando bytes.",
    "Codebar Ean13: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Ean13: Par\xE2metro inv\xE1lido.",
    "retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarEan8::CodebarEan8(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kEan8, 10, 7, 8,
    {"Codebar Ean8: Iniciando", kMemoriaLimpa, nullptr},
    "Codebar Ean8: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Ean8: Retornando bytes.",
    "Codebar Ean8: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Ean8: Par\xE2metro inv\xE1lido.",
    "Codebar Ean8: retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarUpca::CodebarUpca(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kUpcA, 15, 11, 13,
    {"Codebar Upca: Iniciando", kMemoriaLimpa, nullptr}, nullptr, kAntes,
    "Codebar Upca: Retornando bytes.",
    "Codebar Upca: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Upca: Par\xE2metro inv\xE1lido.",
    "Codebar Upca: retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCode39::CodebarCode39(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kCode39, 257, 1, 255,
    {"Codebar Code39: Iniciando", kMemoriaLimpa, nullptr}, nullptr, kAntes,
    "Codebar Code39: Retornando bytes.",
    "Codebar Code39: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code39: Par\xE2metro inv\xE1lido.",
    "Codebar Code39: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCode93::CodebarCode93(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kCode93, 257, 1, 255,
    {"Codebar Code93: Iniciando", kMemoriaLimpa, nullptr},
    "Codebar Code93: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Code93: Retornando bytes.",
    "Codebar Code93: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code93: Par\xE2metro inv\xE1lido.",
    "Codebar Code93: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCodabar::CodebarCodabar(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kCodabar, 257, 1, 255,
    {"Codebar Codabar: Iniciando", kLimpoCodabar.data(), nullptr},
    "Codebar Codabar: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Codabar: Retornando bytes.",
    "Codebar Codabar: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Codabar: Par\xE2metro inv\xE1lido.",
    "Codebar Codabar: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCode128::CodebarCode128(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kCode128, 257, 2, 255,
    {"Codebar Code128: Iniciando.", "Iniciando", kLimpoCode128.data()},
    "Codebar Code128: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Code128: Retornando bytes.",
    "Codebar Code128: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code128: Par\xE2metro inv\xE1lido.",
    "Codebar Code128: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarItf::CodebarItf(const IdentidadeTag& i)
    : CodebarGsK(i, {escpos::kItf, 257, 1, 255,
    {"Codebar ITF: Iniciando", kMemoriaLimpa, nullptr}, kConteudo, kAntes,
    "Retornando bytes.",
    "Codebar ift: N\xE3o h\xE1 dados em SetBytesCb.",
    "Par\xE2metro inv\xE1lido.",
    "retornando tamanho = 0 e bytes = 0 ."}) {}
// clang-format on
