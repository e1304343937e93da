// CodebarSimbolo.cpp - QR code and PDF417.
#include "text/barcode/CodebarSimbolo.h"

#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "log/Log.h"

CodebarSimbolo::CodebarSimbolo(const Definicao& definicao)
    : ProtocolTagGeneric(definicao.abertura, definicao.fechamento, definicao.tamanhoAbertura,
                         definicao.tamanhoFechamento),
      definicao_(definicao),
      ondeAbre_(std::string(definicao.classe) + "::getBytes"),
      ondeFecha_(std::string(definicao.classe) + "::getBytes2") {}

const uint8_t* CodebarSimbolo::lerConteudo() {
  const Definicao& d = definicao_;
  log(d.inicio, LOG_DEBUG, onde(), __LINE__);
  definirTamanhos(d.tamanhoAbertura, d.tamanhoFechamento);
  tamanhoConteudo_ = 0;
  conteudo_ = nullptr;
  limparSaida(kTamanhoArmazenamento);
  log(d.limpo, LOG_DEBUG, onde(), __LINE__);
  if (!textoTagAtual) {
    log(d.semDados, LOG_ERROR, onde(), __LINE__);
    return erroGenerico();
  }
  conteudo_ = textoTagAtual + d.tamanhoAbertura;
  const int k = medirConteudo(conteudo_, d.fechamento, d.tamanhoFechamento, kMaxConteudo + 1);
  if (k < 1) {  // empty, too long, or no close tag
    log(d.invalido, LOG_ERROR, onde(), __LINE__);
    return invalido();
  }
  tamanhoConteudo_ = k;
  std::memcpy(armazenamento_, conteudo_, static_cast<std::size_t>(k));
  // The store command counts the content and its three function bytes.
  pL_ = (k + 3) % 256;
  pH_ = (k + 3) / 256;
  return nullptr;
}

void CodebarSimbolo::anexarArmazenamento(Comando funcao) {
  anexar(comando(escpos::kSymbol));
  anexar(static_cast<uint8_t>(pL_));
  anexar(static_cast<uint8_t>(pH_));
  anexar(funcao);
  anexar(armazenamento_, tamanhoConteudo_);
}

const uint8_t* CodebarSimbolo::getBytes2() {
  tamanho_ = 0;
  log(definicao_.fechamentoLog, LOG_DEBUG, ondeFecha_.c_str(), __LINE__);
  return saida();
}

CodebarQrcode::CodebarQrcode()
    : CodebarSimbolo({"CodebarQrcode", "<qrcode>", "</qrcode>", 8, 9, "Qrcode: Iniciando",
                      "Limpar posi\xE7\xF5" "es da mem\xF3ria OK.",
                      "N\xE3o h\xE1 dados em SetBytesCb.", "Qrcode: Par\xE2metro inv\xE1lido.",
                      " CodebarQrcode::getBytes2() - retornando tamanho = 0 e bytes = 0 ."}) {}

const uint8_t* CodebarQrcode::getBytes() {
  // The module size of this symbol; a later change of the file counts from
  // the next one. Only its low byte is sent.
  int modulo = MasterController::getInstance().config().qrModuleSize;
  if (modulo == 0) modulo = 3;
  if (const uint8_t* erro = lerConteudo()) return erro;
  log("Conteudo do Qrcode armazenado.", LOG_DEBUG, onde(), __LINE__);
  MasterController::getInstance().carregarConfiguracao();

  anexar(comando(escpos::kQrModel2));
  log("Modelo do Qrcode Selecionado.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kQrModuleSize));
  anexar(static_cast<uint8_t>(modulo & 0xFF));
  log("Tamanho do Qrcode Selecionado.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kQrErrorLevel));
  anexar(static_cast<uint8_t>(nivelCorrecao_));
  log("N\xEDvel de Corre\xE7\xE3o do Qrcode Selecionado.", LOG_DEBUG, onde(), __LINE__);
  anexarArmazenamento(comando(escpos::kQrStoreFunction));
  log("Dados do Qrcode Armazenados no Buffer.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kQrPrint));
  log("Bytes do Qrcode Ok.", LOG_DEBUG, onde(), __LINE__);

  definirTamanhos(8 + tamanhoConteudo(), 9);
  log("Qrcode: Retornando bytes.", LOG_DEBUG, onde(), __LINE__);
  return saida();
}

CodebarPdf::CodebarPdf()
    : CodebarSimbolo({"CodebarPdf", "<pdf>", "</pdf>", 5, 6, "PDF417: Iniciando",
                      "PDF417: Limpar posi\xE7\xF5" "es da mem\xF3ria OK.",
                      "PDF417: N\xE3o h\xE1 dados em SetBytesCb.",
                      "PDF417: Par\xE2metro inv\xE1lido.",
                      " CodebarPdf::getBytes2() - retornando tamanho = 0 e bytes = 0 ."}) {}

const uint8_t* CodebarPdf::getBytes() {
  if (const uint8_t* erro = lerConteudo()) return erro;
  anexar(comando(escpos::kPdfColumnsAuto));
  log("PDF417: Numero de colunas proporcional aos dados definido.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kPdfRowsAuto));
  log("PDF417: Numero de linhas proporcional aos dados definido.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kPdfModuleWidth3));
  log("PDF417: Largura padr\xE3o definida.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kPdfRowHeight3));
  log("PDF417: Largura padr\xE3o definida.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kPdfErrorRatio1));
  log("PDF417: N\xEDvel de corre\xE7\xE3o padr\xE3o definida.", LOG_DEBUG, onde(), __LINE__);
  anexarArmazenamento(comando(escpos::kPdfStoreFunction));
  log("PDF417: Dados Armazenados no Buffer.", LOG_DEBUG, onde(), __LINE__);
  anexar(comando(escpos::kPdfPrint));
  log("PDF417: Bytes Ok.", LOG_DEBUG, onde(), __LINE__);

  definirTamanhos(5 + tamanhoConteudo(), 6);
  log("PDF417: Retornando bytes.", LOG_DEBUG, onde(), __LINE__);
  return saida();
}
