// TextoTeste.h - what the text tests share: a scratch CONVERSOR.INI, a
// recording printer, and one call of the text engine.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "config/MasterController.h"
#include "text/ImprimeTexto.h"

using Escritas = std::vector<Bytes>;

// One whole text: what tratarTexto answers, the writes, and a log line said
// (nullptr: none checked).
struct CasoTexto {
  const char* nome;
  std::string texto;
  int resultado;
  Escritas escritas;
  const char* linha;
};

// n copies of a byte.
inline Bytes repetidos(int n, uint8_t byte) { return Bytes(static_cast<size_t>(n), byte); }
// Joins runs of bytes.
inline Bytes juntar(std::initializer_list<Bytes> partes) {
  Bytes todos;
  for (const Bytes& p : partes) todos.insert(todos.end(), p.begin(), p.end());
  return todos;
}

class TextoTeste : public ::testing::Test {
 protected:
  void SetUp() override {
    configurar('0', "4");
    precisaQuebraLinha = true;
  }
  void TearDown() override { removePipe(); }

  // CONVERSOR.INI with the final line feed and the QR module size given
  // (an empty size leaves the key out).
  void configurar(char enter, const std::string& qr) {
    std::string ini = "[TQ587]\r\nMETODO_DE_COMUNICACAO=\"USB\"\r\nENTERAUTOMATICO=";
    ini += std::string(1, enter) + "\r\n";
    if (!qr.empty()) ini += "TAMANHO_QRCODE=" + qr + "\r\n";
    dir_.write("CONVERSOR.INI", ini);
    MasterController::getInstance().carregarConfiguracao();
  }

  // Prints texto with a fresh engine on a fresh recording pipe.
  int imprimir(const std::string& texto, int n = 0, RecordingPipe::Script script = {}) {
    RecordingPipe& pipe = installRecordingPipe();
    pipe.script = script;
    ImprimeTexto engine;
    const int resultado = engine.tratarTexto(texto.c_str(), n);
    escritas_ = pipe.writes;
    return resultado;
  }

  // Prints each row as after the library loads; the log line at nivel.
  void conferir(std::initializer_list<CasoTexto> casos, int nivel) {
    for (const CasoTexto& c : casos) {
      SCOPED_TRACE(c.nome);
      precisaQuebraLinha = true;
      LogCapture logs;
      EXPECT_EQ(imprimir(c.texto), c.resultado);
      EXPECT_EQ(escritas_, c.escritas);
      if (c.linha) { EXPECT_TRUE(logs.has(c.linha, nivel)) << c.linha; }
    }
  }

  ScratchDir dir_;
  Escritas escritas_;
};
