// PicturePrinting.cpp - prints a BMP file as one raster command.
#include "image/PicturePrinting.h"

#include "connection/PrinterController.h"
#include "log/Log.h"
#include "tq587.h"

int printPicture(const char* fileName, MaskMaker makeMask, const char* where) {
  if (!PrinterController::getInstance().ensureConnected()) return TQ587_NOT_DONE;

  auto fail = [where] {
    tq587::log("ImagemPB: Falha ao abrir arquivo de imagem.", LOG_DEBUG, where, __LINE__);
    return TQ587_NOT_A_BMP;
  };
  BMP picture;
  if (!picture.open(fileName)) return fail();
  if (picture.width() < kMinPrintedSide || picture.height() < kMinPrintedSide) {
    return TQ587_NOT_DONE;
  }
  if (!picture.readPixels()) return fail();

  const std::vector<uint8_t> command = gerarRaster(makeMask(picture));

  // The whole picture in one write; its result is not looked at.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(command.data(), static_cast<int32_t>(command.size()));
  }
  return TQ587_DONE;
}
