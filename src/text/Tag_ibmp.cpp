// Tag_ibmp.cpp - the inline picture tag: the same threshold and raster
// command as a monochrome picture printed on its own.
#include "text/Tag_ibmp.h"

#include <cstring>
#include <vector>

#include "connection/PrinterController.h"
#include "image/BMP.h"
#include "image/Raster.h"
#include "log/Log.h"

namespace {
const uint8_t kImpresso[] = {'1', 0};
}  // namespace

Tag_ibmp::Tag_ibmp(const IdentidadeTag& identidade) : TagParametro(identidade, nullptr) {}

void Tag_ibmp::extrairConteudo(int inicio, int fim) {
  const int abertura = identidade().tamanhoAbertura;
  if (tamanhoAbertura_ != abertura) return;
  const int aberta = proximaAbertura(inicio, fim - abertura);
  if (aberta < 0) return;
  std::memset(conteudo(), 0, kTamanhoConteudo);
  excedeu_ = false;
  // <ibmp></ibmp> and a text ending right after <ibmp> leave the path empty;
  // a path of 320 characters or more makes the open tag answer "-99".
  const int fecha = proximoFechamento(aberta + abertura, fim - tamanhoFechamento_);
  int tamanhoCaminho = 0;
  tomar(aberta + abertura, fecha >= 0 ? fecha : fim, tamanhoCaminho);
}

const uint8_t* Tag_ibmp::getBytes() {
  log("Inicio getBytes 1", LOG_DEBUG, ondeAbre(), __LINE__);
  if (excedeu_) return invalido();
  limparSaida(tamanho_);
  log("Fim getBytes 1", LOG_DEBUG, ondeAbre(), __LINE__);
  return saida();
}

const uint8_t* Tag_ibmp::getBytes2() {
  const char* const kOnde = ondeFecha();
  restaurarTamanhos();
  log("Inicio getBytes 2", LOG_DEBUG, kOnde, __LINE__);
  auto falhaAoAbrir = [this, kOnde] {
    log("Falha ao abrir arquivo de imagem.", LOG_DEBUG, kOnde, __LINE__);
    return erroGenerico();
  };

  BMP imagem;
  if (!imagem.open(caminho())) return falhaAoAbrir();
  if (imagem.width() < kMenorLadoImpresso || imagem.height() < kMenorLadoImpresso) {
    return nullptr;
  }
  // The size of the command is known from the header: a picture too large
  // for the transmit buffer is refused before its pixels are read.
  if (tamanhoRaster(imagem.width(), imagem.height()) > static_cast<size_t>(kTamanhoTransmissao)) {
    log("Imagem maior que o buffer de transmiss\xE3o.", LOG_DEBUG, kOnde, __LINE__);
    return erroGenerico();
  }
  if (!imagem.readPixels()) return falhaAoAbrir();

  const std::vector<uint8_t> comando = gerarRaster(mascaraLimiar(imagem));
  // The picture goes out here, in one write whose result is not looked at.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(comando.data(), static_cast<int32_t>(comando.size()));
  }
  tamanho_ = 0;
  return kImpresso;
}
