// ImprimeTexto.cpp - the text loop and the tag parser, over one object per
// row of the tag table.
#include "text/ImprimeTexto.h"

#include <algorithm>
#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "text/Tags.h"
#include "tq587.h"

namespace {

bool comecaCom(const char* texto, const char* prefixo) {
  return std::strncmp(texto, prefixo, std::strlen(prefixo)) == 0;
}

// The error markers a tag may answer, the text's result for each and the
// line the parser logs.
struct Marcador {
  const char* texto;
  int resultado;
  const char* mensagem;
};
const Marcador kMarcadores[] = {
    {kMarcadorAtualizacao, TQ587_UPDATE_ERROR,
     "Erro de atualiza\xE7\xE3o de chave, n\xE3o foi poss\xEDvel enviar o m\xE9todo."},
    {kMarcadorInvalido, TQ587_INVALID_PARAMETER, "Parametro inv\xE1lido."},
    {kMarcadorComunicacao, TQ587_NOT_DONE,
     "Erro de comunica\xE7\xE3o, n\xE3o foi poss\xEDvel enviar o m\xE9todo."},
    {kMarcadorErroGenerico, TQ587_GENERIC_ERROR,
     "Erro gen\xE9rico, n\xE3o foi poss\xEDvel enviar o m\xE9todo."},
};

// Whether the n bytes, read as a text ending at their first zero, are the
// marker.
bool ehMarcador(const uint8_t* bytes, int n, const char* marcador) {
  const int m = static_cast<int>(std::strlen(marcador));
  return n >= m && std::memcmp(bytes, marcador, static_cast<std::size_t>(m)) == 0 &&
         (n == m || bytes[m] == 0);
}

// A text that opens with a tag of kComecaLinha starts its first line itself.
bool comecaLinha(const char* texto) {
  for (const IdentidadeTag& tag : tags::kTabela) {
    if (tag.tem(kComecaLinha) && comecaCom(texto, tag.abertura)) return true;
  }
  return false;
}

bool enterAutomatico() { return MasterController::getInstance().config().enterAutomatico == '1'; }

}  // namespace

ImprimeTexto::ImprimeTexto() {
  tabela_.reserve(std::size(tags::kTabela));
  for (const IdentidadeTag& linha : tags::kTabela) {
    tabela_.push_back(linha.criar(linha));
    if (linha.tem(kParametro)) comParametro_.push_back(tabela_.back().get());
  }
}

ImprimeTexto::~ImprimeTexto() = default;

int ImprimeTexto::tratarTexto(const char* texto, int n) {
  static const char* const kOnde = "ImprimeTexto::tratarTexto";
  if (!texto || texto[0] == '\0') return TQ587_INVALID_PARAMETER;
  log("Iniciando a impress\xE3o do texto...", LOG_INFO, kOnde, __LINE__);

  PrinterController& controlador = PrinterController::getInstance();
  if (!controlador.ensureConnected()) return TQ587_NOT_DONE;

  const bool medindo = n == 0;
  const std::size_t tamanho = std::strlen(texto);
  if (medindo && tamanho > kMaxCaracteres) {
    log("Par\xE2metro inv\xE1lido. Mais de 2000 caracteres.", LOG_ERROR, kOnde, __LINE__);
    return TQ587_INVALID_PARAMETER;
  }
  if (!medindo && n > kMaxCaracteres) {
    log("Par\xE2metro invalido. Quantidade de caracteres maior que 2000.", LOG_ERROR, kOnde,
        __LINE__);
    return TQ587_INVALID_PARAMETER;
  }

  texto_ = texto;
  for (ProtocolGeneric* tag : comParametro_) tag->prepararTexto(texto, static_cast<int>(tamanho));

  int ultimaEscrita = 0;
  for (std::size_t i = 0; i < tamanho;) {
    const unsigned char c = static_cast<unsigned char>(texto[i]);
    if (c == '<') {
      if (i == 0 && comecaLinha(texto)) precisaQuebraLinha = false;
      const int passo = convertTag(texto + i);
      if (passo < 0) return passo;
      if (passo == 0) return pararTexto(medindo, ultimaEscrita);
      i += static_cast<std::size_t>(passo);
    } else if (c >= 0x20 || c == escpos::LF || c == '\r') {
      AbstractCommunicationPipe* pipe = controlador.reachPipe();
      const int resultado =
          pipe ? pipe->write(reinterpret_cast<const uint8_t*>(texto + i), 1) : 0;
      if (medindo) ultimaEscrita = resultado;
      if (resultado == 0) {
        log("N\xE3o foi poss\xEDvel enviar o caractere para a impress\xE3o. Var Res = 0x00",
            LOG_ERROR, kOnde, __LINE__);
        return TQ587_NOT_DONE;
      }
      ++i;
    } else {
      // Raw control bytes (tab and escape among them) are not the caller's
      // to send: the tags are.
      log("N\xE3o permitido enviar comandos.", LOG_ERROR, kOnde, __LINE__);
      ++i;
    }
  }
  return terminarTexto(medindo);
}

