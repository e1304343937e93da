// ibmp_test.cpp - <ibmp>path</ibmp>: a BMP file printed from inside a text.
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "config/MasterController.h"
#include "log/Log.h"
#include "support/TestSupport.h"
#include "text/ImprimeTexto.h"
#include "unit/image/BmpTestFiles.h"

namespace {

using bmptest::raster8x8;
const char kFalha[] = "Falha ao abrir arquivo de imagem.";

const Bytes kPreto = raster8x8({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
const Bytes kTopo = raster8x8({0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});

// "." followed by slashes and "/p.bmp": a path of the given length naming p.bmp.
std::string caminhoDe(size_t tamanho) { return "." + std::string(tamanho - 6, '/') + "p.bmp"; }

using Escritas = std::vector<Bytes>;

class IbmpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("CONVERSOR.INI", "[TQ587]\r\nMETODO_DE_COMUNICACAO=\"USB\"\r\nENTERAUTOMATICO=0\r\n");
    MasterController::getInstance().carregarConfiguracao();
    dir_.write("logo.bmp", bmptest::black(8, 8));
    dir_.write("b.bmp", bmptest::blackTop(8, 8, 1));
    dir_.write("p.bmp", bmptest::black(8, 8));
    dir_.write("estreita.bmp", bmptest::black(7, 8));
    dir_.write("vazia.bmp", bmptest::file(bmptest::Layout{8192, 2048}) + "12345678");
    ASSERT_EQ(mkfifo("fila", 0600), 0);
  }
  void TearDown() override { removePipe(); }

  // Prints texto with a fresh engine on a fresh recording pipe; the writes
  // without the empty ones the parser makes for a tag that answered none.
  int imprimir(const std::string& texto) {
    RecordingPipe& pipe = installRecordingPipe();
    const int resultado = ImprimeTexto().tratarTexto(texto.c_str(), 0);
    enviadas_.clear();
    for (const Bytes& w : pipe.writes) {
      if (!w.empty()) enviadas_.push_back(w);
    }
    return resultado;
  }
  const Escritas& enviadas() const { return enviadas_; }

  ScratchDir dir_;
  Escritas enviadas_;
};

TEST_F(IbmpTest, PicturesInsideText) {
  struct Caso {
    const char* nome;
    std::string texto;
    int resultado;
    Escritas escritas;
    bool falha;  // the DEBUG line of a file that did not load
  };
  const Caso casos[] = {
      {"text, picture, text", "abc<ibmp>logo.bmp</ibmp>def", 1,
       {{0x61}, {0x62}, {0x63}, kPreto, {0x64}, {0x65}, {0x66}}, false},
      {"two pairs, each its own file", "<ibmp>logo.bmp</ibmp>x<ibmp>b.bmp</ibmp>", 1,
       {kPreto, {0x78}, kTopo}, false},
      {"the path taken at an earlier tag", "<b><ibmp>b.bmp</ibmp>", 1,
       {{0x1B, 0x45, 0x01}, kTopo}, false},
      {"no such file: the generic error", "abc<ibmp>nada.bmp</ibmp>def", -27,
       {{0x61}, {0x62}, {0x63}}, true},
      {"7 wide: nothing, the text goes on", "a<ibmp>estreita.bmp</ibmp>d", 1,
       {{0x61}, {0x64}}, false},
      {"empty pair: no file named", "a<ibmp></ibmp>d", -27, {{0x61}}, true},
      {"text ending after <ibmp>", "ab<ibmp>", 1, {{0x61}, {0x62}}, false},
      {"a pair, then a text ending after <ibmp>", "<ibmp>logo.bmp</ibmp><ibmp>", 1,
       {kPreto}, false},
      {"a path of 319 characters", "<ibmp>" + caminhoDe(319) + "</ibmp>z", 1,
       {kPreto, {0x7A}}, false},
      {"a path of 320 characters: invalid", "a<ibmp>" + caminhoDe(320) + "</ibmp>z", -99,
       {{0x61}}, false},
      {"a close tag alone: no path", "</ibmp>", -27, {}, true},
      {"a FIFO: refused at once", "a<ibmp>fila</ibmp>d", -27, {{0x61}}, true},
      {"a 62-byte file claiming 8192 x 2048 pixels", "a<ibmp>vazia.bmp</ibmp>d", -27, {{0x61}},
       true},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    LogCapture capture;
    alarm(10);  // a call that blocks fails the test instead of hanging it
    EXPECT_EQ(imprimir(c.texto), c.resultado);
    alarm(0);
    EXPECT_EQ(enviadas(), c.escritas);
    bool falhou = false;
    for (const LogCapture::Line& l : capture.lines()) {
      if (l.message == kFalha) {
        falhou = true;
        EXPECT_EQ(l.level, LOG_DEBUG);
        EXPECT_EQ(l.where, "Tag_ibmp::getBytes2");
      }
    }
    EXPECT_EQ(falhou, c.falha);
  }
}

TEST_F(IbmpTest, TheTransmitBufferHolds100000Bytes) {
  // 2056 dots wide is 257 bytes a row: 389 rows make 99 973 data bytes and
  // a command of exactly 100 000 bytes; 390 rows are too many.
  struct Caso {
    const char* nome;
    int altura;
    int resultado;
    size_t escritas;
  };
  const Caso casos[] = {
      {"100 000 bytes: sent", 389, 1, 1},
      {"100 257 bytes: refused", 390, -27, 0},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    dir_.write("grande.bmp", bmptest::black(2056, c.altura));
    EXPECT_EQ(imprimir("<ibmp>grande.bmp</ibmp>"), c.resultado);
    const Escritas enviado = enviadas();
    ASSERT_EQ(enviado.size(), c.escritas);
    if (c.escritas == 1) {
      ASSERT_EQ(enviado[0].size(), 100000u);
      const Bytes cabeca = {0x1D, 0x38, 0x4C, 0x8F, 0x86, 0x01, 0x00, 0x30, 0x70,
                            0x30, 0x01, 0x01, 0x31, 0x08, 0x08, 0x85, 0x01};
      EXPECT_EQ(Bytes(enviado[0].begin(), enviado[0].begin() + 17), cabeca);
    }
  }
}

}  // namespace
