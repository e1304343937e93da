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
constexpr int kTamanhoAbertura = 6;
constexpr int kTamanhoFechamento = 7;
const uint8_t kImpresso[] = {'1', 0};
}  // namespace

Tag_ibmp::Tag_ibmp()
    : TagParametro("Tag_ibmp", "<ibmp>", "</ibmp>", kTamanhoAbertura, kTamanhoFechamento,
                   nullptr),
      transmissao_(new uint8_t[kTamanhoTransmissao]()) {}

void Tag_ibmp::extrairConteudo() {
  if (tamanhoAbertura_ != kTamanhoAbertura) return;
  const char* aberta = std::strstr(copia(), abertura_);  // the copy ends with a zero
  if (!aberta) return;
  std::memset(conteudo(), 0, kTamanhoConteudo);
  excedeu_ = false;
  // <ibmp></ibmp> and a text ending right after <ibmp> leave the path empty.
  int tamanhoCaminho = 0;
  for (const char* c = aberta + kTamanhoAbertura;
       *c != '\0' && !encontrou(c, fechamento_, kTamanhoFechamento) && !excedeu_; ++c) {
    tomar(*c, tamanhoCaminho);  // a path of 320 characters or more: "-99" at the open tag
  }
}

const uint8_t* Tag_ibmp::getBytes() {
  log("Inicio getBytes 1", LOG_DEBUG, "Tag_ibmp::getBytes", __LINE__);
  if (excedeu_) return invalido();
  limparSaida(tamanho_);
  log("Fim getBytes 1", LOG_DEBUG, "Tag_ibmp::getBytes", __LINE__);
  return saida();
}

const uint8_t* Tag_ibmp::getBytes2() {
  static const char* const kOnde = "Tag_ibmp::getBytes2";
  definirTamanhos(kTamanhoAbertura, kTamanhoFechamento);
  log("Inicio getBytes 2", LOG_DEBUG, kOnde, __LINE__);
  auto falhaAoAbrir = [this] {
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
  std::memcpy(transmissao_.get(), comando.data(), comando.size());
  tamanho_ = static_cast<int>(comando.size());
  // The picture goes out here, in one write whose result is not looked at.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(transmissao_.get(), tamanho_);
  }
  tamanho_ = 0;
  return kImpresso;
}