int ImprimeTexto::terminarTexto(bool medindo) {
  MasterController::getInstance().carregarConfiguracao();
  if (!enterAutomatico()) return TQ587_DONE;
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return TQ587_NOT_DONE;
  const int resultado = pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
  if (medindo) return resultado > 0 ? TQ587_DONE : TQ587_NOT_DONE;
  return resultado == 0 ? TQ587_NOT_DONE : TQ587_DONE;
}

int ImprimeTexto::pararTexto(bool medindo, int ultimaEscrita) {
  if (!medindo) {
    // The record in memory decides; a failed line feed does not change the result.
    if (!enterAutomatico()) return TQ587_DONE;
    AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
    if (pipe) pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
    return TQ587_DONE;
  }
  MasterController::getInstance().carregarConfiguracao();
  if (enterAutomatico()) {
    AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
    if (!pipe) return TQ587_NOT_DONE;
    ultimaEscrita = pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
  }
  return ultimaEscrita > 0 ? TQ587_DONE : TQ587_NOT_DONE;
}

int ImprimeTexto::convertTag(const char* posicao) {
  static const char* const kOnde = "ImprimeTexto::convertTag";
  log("Iniciando tratamento de tag.", LOG_INFO, kOnde, __LINE__);

  // Refresh the tags that read a parameter out of the text.
  const int lugar = static_cast<int>(posicao - texto_);
  for (ProtocolGeneric* tag : comParametro_) tag->atualizar(posicao, lugar);

  textoTagAtual = posicao;
  log("Inicio da string armazenado.", LOG_DEBUG, kOnde, __LINE__);

  for (const std::unique_ptr<ProtocolGeneric>& tag : tabela_) {
    if (comecaCom(posicao, tag->textoAbertura())) {
      const uint8_t* bytes = tag->getBytes();
      log("mybytes recebido", LOG_DEBUG, kOnde, __LINE__);
      const int tamanho = tag->getTamanho();
      log("tamanho recebido", LOG_DEBUG, kOnde, __LINE__);
      // The open length is read after getBytes: a tag that took its content
      // has lengthened it.
      return enviarTag(bytes, tamanho, tag->tamanhoAbertura());
    }
    if (comecaCom(posicao, tag->textoFechamento())) {
      const uint8_t* bytes = tag->getBytes2();
      log("mybytes recebido", LOG_DEBUG, kOnde, __LINE__);
      const int tamanho = tag->getTamanho();
      log("tamanho recebido", LOG_DEBUG, kOnde, __LINE__);
      return enviarTag(bytes, tamanho, tag->tamanhoFechamento());
    }
  }

  // No tag starts here: the '<' is an ordinary character.
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return 0;
  if (pipe->write(reinterpret_cast<const uint8_t*>(posicao), 1) == 0) return 0;
  log("N\xE3o encontrou Tag, string enviada.", LOG_INFO, kOnde, __LINE__);
  return 1;
}

int ImprimeTexto::enviarTag(const uint8_t* bytes, int tamanho, int passo) {
  static const char* const kOnde = "ImprimeTexto::convertTag";
  static const uint8_t kNada = 0;
  // A tag that sent its output itself answers nothing; one command goes
  // out in at most one work buffer.
  const int n = bytes ? std::clamp(tamanho, 0, kTamanhoTrabalho - 1) : 0;
  if (!bytes) bytes = &kNada;
  log("c\xF3pia efetuada com sucesso.", LOG_DEBUG, kOnde, __LINE__);

  for (const Marcador& marcador : kMarcadores) {
    if (ehMarcador(bytes, n, marcador.texto)) {
      log(marcador.mensagem, LOG_ERROR, kOnde, __LINE__);
      return marcador.resultado;
    }
  }

  // Unreachable printer: the bytes are dropped, the tag counts as handled.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(bytes, n);
  }
  log("M\xE9todo enviado.", LOG_INFO, kOnde, __LINE__);
  return passo;
}
