// Exports.cpp - the fifteen functions an application calls.
#define TQ587_BUILDING 1
#include "tq587.h"

#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "config/Setters.h"
#include "connection/PrinterController.h"
#include "image/ImagemColor.h"
#include "image/ImagemPB.h"
#include "log/Log.h"
#include "text/ImprimeTexto.h"

namespace {

constexpr int kInvalid = -99;
constexpr int kNotBmp = -8;
constexpr size_t kTabulacaoMax = 19;

// The body of the five placeholders: no argument is read, nothing is done.
int placeholder() { return 0; }

}  // namespace

extern "C" {

TQ587_API int TQ587_CALL TQ587_eBuscarPortaVelocidade(void) {
  static const char* const kWhere = "TQ587_eBuscarPortaVelocidade";
  log("inicio: TQ587_eBuscarPortaVelocidade", LOG_INFO, kWhere, __LINE__);
  PrinterController& controller = PrinterController::getInstance();
  if (controller.connected()) {
    log("Impressora j\xE1 conectada. Retornando 1...", LOG_DEBUG, kWhere, __LINE__);
    return 1;
  }
  return controller.connect();
}

TQ587_API int TQ587_CALL TQ587_fecharPorta(void) {
  return PrinterController::getInstance().disconnect();
}

TQ587_API int TQ587_CALL TQ587_iAcionarGaveta(void) {
  // ESC p 0 150 255, whatever the drawer mode stored.
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return 0;
  constexpr int32_t kLength = sizeof escpos::kDrawerKick;
  return pipe->write(escpos::kDrawerKick, kLength) == kLength ? 1 : 0;
}

TQ587_API int TQ587_CALL TQ587_iImprimirTexto(const char* texto, int n) {
  if (!texto) return kInvalid;
  // The character table follows the stored setting before every text; how
  // that goes does not stop the print.
  const char codePage[2] = {MasterController::getInstance().config().codePageAutomatico, '\0'};
  regCodePageAutomatico(codePage);
  ImprimeTexto engine;
  return engine.tratarTexto(texto, n);
}

TQ587_API int TQ587_CALL TQ587_iImprimirBMP(const char* arquivo) {
  if (!arquivo) return kNotBmp;
  return ImagemPB::imprimeBitmap(arquivo);
}

TQ587_API int TQ587_CALL TQ587_iImprimirImagem(const char* arquivo) {
  if (!arquivo) return kNotBmp;
  return ImagemColor::imprimeBitmapColor(arquivo);
}

TQ587_API int TQ587_CALL TQ587_regCodePageAutomatico(const char* valor) {
  return valor ? regCodePageAutomatico(valor) : kInvalid;
}

TQ587_API int TQ587_CALL TQ587_regEnterFinal(const char* valor) {
  return valor ? regEnterFinal(valor) : kInvalid;
}

TQ587_API int TQ587_CALL TQ587_regModoGaveta(const char* valor) {
  return valor ? regModoGaveta(valor) : kInvalid;
}

TQ587_API int TQ587_CALL TQ587_regTabulacao(const char* valor) {
  // Longer than 19 characters: refused before anything is read or written.
  if (!valor || strnlen(valor, kTabulacaoMax + 1) > kTabulacaoMax) return kInvalid;
  return regTabulacao(valor);
}

TQ587_API int TQ587_CALL TQ587_iConfigurarGuilhotina() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_rConsultaStatusImpressora() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_regLinhasGuilhotina() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_regPortaComunicacao() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_regVelocidade() { return placeholder(); }

}  // extern "C"
