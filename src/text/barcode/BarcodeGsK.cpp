// BarcodeGsK.cpp - the GS k barcodes: one worker, and each symbology's
// values and log lines.
#include "text/barcode/BarcodeGsK.h"

#include "common/EscPos.h"
#include "log/Log.h"

const uint8_t* BarcodeGsK::getBytes() {
  const char* where = whereOpen();
  const BarcodeGsKDefinition& d = definition_;
  for (const char* line : d.start) {
    if (!line) break;
    tq587::log(line, LOG_DEBUG, where, __LINE__);
  }
  restoreLengths();
  contentLength_ = 0;
  content_ = nullptr;
  clearOutput(kClearedStart);
  if (!currentTagText) {
    tq587::log(d.noData, LOG_ERROR, where, __LINE__);
    return genericError();
  }
  content_ = currentTagText + row().openLength;
  if (d.contentLine && d.contentLineFirst) tq587::log(d.contentLine, LOG_DEBUG, where, __LINE__);
  contentLength_ = measureContent(content_, d.window);
  if (contentLength_ < d.minLength || contentLength_ > d.maxLength) {
    tq587::log(d.invalid, LOG_ERROR, where, __LINE__);
    return invalid();
  }
  if (d.contentLine && !d.contentLineFirst) tq587::log(d.contentLine, LOG_DEBUG, where, __LINE__);
  // GS k m n d1..dn, the content as it stands.
  append(escpos::barcode(d.m, static_cast<uint8_t>(contentLength_)));
  append(reinterpret_cast<const uint8_t*>(content_), contentLength_);
  coverContent(contentLength_);
  tq587::log(d.returning, LOG_DEBUG, where, __LINE__);
  return output();
}

namespace {

constexpr auto kClearedCodabar = memoryCleared("Codebar Codabar: ");
constexpr auto kClearedCode128 = memoryCleared("Codebar Code128: ");
const char kContentStored[] = "Conteudo do codigo de barras armazenado.";
constexpr bool kLineBeforeSearch = true;  // content line before the search
constexpr bool kLineOnSuccess = false;    // content line on success

// Each symbology's m, the places searched for the close tag, the content
// lengths it takes, and its log lines.
// clang-format off
const BarcodeGsKDefinition kEan13Barcode = {escpos::kEan13, 15, 12, 13,
    {"Codebar Ean13: Iniciando", kMemoryCleared, nullptr}, kContentStored, kLineOnSuccess,
    "Retornando bytes.",
    "Codebar Ean13: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Ean13: Par\xE2metro inv\xE1lido.",
    "retornando tamanho = 0 e bytes = 0 ."};

const BarcodeGsKDefinition kEan8Barcode = {escpos::kEan8, 10, 7, 8,
    {"Codebar Ean8: Iniciando", kMemoryCleared, nullptr},
    "Codebar Ean8: Conteudo do codigo de barras armazenado.", kLineBeforeSearch,
    "Codebar Ean8: Retornando bytes.",
    "Codebar Ean8: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Ean8: Par\xE2metro inv\xE1lido.",
    "Codebar Ean8: retornando tamanho = 0 e bytes = 0 ."};

const BarcodeGsKDefinition kUpcaBarcode = {escpos::kUpcA, 15, 11, 13,
    {"Codebar Upca: Iniciando", kMemoryCleared, nullptr}, nullptr, kLineBeforeSearch,
    "Codebar Upca: Retornando bytes.",
    "Codebar Upca: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Upca: Par\xE2metro inv\xE1lido.",
    "Codebar Upca: retornando tamanho = 0 e bytes = 0 ."};

const BarcodeGsKDefinition kCode39Barcode = {escpos::kCode39, 257, 1, 255,
    {"Codebar Code39: Iniciando", kMemoryCleared, nullptr}, nullptr, kLineBeforeSearch,
    "Codebar Code39: Retornando bytes.",
    "Codebar Code39: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code39: Par\xE2metro inv\xE1lido.",
    "Codebar Code39: Retornando tamanho = 0 e bytes = 0 ."};

const BarcodeGsKDefinition kCode93Barcode = {escpos::kCode93, 257, 1, 255,
    {"Codebar Code93: Iniciando", kMemoryCleared, nullptr},
    "Codebar Code93: Conteudo do codigo de barras armazenado.", kLineBeforeSearch,
    "Codebar Code93: Retornando bytes.",
    "Codebar Code93: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code93: Par\xE2metro inv\xE1lido.",
    "Codebar Code93: Retornando tamanho = 0 e bytes = 0 ."};

const BarcodeGsKDefinition kCodabarBarcode = {escpos::kCodabar, 257, 1, 255,
    {"Codebar Codabar: Iniciando", kClearedCodabar.data(), nullptr},
    "Codebar Codabar: Conteudo do codigo de barras armazenado.", kLineBeforeSearch,
    "Codebar Codabar: Retornando bytes.",
    "Codebar Codabar: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Codabar: Par\xE2metro inv\xE1lido.",
    "Codebar Codabar: Retornando tamanho = 0 e bytes = 0 ."};

const BarcodeGsKDefinition kCode128Barcode = {escpos::kCode128, 257, 2, 255,
    {"Codebar Code128: Iniciando.", "Iniciando", kClearedCode128.data()},
    "Codebar Code128: Conteudo do codigo de barras armazenado.", kLineBeforeSearch,
    "Codebar Code128: Retornando bytes.",
    "Codebar Code128: N\xE3o h\xE1 dados em SetBytesCb.",
    "Codebar Code128: Par\xE2metro inv\xE1lido.",
    "Codebar Code128: Retornando tamanho = 0 e bytes = 0 ."};

const BarcodeGsKDefinition kItfBarcode = {escpos::kItf, 257, 1, 255,
    {"Codebar ITF: Iniciando", kMemoryCleared, nullptr}, kContentStored, kLineBeforeSearch,
    "Retornando bytes.",
    "Codebar ift: N\xE3o h\xE1 dados em SetBytesCb.",
    "Par\xE2metro inv\xE1lido.",
    "retornando tamanho = 0 e bytes = 0 ."};
// clang-format on

}  // namespace

CodebarEan13::CodebarEan13(const TagRow& row) : BarcodeGsK(row, kEan13Barcode) {}
CodebarEan8::CodebarEan8(const TagRow& row) : BarcodeGsK(row, kEan8Barcode) {}
CodebarUpca::CodebarUpca(const TagRow& row) : BarcodeGsK(row, kUpcaBarcode) {}
CodebarCode39::CodebarCode39(const TagRow& row) : BarcodeGsK(row, kCode39Barcode) {}
CodebarCode93::CodebarCode93(const TagRow& row) : BarcodeGsK(row, kCode93Barcode) {}
CodebarCodabar::CodebarCodabar(const TagRow& row) : BarcodeGsK(row, kCodabarBarcode) {}
CodebarCode128::CodebarCode128(const TagRow& row) : BarcodeGsK(row, kCode128Barcode) {}
CodebarItf::CodebarItf(const TagRow& row) : BarcodeGsK(row, kItfBarcode) {}
