// ImprimeTexto.cpp - the text loop, the tag parser and the tag table.
#include "text/ImprimeTexto.h"

#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"

namespace {

bool comecaCom(const char* texto, const char* prefixo) {
  return std::strncmp(texto, prefixo, std::strlen(prefixo)) == 0;
}

bool enterAutomatico() { return MasterController::getInstance().config().enterAutomatico == '1'; }

}  // namespace

ImprimeTexto::ImprimeTexto()
    : dataAtual_(new DataAtual),
      tagSN_(new TagSN),
      tagA_(new Tag_a),
      tagG_(new Tag_g),
      tagGui_(new Tag_gui),
      tagSp_(new Tag_sp),
      tagBm_(new Tag_bm),
      tagConfigui_(new Tag_configui),
      horaAtual_(new HoraAtual),
      enterCustom_(new EnterCustom),
      tagtc_(new Tagtc),
      codebarEan13_(new CodebarEan13),
      codebarEan8_(new CodebarEan8),
      codebarAltura_(new CodebarAltura),
      tagIbmp_(new Tag_ibmp),
      codebarUpca_(new CodebarUpca),
      codebarCode93_(new CodebarCode93),
      codebarCode39_(new CodebarCode39),
      codebarCodabar_(new CodebarCodabar),
      codebarCode128_(new CodebarCode128),
      tagCespl_(new Tag_cespl),
      tagSlm_(new Tag_slm),
      tagMg_(new Tag_mg),
      codebarQrcode_(new CodebarQrcode),
      codebarItf_(new CodebarItf),
      centralizar_(new Centralizar),
      alinharDireita_(new AlinharDireita),
      sublinhar_(new Sublinhar),
      negrito_(new Negrito),
      expandido_(new Expandido),
      condensado_(new Condensado),
      normal_(new Normal),
      duplaAltura_(new DuplaAltura),
      extraGrande_(new ExtraGrande),
      nvBitmap_(new NvBitmap),
      pularUmaLinha_(new PularUmaLinha),
      iDataAtual_(new iDataAtual),
      iHoraAtual_(new iHoraAtual),
      codebarCode11_(new CodebarCode11),
      codebarMsi_(new CodebarMsi),
      codebarS2of5_(new CodebarS2of5),
      codebarPdf_(new CodebarPdf),
      tabulacao_(new Tabulacao),
      // The search order: the first tag whose open or close text starts the
      // text at the '<' is the one converted.
      tabela_{codebarCode11_.get(),  codebarS2of5_.get(),  codebarMsi_.get(),
              codebarPdf_.get(),     codebarCodabar_.get(), centralizar_.get(),
              sublinhar_.get(),      negrito_.get(),        tagtc_.get(),
              tagSp_.get(),          codebarItf_.get(),     tagBm_.get(),
              tagGui_.get(),         tagA_.get(),           tagG_.get(),
              tagSN_.get(),          dataAtual_.get(),      codebarEan8_.get(),
              tagConfigui_.get(),    enterCustom_.get(),    horaAtual_.get(),
              codebarAltura_.get(),  codebarEan13_.get(),   codebarUpca_.get(),
              codebarCode93_.get(),  codebarCode39_.get(),  codebarCode128_.get(),
              codebarQrcode_.get(),  tagIbmp_.get(),        tagCespl_.get(),
              tagSlm_.get(),         tagMg_.get(),          alinharDireita_.get(),
              expandido_.get(),      condensado_.get(),     normal_.get(),
              extraGrande_.get(),    duplaAltura_.get(),    nvBitmap_.get(),
              pularUmaLinha_.get(),  iDataAtual_.get(),     iHoraAtual_.get(),
              tabulacao_.get()},
      trabalhoAbertura_(new uint8_t[kTamanhoTrabalho]()),
      trabalhoFechamento_(new uint8_t[kTamanhoTrabalho]()) {}

ImprimeTexto::~ImprimeTexto() = default;

