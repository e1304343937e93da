// ImpressaoImagem.cpp - prints a BMP file as one raster command.
#include "image/ImpressaoImagem.h"

#include "connection/PrinterController.h"
#include "log/Log.h"
#include "tq587.h"

int imprimirImagem(const char* arquivo, FazerMascara fazerMascara, const char* where) {
  if (!PrinterController::getInstance().ensureConnected()) return TQ587_NOT_DONE;

  auto falha = [where] {
    log("ImagemPB: Falha ao abrir arquivo de imagem.", LOG_DEBUG, where, __LINE__);
    return TQ587_NOT_A_BMP;
  };
  BMP imagem;
  if (!imagem.open(arquivo)) return falha();
  if (imagem.width() < kMenorLadoImpresso || imagem.height() < kMenorLadoImpresso) {
    return TQ587_NOT_DONE;
  }
  if (!imagem.readPixels()) return falha();

  const std::vector<uint8_t> comando = gerarRaster(fazerMascara(imagem));

  // The whole picture in one write; its result is not looked at.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(comando.data(), static_cast<int32_t>(comando.size()));
  }
  return TQ587_DONE;
}
