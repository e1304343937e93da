// CodebarMudo.cpp - the barcode tags that send nothing.
#include "text/barcode/CodebarMudo.h"

#include "log/Log.h"

const uint8_t* CodebarMudo::getBytes() {
  restaurarTamanhos();
  limparSaida(5);
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

// clang-format off
CodebarCode11::CodebarCode11() : CodebarMudo(tags::kCodebarCode11, {
    {{LOG_INFO, "Codebar code11: aCoderregando os bytes \xE0 enviar."},
     {LOG_DEBUG, "Codebar code11: Retornando bytes."}, {0, nullptr}, {0, nullptr}},
    "Codebar code11: Retornando bytes."}) {}

CodebarMsi::CodebarMsi() : CodebarMudo(tags::kCodebarMsi, {
    {{LOG_DEBUG, "Codebar Msi: Iniciando.."},
     {LOG_DEBUG, "Codebar Msi: Limpar posi\xE7\xF5" "es da mem\xF3ria OK."},
     {LOG_INFO, "Codebar Msi: Carregando os bytes \xE0 enviar."},
     {LOG_DEBUG, "Retornando bytes."}},
    "Retornando bytes."}) {}

CodebarS2of5::CodebarS2of5() : CodebarMudo(tags::kCodebarS2of5, {
    {{LOG_DEBUG, "Codebar S2of5: Iniciando"},
     {LOG_DEBUG, "Limpar posi\xE7\xF5" "es da mem\xF3ria OK."},
     {LOG_DEBUG, "Retornando bytes."}, {0, nullptr}},
    " retornando tamanho = 0 e bytes = 0 ."}) {}
// clang-format on
