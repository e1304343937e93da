// Exports.cpp - the fifteen functions an application calls. Each one that
// reaches the printer, the configuration or the log runs whole under the
// library's lock (CallLock.h), whatever thread calls it.
#define TQ587_BUILDING 1
#include "tq587.h"

#include "api/CallLock.h"
#include "api/Setters.h"
#include "common/EscPos.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "image/ImagemColor.h"
#include "image/ImagemPB.h"
#include "log/Log.h"
#include "text/ImprimeTexto.h"

namespace {

// The body of the five placeholders: no argument is read, nothing is done.
// They touch nothing the other calls share, so they do not wait for them.
int placeholder() { return TQ587_NOT_DONE; }

}  // namespace

extern "C" {

TQ587_API int TQ587_CALL TQ587_eBuscarPortaVelocidade(void) {
  const tq587::CallLock lock;
  static const char* const kWhere = "TQ587_eBuscarPortaVelocidade";
  tq587::log("inicio: TQ587_eBuscarPortaVelocidade", LOG_INFO, kWhere, __LINE__);
  PrinterController& controller = PrinterController::getInstance();
  if (controller.connected()) {
    tq587::log("Impressora j\xE1 conectada. Retornando 1...", LOG_DEBUG, kWhere, __LINE__);
    return TQ587_DONE;
  }
  return controller.connect() == 1 ? TQ587_DONE : TQ587_NOT_DONE;
}

TQ587_API int TQ587_CALL TQ587_fecharPorta(void) {
  const tq587::CallLock lock;
  // no pipe, or the pipe closed: done; a close that failed: not done
  return PrinterController::getInstance().disconnect() == 1 ? TQ587_DONE : TQ587_NOT_DONE;
}

TQ587_API int TQ587_CALL TQ587_iAcionarGaveta(void) {
  const tq587::CallLock lock;
  // ESC p 0 150 255, whatever the drawer mode stored.
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return TQ587_NOT_DONE;
  constexpr int32_t kLength = sizeof escpos::kDrawerKick;
  return pipe->write(escpos::kDrawerKick, kLength) == kLength ? TQ587_DONE : TQ587_NOT_DONE;
}

TQ587_API int TQ587_CALL TQ587_iImprimirTexto(const char* text, int n) {
  const tq587::CallLock lock;
  if (!text) return TQ587_INVALID_PARAMETER;
  // The character table follows the stored setting before every text; how
  // that goes does not stop the print.
  const char codePage[2] = {MasterController::getInstance().config().autoCodePage, '\0'};
  regCodePageAutomatico(codePage);
  ImprimeTexto engine;
  return engine.tratarTexto(text, n);
}

TQ587_API int TQ587_CALL TQ587_iImprimirBMP(const char* fileName) {
  const tq587::CallLock lock;
  if (!fileName) return TQ587_NOT_A_BMP;
  return ImagemPB::imprimeBitmap(fileName);
}

TQ587_API int TQ587_CALL TQ587_iImprimirImagem(const char* fileName) {
  const tq587::CallLock lock;
  if (!fileName) return TQ587_NOT_A_BMP;
  return ImagemColor::imprimeBitmapColor(fileName);
}

TQ587_API int TQ587_CALL TQ587_regCodePageAutomatico(const char* value) {
  const tq587::CallLock lock;
  return value ? regCodePageAutomatico(value) : TQ587_INVALID_PARAMETER;
}

TQ587_API int TQ587_CALL TQ587_regEnterFinal(const char* value) {
  const tq587::CallLock lock;
  return value ? regEnterFinal(value) : TQ587_INVALID_PARAMETER;
}

TQ587_API int TQ587_CALL TQ587_regModoGaveta(const char* value) {
  const tq587::CallLock lock;
  return value ? regModoGaveta(value) : TQ587_INVALID_PARAMETER;
}

TQ587_API int TQ587_CALL TQ587_regTabulacao(const char* value) {
  const tq587::CallLock lock;
  return value ? regTabulacao(value) : TQ587_INVALID_PARAMETER;
}

TQ587_API int TQ587_CALL TQ587_iConfigurarGuilhotina() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_rConsultaStatusImpressora() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_regLinhasGuilhotina() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_regPortaComunicacao() { return placeholder(); }
TQ587_API int TQ587_CALL TQ587_regVelocidade() { return placeholder(); }

}  // extern "C"
