// SilentBarcode.cpp - the barcode tags that send nothing.
#include "text/barcode/SilentBarcode.h"

#include "log/Log.h"

const uint8_t* SilentBarcode::getBytes() {
  restoreLengths();
  clearOutput(kClearedStart);
  for (const SilentBarcodeDefinition::Line& line : definition_.openLines) {
    if (!line.text) break;
    tq587::log(line.text, line.level, whereOpen(), __LINE__);
  }
  return output();
}

namespace {
constexpr auto kClearedMsi = memoryCleared("Codebar Msi: ");
}  // namespace

// clang-format off
CodebarCode11::CodebarCode11(const TagRow& row) : SilentBarcode(row, {
    {{LOG_INFO, "Codebar code11: aCoderregando os bytes \xE0 enviar."},
     {LOG_DEBUG, "Codebar code11: Retornando bytes."}, {0, nullptr}, {0, nullptr}},
    "Codebar code11: Retornando bytes."}) {}

CodebarMsi::CodebarMsi(const TagRow& row) : SilentBarcode(row, {
    {{LOG_DEBUG, "Codebar Msi: Iniciando.."},
     {LOG_DEBUG, kClearedMsi.data()},
     {LOG_INFO, "Codebar Msi: Carregando os bytes \xE0 enviar."},
     {LOG_DEBUG, "Retornando bytes."}},
    "Retornando bytes."}) {}

CodebarS2of5::CodebarS2of5(const TagRow& row) : SilentBarcode(row, {
    {{LOG_DEBUG, "Codebar S2of5: Iniciando"},
     {LOG_DEBUG, kMemoryCleared},
     {LOG_DEBUG, "Retornando bytes."}, {0, nullptr}},
    " retornando tamanho = 0 e bytes = 0 ."}) {}
// clang-format on
