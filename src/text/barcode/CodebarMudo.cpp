// CodebarMudo.cpp - the barcode tags that send nothing.
#include "text/barcode/CodebarMudo.h"

#include "log/Log.h"

const uint8_t* CodebarMudo::getBytes() {
  restaurarTamanhos();
  limparSaida(kInicioLimpo);
  for (const DefinicaoCodebarMudo::Linha& linha : definicao_.abre) {
    if (!linha.texto) break;
    log(linha.texto, linha.nivel, ondeAbre(), __LINE__);
  }
  return saida();
}

const uint8_t* CodebarMudo::getBytes2() {
  restaurarTamanhos();
  tamanho_ = 0;
  log(definicao_.fecha, LOG_DEBUG, ondeFecha(), __LINE__);
  return saida();
}

namespace {
constexpr auto kLimpoMsi = memoriaLimpa("Codebar Msi: ");
}  // namespace

// clang-format off
CodebarCode11::CodebarCode11(const IdentidadeTag& i) : CodebarMudo(i, {
    {{LOG_INFO, "Codebar code11: aCoderregando os bytes \xE0 enviar."},
     {LOG_DEBUG, "Codebar code11: Retornando bytes."}, {0, nullptr}, {0, nullptr}},
    "Codebar code11: Retornando bytes."}) {}

CodebarMsi::CodebarMsi(const IdentidadeTag& i) : CodebarMudo(i, {
    {{LOG_DEBUG, "Codebar Msi: Iniciando.."},
     {LOG_DEBUG, kLimpoMsi.data()},
     {LOG_INFO, "Codebar Msi: Carregando os bytes \xE0 enviar."},
     {LOG_DEBUG, "Retornando bytes."}},
    "Retornando bytes."}) {}

CodebarS2of5::CodebarS2of5(const IdentidadeTag& i) : CodebarMudo(i, {
    {{LOG_DEBUG, "Codebar S2of5: Iniciando"},
     {LOG_DEBUG, kMemoriaLimpa},
     {LOG_DEBUG, "Retornando bytes."}, {0, nullptr}},
    " retornando tamanho = 0 e bytes = 0 ."}) {}
// clang-format on
