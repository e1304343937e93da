// ImprimeTexto.cpp - the text loop, the tag parser and the tag table.
#include "text/ImprimeTexto.h"

#include <algorithm>
#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "text/barcode/CodebarAltura.h"
#include "text/barcode/CodebarGsK.h"
#include "text/barcode/CodebarMudo.h"
#include "text/barcode/CodebarSimbolo.h"
#include "tq587.h"
#include "connection/PrinterController.h"
#include "log/Log.h"

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

bool comecaLinha(const char* texto) {
  for (const IdentidadeTag* tag : tags::kComecamLinha) {
    if (comecaCom(texto, tag->abertura)) return true;
  }
  return false;
}

bool enterAutomatico() { return MasterController::getInstance().config().enterAutomatico == '1'; }

}  // namespace

template <class Tag>
Tag* ImprimeTexto::criar() {
  Tag* tag = new Tag;
  tabela_.emplace_back(tag);
  return tag;
}

ImprimeTexto::ImprimeTexto() {
  // The search order: the first tag whose open or close text starts the
  // text at the '<' is the one converted.
  tabela_.reserve(43);
  criar<CodebarCode11>();
  criar<CodebarS2of5>();
  criar<CodebarMsi>();
  criar<CodebarPdf>();
  criar<CodebarCodabar>();
  criar<Centralizar>();
  criar<Sublinhar>();
  criar<Negrito>();
  tagtc_ = criar<Tagtc>();
  Tag_sp* sp = criar<Tag_sp>();
  criar<CodebarItf>();
  criar<Tag_bm>();
  criar<Tag_gui>();
  criar<Tag_a>();
  criar<Tag_g>();
  TagSN* sn = criar<TagSN>();
  criar<DataAtual>();
  criar<CodebarEan8>();
  Tag_configui* configui = criar<Tag_configui>();
  enterCustom_ = criar<EnterCustom>();
  criar<HoraAtual>();
  criar<CodebarAltura>();
  criar<CodebarEan13>();
  criar<CodebarUpca>();
  criar<CodebarCode93>();
  criar<CodebarCode39>();
  criar<CodebarCode128>();
  criar<CodebarQrcode>();
  Tag_ibmp* ibmp = criar<Tag_ibmp>();
  Tag_cespl* cespl = criar<Tag_cespl>();
  Tag_slm* slm = criar<Tag_slm>();
  Tag_mg* mg = criar<Tag_mg>();
  criar<AlinharDireita>();
  criar<Expandido>();
  criar<Condensado>();
  criar<Normal>();
  criar<ExtraGrande>();
  criar<DuplaAltura>();
  criar<NvBitmap>();
  criar<PularUmaLinha>();
  criar<iDataAtual>();
  criar<iHoraAtual>();
  criar<Tabulacao>();
  parametros_ = {cespl, ibmp, sp, sn, slm, configui, mg};
}

ImprimeTexto::~ImprimeTexto() = default;

int ImprimeTexto::tratarTexto(const char* texto, int n) {
  static const char* const kOnde = "ImprimeTexto::tratarTexto";
  if (!texto || texto[0] == '\0') return TQ587_INVALID_PARAMETER;
  log("Iniciando a impress\xE3o do texto...", LOG_INFO, kOnde, __LINE__);

  PrinterController& controlador = PrinterController::getInstance();
  if (!controlador.connected() && controlador.connect() == 0) return TQ587_NOT_DONE;

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
  for (TagParametro* tag : parametros_) tag->prepararTexto(texto, static_cast<int>(tamanho));

  int ultimaEscrita = 0;
  for (std::size_t i = 0; i < tamanho;) {
    const unsigned char c = static_cast<unsigned char>(texto[i]);
    if (c == '<') {
      // A text that opens with one of these starts its first line itself.
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

  // Refresh the tags that read a parameter out of the text. The pointers
  // after the open text stop at the text's end.
  enterCustom_->SetBytes(posicao + strnlen(posicao, tags::kEnterCustom.tamanhoAbertura));
  tagtc_->SetChar(posicao + strnlen(posicao, static_cast<std::size_t>(tagtc_->tamanhoAbertura())));
  const int lugar = static_cast<int>(posicao - texto_);
  for (TagParametro* tag : parametros_) tag->carregarTexto(lugar);

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