int ImprimeTexto::tratarTexto(const char* texto, int n) {
  static const char* const kOnde = "ImprimeTexto::tratarTexto";
  if (!texto || texto[0] == '\0') return -99;
  log("Iniciando a impress\xE3o do texto...", LOG_INFO, kOnde, __LINE__);

  PrinterController& controlador = PrinterController::getInstance();
  if (!controlador.connected() && controlador.connect() == 0) return 0;

  const bool medindo = n == 0;
  const std::size_t tamanho = std::strlen(texto);
  if (medindo && tamanho > kMaxCaracteres) {
    log("Par\xE2metro inv\xE1lido. Mais de 2000 caracteres.", LOG_ERROR, kOnde, __LINE__);
    return -99;
  }
  if (!medindo && n > kMaxCaracteres) {
    log("Par\xE2metro invalido. Quantidade de caracteres maior que 2000.", LOG_ERROR, kOnde,
        __LINE__);
    return -99;
  }

  int ultimaEscrita = 0;
  for (std::size_t i = 0; i < tamanho;) {
    const unsigned char c = static_cast<unsigned char>(texto[i]);
    if (c == '<') {
      // A text that opens with one of these starts its first line itself.
      if (i == 0 && (comecaCom(texto, "<tc>") || comecaCom(texto, "<ce>") ||
                     comecaCom(texto, "<ad>") || comecaCom(texto, "<mg>"))) {
        precisaQuebraLinha = false;
      }
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
        return 0;
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
  if (!enterAutomatico()) return 1;
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return 0;
  const int resultado = pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
  if (medindo) return resultado > 0 ? 1 : 0;
  return resultado == 0 ? 0 : 1;
}

int ImprimeTexto::pararTexto(bool medindo, int ultimaEscrita) {
  if (!medindo) {
    // The record in memory decides; a failed line feed does not change the result.
    if (!enterAutomatico()) return 1;
    AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
    if (pipe) pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
    return 1;
  }
  MasterController::getInstance().carregarConfiguracao();
  if (enterAutomatico()) {
    AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
    if (!pipe) return 0;
    ultimaEscrita = pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
  }
  return ultimaEscrita > 0 ? 1 : 0;
}

int ImprimeTexto::convertTag(const char* posicao) {
  static const char* const kOnde = "ImprimeTexto::convertTag";
  log("Iniciando tratamento de tag.", LOG_INFO, kOnde, __LINE__);

  // Refresh the tags that read a parameter out of the text. The pointers
  // after the open text stop at the text's end.
  enterCustom_->SetBytes(posicao + strnlen(posicao, 4));
  tagtc_->SetChar(posicao + strnlen(posicao, static_cast<std::size_t>(tagtc_->tamanhoAbertura())));
  tagCespl_->carregarTexto(posicao);
  tagIbmp_->carregarTexto(posicao);
  tagSp_->carregarTexto(posicao);
  tagSN_->carregarTexto(posicao);
  tagSlm_->setTexto(posicao);
  tagConfigui_->carregarTexto(posicao);
  tagMg_->carregarTexto(posicao);

  textoTagAtual = posicao;
  log("Inicio da string armazenado.", LOG_DEBUG, kOnde, __LINE__);

  for (ProtocolGeneric* tag : tabela_) {
    if (comecaCom(posicao, tag->textoAbertura())) {
      const uint8_t* bytes = tag->getBytes();
      log("mybytes recebido", LOG_DEBUG, kOnde, __LINE__);
      const int tamanho = tag->getTamanho();
      log("tamanho recebido", LOG_DEBUG, kOnde, __LINE__);
      // The open length is read after getBytes: a tag that took its content
      // has lengthened it.
      return enviarTag(bytes, tamanho, trabalhoAbertura_.get(), tag->tamanhoAbertura());
    }
    if (comecaCom(posicao, tag->textoFechamento())) {
      const uint8_t* bytes = tag->getBytes2();
      log("mybytes recebido", LOG_DEBUG, kOnde, __LINE__);
      const int tamanho = tag->getTamanho();
      log("tamanho recebido", LOG_DEBUG, kOnde, __LINE__);
      return enviarTag(bytes, tamanho, trabalhoFechamento_.get(), tag->tamanhoFechamento());
    }
  }

  // No tag starts here: the '<' is an ordinary character.
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return 0;
  if (pipe->write(reinterpret_cast<const uint8_t*>(posicao), 1) == 0) return 0;
  log("N\xE3o encontrou Tag, string enviada.", LOG_INFO, kOnde, __LINE__);
  return 1;
}

int ImprimeTexto::enviarTag(const uint8_t* bytes, int tamanho, uint8_t* trabalho, int passo) {
  static const char* const kOnde = "ImprimeTexto::convertTag";
  int n = bytes ? tamanho : 0;  // a tag that sent its output itself answers nothing
  if (n < 0) n = 0;
  if (n > kTamanhoTrabalho - 1) n = kTamanhoTrabalho - 1;
  if (n > 0) std::memcpy(trabalho, bytes, static_cast<std::size_t>(n));
  // A zero after the copy makes it a text, so an error marker reads as one.
  trabalho[n] = 0;
  log("c\xF3pia efetuada com sucesso.", LOG_DEBUG, kOnde, __LINE__);

  const char* marcador = reinterpret_cast<const char*>(trabalho);
  if (std::strcmp(marcador, "-1") == 0) {
    log("Erro de atualiza\xE7\xE3o de chave, n\xE3o foi poss\xEDvel enviar o m\xE9todo.", LOG_ERROR,
        kOnde, __LINE__);
    return -1;
  }
  if (std::strcmp(marcador, "-99") == 0) {
    log("Parametro inv\xE1lido.", LOG_ERROR, kOnde, __LINE__);
    return -99;
  }
  if (std::strcmp(marcador, "0") == 0) {
    log("Erro de comunica\xE7\xE3o, n\xE3o foi poss\xEDvel enviar o m\xE9todo.", LOG_ERROR, kOnde,
        __LINE__);
    return 0;
  }
  if (std::strcmp(marcador, "-27") == 0) {
    log("Erro gen\xE9rico, n\xE3o foi poss\xEDvel enviar o m\xE9todo.", LOG_ERROR, kOnde, __LINE__);
    return -27;
  }

  // Unreachable printer: the bytes are dropped, the tag counts as handled.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(trabalho, n);
  }
  log("M\xE9todo enviado.", LOG_INFO, kOnde, __LINE__);
  return passo;
}
