// Barcode2D.cpp - QR code and PDF417: each a list of commands walked by
// one loop.
#include "text/barcode/Barcode2D.h"

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "log/Log.h"

namespace {

using P = SymbolStep;

constexpr auto kClearedPdf = memoryCleared("PDF417: ");
// The module size of a record that holds no TAMANHO_QRCODE (0: a file read
// without the key, or none read yet). Not the default a new file is written
// with (kDefaultQrModuleSize).
constexpr int kModuleWithoutSize = 3;

const SymbolStep kQrSteps[] = {
    {P::kFixed, escpos::kQrModel2, "Modelo do Qrcode Selecionado."},
    {P::kModuleSize, kNoCommand, "Tamanho do Qrcode Selecionado."},
    {P::kFixed, escpos::kQrErrorLevelL, "N\xEDvel de Corre\xE7\xE3o do Qrcode Selecionado."},
    {P::kData, kNoCommand, "Dados do Qrcode Armazenados no Buffer."},
    {P::kFixed, escpos::kQrPrint, "Bytes do Qrcode Ok."},
};

const SymbolStep kPdfSteps[] = {
    {P::kFixed, escpos::kPdfColumnsAuto,
     "PDF417: Numero de colunas proporcional aos dados definido."},
    {P::kFixed, escpos::kPdfRowsAuto, "PDF417: Numero de linhas proporcional aos dados definido."},
    {P::kFixed, escpos::kPdfModuleWidth3, "PDF417: Largura padr\xE3o definida."},
    {P::kFixed, escpos::kPdfRowHeight3, "PDF417: Largura padr\xE3o definida."},
    {P::kFixed, escpos::kPdfErrorRatio1, "PDF417: N\xEDvel de corre\xE7\xE3o padr\xE3o definida."},
    {P::kData, kNoCommand, "PDF417: Dados Armazenados no Buffer."},
    {P::kFixed, escpos::kPdfPrint, "PDF417: Bytes Ok."},
};

}  // namespace

const uint8_t* Barcode2D::readContent() {
  const Barcode2DDefinition& d = definition_;
  tq587::log(d.start, LOG_DEBUG, whereOpen(), __LINE__);
  restoreLengths();
  contentLength_ = 0;
  content_ = nullptr;
  clearOutput(kClearedStart);
  tq587::log(d.cleared, LOG_DEBUG, whereOpen(), __LINE__);
  if (!currentTagText) {
    tq587::log(d.noData, LOG_ERROR, whereOpen(), __LINE__);
    return genericError();
  }
  content_ = currentTagText + row().openLength;
  const int k = measureContent(content_, kMaxContent + 1);
  if (k < 1) {  // empty, too long, or no close tag
    tq587::log(d.invalid, LOG_ERROR, whereOpen(), __LINE__);
    return invalid();
  }
  contentLength_ = k;
  return nullptr;
}

const uint8_t* Barcode2D::getBytes() {
  const Barcode2DDefinition& d = definition_;
  MasterController& master = MasterController::getInstance();
  // The module size of this symbol; a change of the file counts from the
  // next one. Only its low byte is sent.
  const int configured = master.config().qrModuleSize;
  const int moduleSize = configured == 0 ? kModuleWithoutSize : configured;
  if (const uint8_t* error = readContent()) return error;
  if (d.contentLine) tq587::log(d.contentLine, LOG_DEBUG, whereOpen(), __LINE__);
  if (d.reloadsConfiguration) master.load();

  for (int i = 0; i < d.stepCount; ++i) {
    const SymbolStep& step = d.steps[i];
    switch (step.kind) {
      case SymbolStep::kFixed:
        append(step.command);
        break;
      case SymbolStep::kModuleSize:
        append(escpos::qrModuleSize(escpos::lowByte(static_cast<uint32_t>(moduleSize))));
        break;
      case SymbolStep::kData:
        append(escpos::symbolStore(d.cn, static_cast<uint32_t>(contentLength_)));
        append(reinterpret_cast<const uint8_t*>(content_), contentLength_);
        break;
    }
    tq587::log(step.log, LOG_DEBUG, whereOpen(), __LINE__);
  }
  coverContent(contentLength_);
  tq587::log(d.returning, LOG_DEBUG, whereOpen(), __LINE__);
  return output();
}

CodebarQrcode::CodebarQrcode(const TagRow& row)
    : Barcode2D(row, {escpos::kQrCode, "Qrcode: Iniciando", kMemoryCleared,
                      "N\xE3o h\xE1 dados em SetBytesCb.", "Qrcode: Par\xE2metro inv\xE1lido.",
                      "Conteudo do Qrcode armazenado.", "Qrcode: Retornando bytes.",
                      " CodebarQrcode::getBytes2() - retornando tamanho = 0 e bytes = 0 .", true,
                      kQrSteps, sizeof kQrSteps / sizeof kQrSteps[0]}) {}

CodebarPdf::CodebarPdf(const TagRow& row)
    : Barcode2D(row, {escpos::kPdf417, "PDF417: Iniciando", kClearedPdf.data(),
                      "PDF417: N\xE3o h\xE1 dados em SetBytesCb.",
                      "PDF417: Par\xE2metro inv\xE1lido.", nullptr, "PDF417: Retornando bytes.",
                      " CodebarPdf::getBytes2() - retornando tamanho = 0 e bytes = 0 .", false,
                      kPdfSteps, sizeof kPdfSteps / sizeof kPdfSteps[0]}) {}
