// CodebarSimbolo.cpp - QR code and PDF417: each a list of commands walked by
// one loop.
#include "text/barcode/CodebarSimbolo.h"

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "log/Log.h"

namespace {

using P = PassoSimbolo;

constexpr auto kLimpoPdf = memoriaLimpa("PDF417: ");
// The module size of a record that holds no TAMANHO_QRCODE (0: a file read
// without the key, or none read yet). Not the default a new file is written
// with (kDefaultQrModuleSize).
constexpr int kModuloSemTamanho = 3;

const PassoSimbolo kPassosQrcode[] = {
    {P::kFixo, escpos::kQrModel2, "Modelo do Qrcode Selecionado."},
    {P::kTamanhoModulo, kSemComando, "Tamanho do Qrcode Selecionado."},
    {P::kFixo, escpos::kQrErrorLevelL, "N\xEDvel de Corre\xE7\xE3o do Qrcode Selecionado."},
    {P::kDados, kSemComando, "Dados do Qrcode Armazenados no Buffer."},
    {P::kFixo, escpos::kQrPrint, "Bytes do Qrcode Ok."},
};

const PassoSimbolo kPassosPdf[] = {
    {P::kFixo, escpos::kPdfColumnsAuto,
     "PDF417: Numero de colunas proporcional aos dados definido."},
    {P::kFixo, escpos::kPdfRowsAuto,
     "PDF417: Numero de linhas proporcional aos dados definido."},
    {P::kFixo, escpos::kPdfModuleWidth3, "PDF417: Largura padr\xE3o definida."},
    {P::kFixo, escpos::kPdfRowHeight3, "PDF417: Largura padr\xE3o definida."},
    {P::kFixo, escpos::kPdfErrorRatio1, "PDF417: N\xEDvel de corre\xE7\xE3o padr\xE3o definida."},
    {P::kDados, kSemComando, "PDF417: Dados Armazenados no Buffer."},
    {P::kFixo, escpos::kPdfPrint, "PDF417: Bytes Ok."},
};

}  // namespace

const uint8_t* CodebarSimbolo::lerConteudo() {
  const DefinicaoSimbolo& d = definicao_;
  log(d.inicio, LOG_DEBUG, ondeAbre(), __LINE__);
  restaurarTamanhos();
  tamanhoConteudo_ = 0;
  conteudo_ = nullptr;
  limparSaida(kInicioLimpo);
  log(d.limpo, LOG_DEBUG, ondeAbre(), __LINE__);
  if (!textoTagAtual) {
    log(d.semDados, LOG_ERROR, ondeAbre(), __LINE__);
    return erroGenerico();
  }
  conteudo_ = textoTagAtual + identidade().tamanhoAbertura;
  const int k = medirConteudo(conteudo_, kMaxConteudo + 1);
  if (k < 1) {  // empty, too long, or no close tag
    log(d.invalido, LOG_ERROR, ondeAbre(), __LINE__);
    return invalido();
  }
  tamanhoConteudo_ = k;
  return nullptr;
}

const uint8_t* CodebarSimbolo::getBytes() {
  const DefinicaoSimbolo& d = definicao_;
  MasterController& master = MasterController::getInstance();
  // The module size of this symbol; a change of the file counts from the
  // next one. Only its low byte is sent.
  const int tamanho = master.config().qrModuleSize;
  const int modulo = tamanho == 0 ? kModuloSemTamanho : tamanho;
  if (const uint8_t* erro = lerConteudo()) return erro;
  if (d.conteudoLido) log(d.conteudoLido, LOG_DEBUG, ondeAbre(), __LINE__);
  if (d.releConfiguracao) master.carregarConfiguracao();

  for (int i = 0; i < d.numeroPassos; ++i) {
    const PassoSimbolo& passo = d.passos[i];
    switch (passo.tipo) {
      case PassoSimbolo::kFixo:
        anexar(passo.comando);
        break;
      case PassoSimbolo::kTamanhoModulo:
        anexar(escpos::qrModuleSize(escpos::lowByte(static_cast<uint32_t>(modulo))));
        break;
      case PassoSimbolo::kDados:
        anexar(escpos::symbolStore(d.cn, static_cast<uint32_t>(tamanhoConteudo_)));
        anexar(reinterpret_cast<const uint8_t*>(conteudo_), tamanhoConteudo_);
        break;
    }
    log(passo.log, LOG_DEBUG, ondeAbre(), __LINE__);
  }
  abrangerConteudo(tamanhoConteudo_);
  log(d.retornando, LOG_DEBUG, ondeAbre(), __LINE__);
  return saida();
}

const uint8_t* CodebarSimbolo::getBytes2() {
  tamanho_ = 0;
  log(definicao_.fechamentoLog, LOG_DEBUG, ondeFecha(), __LINE__);
  return saida();
}

CodebarQrcode::CodebarQrcode(const IdentidadeTag& identidade)
    : CodebarSimbolo(identidade,
                     {escpos::kQrCode, "Qrcode: Iniciando",
                      kMemoriaLimpa,
                      "N\xE3o h\xE1 dados em SetBytesCb.", "Qrcode: Par\xE2metro inv\xE1lido.",
                      "Conteudo do Qrcode armazenado.", "Qrcode: Retornando bytes.",
                      " CodebarQrcode::getBytes2() - retornando tamanho = 0 e bytes = 0 .", true,
                      kPassosQrcode, sizeof kPassosQrcode / sizeof kPassosQrcode[0]}) {}

CodebarPdf::CodebarPdf(const IdentidadeTag& identidade)
    : CodebarSimbolo(identidade,
                     {escpos::kPdf417, "PDF417: Iniciando",
                      kLimpoPdf.data(),
                      "PDF417: N\xE3o h\xE1 dados em SetBytesCb.", "PDF417: Par\xE2metro inv\xE1lido.",
                      nullptr, "PDF417: Retornando bytes.",
                      " CodebarPdf::getBytes2() - retornando tamanho = 0 e bytes = 0 .", false,
                      kPassosPdf, sizeof kPassosPdf / sizeof kPassosPdf[0]}) {}
