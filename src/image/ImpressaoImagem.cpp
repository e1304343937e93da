// ImpressaoImagem.cpp - prints a BMP file as one raster command.
#include "image/ImpressaoImagem.h"

#include "connection/PrinterController.h"
#include "log/Log.h"

namespace {

constexpr int kArquivoInvalido = -8;

}  // namespace

int imprimirImagem(const char* arquivo, FazerMascara fazerMascara, const char* where) {
  PrinterController& controller = PrinterController::getInstance();
  if (!controller.connected() && controller.connect() == 0) return 0;

  BMP imagem;
  if (!imagem.load(arquivo)) {
    log("ImagemPB: Falha ao abrir arquivo de imagem.", LOG_DEBUG, where, __LINE__);
    return kArquivoInvalido;
  }
  if (imagem.width() < kMenorLadoImpresso || imagem.height() < kMenorLadoImpresso) return 0;

  const std::vector<uint8_t> comando =
      gerarRaster(fazerMascara(imagem), imagem.width(), imagem.height());

  // The whole picture in one write; its result is not looked at.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(comando.data(), static_cast<int32_t>(comando.size()));
  }
  return 1;
}
