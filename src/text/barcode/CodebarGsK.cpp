// CodebarGsK.cpp - the GS k barcodes: one worker, and each symbology's
// values and log lines.
#include "text/barcode/CodebarGsK.h"

#include "common/EscPos.h"
#include "log/Log.h"

CodebarGsK::CodebarGsK(const DefinicaoCodebar& definicao)
    : ProtocolTagGeneric(definicao.abertura, definicao.fechamento, definicao.tamanhoAbertura,
                         definicao.tamanhoFechamento),
      definicao_(definicao),
      ondeAbre_(std::string(definicao.classe) + "::getBytes"),
      ondeFecha_(std::string(definicao.classe) + "::getBytes2") {}

const uint8_t* CodebarGsK::getBytes() {
  const char* onde = ondeAbre_.c_str();
  const DefinicaoCodebar& d = definicao_;
  for (const char* linha : d.inicio) {
    if (!linha) break;
    log(linha, LOG_DEBUG, onde, __LINE__);
  }
  definirTamanhos(d.tamanhoAbertura, d.tamanhoFechamento);
  tamanhoConteudo_ = 0;
  conteudo_ = nullptr;
  limparSaida(5);
  if (!textoTagAtual) {
    log(d.semDados, LOG_ERROR, onde, __LINE__);
    return erroGenerico();
  }
  conteudo_ = textoTagAtual + d.tamanhoAbertura;
  if (d.conteudo && d.conteudoAntesDaBusca) log(d.conteudo, LOG_DEBUG, onde, __LINE__);
  tamanhoConteudo_ = medirConteudo(conteudo_, d.fechamento, d.tamanhoFechamento, d.janela);
  if (tamanhoConteudo_ < d.minimo || tamanhoConteudo_ > d.maximo) {
    log(d.invalido, LOG_ERROR, onde, __LINE__);
    return invalido();
  }
  if (d.conteudo && !d.conteudoAntesDaBusca) log(d.conteudo, LOG_DEBUG, onde, __LINE__);
  // GS k m n d1..dn, the content as it stands.
  anexar(comando(escpos::kBarcode));
  anexar(d.m);
  anexar(static_cast<uint8_t>(tamanhoConteudo_));
  anexar(reinterpret_cast<const uint8_t*>(conteudo_), tamanhoConteudo_);
  definirTamanhos(d.tamanhoAbertura + tamanhoConteudo_, d.tamanhoFechamento);
  log(d.retornando, LOG_DEBUG, onde, __LINE__);
  return saida();
}

const uint8_t* CodebarGsK::getBytes2() {
  tamanho_ = 0;
  log(definicao_.fechamentoLog, LOG_DEBUG, ondeFecha_.c_str(), __LINE__);
  return saida();
}

namespace {
const char kLimpo[] = "Limpar posi\xE7\xF5" "es da mem\xF3ria OK.";
const char kConteudo[] = "Conteudo do codigo de barras armazenado.";
constexpr bool kAntes = true;    // content line before the search
constexpr bool kSucesso = false; // content line on success
}  // namespace

// clang-format off
CodebarEan13::CodebarEan13() : CodebarGsK({"CodebarEan13", "<ean13>", "</ean13>", 7, 8,
    0x43, 15, 12, 13,
    {"Codebar Ean13: Iniciando", kLimpo, nullptr}, kConteudo, kSucesso,
    "Retornando bytes.",
    "Codebar Ean13: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Ean13: Par\xE2metro inv\xE1lido.",
    "retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarEan8::CodebarEan8() : CodebarGsK({"CodebarEan8", "<ean8>", "</ean8>", 6, 7,
    0x44, 10, 7, 8,
    {"Codebar Ean8: Iniciando", kLimpo, nullptr},
    "Codebar Ean8: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Ean8: Retornando bytes.",
    "Codebar Ean8: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Ean8: Par\xE2metro inv\xE1lido.",
    "Codebar Ean8: retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarUpca::CodebarUpca() : CodebarGsK({"CodebarUpca", "<upc-a>", "</upc-a>", 7, 8,
    0x41, 15, 11, 13,
    {"Codebar Upca: Iniciando", kLimpo, nullptr}, nullptr, kAntes,
    "Codebar Upca: Retornando bytes.",
    "Codebar Upca: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Upca: Par\xE2metro inv\xE1lido.",
    "Codebar Upca: retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCode39::CodebarCode39() : CodebarGsK({"CodebarCode39", "<code39>", "</code39>", 8, 9,
    0x45, 257, 1, 255,
    {"Codebar Code39: Iniciando", kLimpo, nullptr}, nullptr, kAntes,
    "Codebar Code39: Retornando bytes.",
    "Codebar Code39: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code39: Par\xE2metro inv\xE1lido.",
    "Codebar Code39: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCode93::CodebarCode93() : CodebarGsK({"CodebarCode93", "<code93>", "</code93>", 8, 9,
    0x48, 257, 1, 255,
    {"Codebar Code93: Iniciando", kLimpo, nullptr},
    "Codebar Code93: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Code93: Retornando bytes.",
    "Codebar Code93: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code93: Par\xE2metro inv\xE1lido.",
    "Codebar Code93: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCodabar::CodebarCodabar() : CodebarGsK({"CodebarCodabar", "<codabar>", "</codabar>", 9, 10,
    0x47, 257, 1, 255,
    {"Codebar Codabar: Iniciando", "Codebar Codabar: Limpar posi\xE7\xF5" "es da mem\xF3ria OK.",
     nullptr},
    "Codebar Codabar: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Codabar: Retornando bytes.",
    "Codebar Codabar: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Codabar: Par\xE2metro inv\xE1lido.",
    "Codebar Codabar: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarCode128::CodebarCode128() : CodebarGsK({"CodebarCode128", "<code128>", "</code128>", 9, 10,
    0x49, 257, 2, 255,
    {"Codebar Code128: Iniciando.", "Iniciando",
     "Codebar Code128: Limpar posi\xE7\xF5" "es da mem\xF3ria OK."},
    "Codebar Code128: Conteudo do codigo de barras armazenado.", kAntes,
    "Codebar Code128: Retornando bytes.",
    "Codebar Code128: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code128: Par\xE2metro inv\xE1lido.",
    "Codebar Code128: Retornando tamanho = 0 e bytes = 0 ."}) {}

CodebarItf::CodebarItf() : CodebarGsK({"CodebarItf", "<i2of5>", "</i2of5>", 7, 8,
    0x46, 257, 1, 255,
    {"Codebar ITF: Iniciando", kLimpo, nullptr}, kConteudo, kAntes,
    "Retornando bytes.",
    "Codebar ift: N\xE3o h\xE1 dados em SetBytesCb.",
    "Par\xE2metro inv\xE1lido.",
    "retornando tamanho = 0 e bytes = 0 ."}) {}
// clang-format on
