// ExportsTest.cpp - the exports as an application calls them, start-up included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "api/Library.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "support/TestSupport.h"
#include "tq587.h"

namespace {

// Scripted pipes that the controller builds when it connects.
std::vector<std::string> gStarts;
int gSerialStart = 0, gUsbStart = 0;

struct StartingPipe : RecordingPipe {
  StartingPipe(const char* kind, int start) : kind(kind), start(start) {}
  int startCommunication() override { gStarts.push_back(kind); return start; }
  std::string kind;
  int start;
};
using PipePtr = std::unique_ptr<AbstractCommunicationPipe>;
PipePtr makeSerial() { return std::make_unique<StartingPipe>("serial", gSerialStart); }
PipePtr makeUsb() { return std::make_unique<StartingPipe>("usb", gUsbStart); }

// Connecting tries the method given, with these start results.
void usePipes(const char* metodo, int serialStart, int usbStart) {
  PrinterController::getInstance().setPipeFactories(makeSerial, makeUsb);
  gSerialStart = serialStart;
  gUsbStart = usbStart;
  gStarts.clear();
  std::snprintf(MasterController::getInstance().config().metodo, 10, "%s", metodo);
}
void noPrinter(const char* metodo = "USB", int serialStart = 0, int usbStart = 0) {
  removePipe();
  usePipes(metodo, serialStart, usbStart);
}

class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override { noPrinter(); }
  void TearDown() override { removePipe(); }
  ScratchDir dir;
};

const std::string kAlready = "Impressora j\xE1 conectada. Retornando 1...";
const Bytes kKick = {0x1B, 0x70, 0x00, 0x96, 0xFF};

TEST_F(ExportsTest, DrawerKickInBothModes) {
  struct Case { const char* name; bool printer; int shortBy, usbStart, result;
                std::vector<std::string> starts; };
  const Case kCases[] = {
      {"all five bytes taken", true, 0, 0, 1, {}},
      {"four of five taken", true, 1, 0, 0, {}},
      {"connects on demand, once", false, 0, 1, 1, {"usb"}},
      {"no printer: each call tries", false, 0, 0, 0, {"usb", "serial", "usb", "serial"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    noPrinter("USB", 0, c.usbStart);
    if (c.printer) installRecordingPipe().script.shortBy = c.shortBy;
    for (char mode : {'0', '1'}) {
      MasterController::getInstance().config().gavetaInvertida = mode;
      EXPECT_EQ(TQ587_iAcionarGaveta(), c.result);
    }
    EXPECT_EQ(gStarts, c.starts);
    auto* pipe = dynamic_cast<RecordingPipe*>(PrinterController::getInstance().pipe());
    EXPECT_EQ(pipe != nullptr, c.result == 1 || c.printer);
    if (pipe) { EXPECT_EQ(pipe->writes, std::vector<Bytes>(2, kKick)); }
  }
}

TEST_F(ExportsTest, TextGoesAfterTheStoredCodePage) {
  struct Case { const char* name; char stored; Bytes first; };
  const Case kCases[] = {
      {"code page on", '1', {0x1B, 0x74, 0x10, 0x0A}},
      {"code page off", '0', {0x1B, 0x74, 0x00, 0x0A}},
      {"nothing valid stored: the text still prints", ' ', {0x41}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RecordingPipe& pipe = installRecordingPipe();
    MasterController::getInstance().config().codePageAutomatico = c.stored;
    EXPECT_EQ(TQ587_iImprimirTexto("A", 0), 1);
    ASSERT_FALSE(pipe.writes.empty());
    EXPECT_EQ(pipe.writes.front(), c.first);
    const Bytes all = pipe.joined();
    EXPECT_NE(std::find(all.begin(), all.end(), 0x41), all.end());
  }
}

TEST_F(ExportsTest, PlaceholdersAndNullArgumentsDoNothing) {
  RecordingPipe& pipe = installRecordingPipe();
  LogCapture capture;
  for (int (*placeholder)() : {TQ587_iConfigurarGuilhotina, TQ587_rConsultaStatusImpressora,
                               TQ587_regLinhasGuilhotina, TQ587_regPortaComunicacao,
                               TQ587_regVelocidade}) {
    EXPECT_EQ(placeholder(), 0);
  }
  EXPECT_TRUE(capture.lines().empty());
  for (int (*setter)(const char*) : {TQ587_regCodePageAutomatico, TQ587_regEnterFinal,
                                     TQ587_regModoGaveta, TQ587_regTabulacao}) {
    EXPECT_EQ(setter(nullptr), -99);
  }
  EXPECT_EQ(TQ587_iImprimirBMP(nullptr), -8);
  EXPECT_EQ(TQ587_iImprimirImagem(nullptr), -8);
  EXPECT_EQ(TQ587_iImprimirTexto(nullptr, 0), -99);
  EXPECT_EQ(TQ587_iImprimirTexto(nullptr, 5), -99);
  EXPECT_TRUE(pipe.writes.empty());
  EXPECT_EQ(dir.read("CONVERSOR.INI"), "");
}

TEST_F(ExportsTest, TabulacaoLengthLimit) {
  struct Case { const char* value; int result; Bytes sent; };
  const Case kCases[] = {
      {"1,2,3,4,5,6,7,8,9,1", 1,
       {0x1B, 0x44, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x01, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"1,2,3,4,5,6,7,8,9,10", -99, {}},  // 20 characters
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.value);
    ScratchDir scratch;
    RecordingPipe& pipe = installRecordingPipe();
    EXPECT_EQ(TQ587_regTabulacao(c.value), c.result);
    EXPECT_EQ(pipe.joined(), c.sent);
    EXPECT_EQ(scratch.read("CONVERSOR.INI").find(c.value) != std::string::npos, c.result == 1);
  }
}

TEST_F(ExportsTest, BuscarPortaVelocidadeAndFecharPorta) {
  const std::string kStart = "inicio: TQ587_eBuscarPortaVelocidade";
  const std::string kUsb = "Iniciando comunica\xE7\xE3o usb.";
  struct Case { const char* name; bool connected; int usbStart, result;
                std::vector<std::string> starts, messages; };
  const Case kCases[] = {
      {"already connected", true, 0, 1, {}, {kStart, kAlready}},
      {"connects", false, 1, 1, {"usb"}, {kStart, kUsb}},
      {"no printer", false, 0, 0, {"usb", "serial"},
       {kStart, kUsb, "Iniciando comunica\xE7\xE3o serial.", "Falha em estabelecer conex\xE3o."}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    noPrinter("USB", 0, c.usbStart);
    if (c.connected) installRecordingPipe();
    LogCapture capture;
    EXPECT_EQ(TQ587_eBuscarPortaVelocidade(), c.result);
    EXPECT_EQ(gStarts, c.starts);
    EXPECT_EQ(capture.messages(), c.messages);
    if (c.connected) {
      EXPECT_TRUE(capture.has(kAlready, LOG_DEBUG));
      EXPECT_EQ(capture.lines().back().where, "TQ587_eBuscarPortaVelocidade");
    }
  }
  // fecharPorta lets go of the pipe: the next search connects again
  installRecordingPipe().script.closeResult = 0;
  EXPECT_EQ(TQ587_fecharPorta(), 0);
  EXPECT_EQ(TQ587_fecharPorta(), 1);  // nothing left to close
  usePipes("SERIAL", 1, 0);
  EXPECT_EQ(TQ587_eBuscarPortaVelocidade(), 1);
  EXPECT_EQ(gStarts, std::vector<std::string>{"serial"});
}

TEST_F(ExportsTest, InitDllReadsOrCreatesTheFileThenConnectsOnce) {
  struct Case { const char* ini; std::vector<std::string> starts; };
  const Case kCases[] = {
      {nullptr, {"serial", "usb"}},  // no file: defaults written, serial first
      {"[TQ587]\r\n   METODO_DE_COMUNICACAO = \"USB\"\r\n", {"usb", "serial"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.ini ? "file asks for usb" : "no file");
    ScratchDir scratch;
    if (c.ini) scratch.write("CONVERSOR.INI", c.ini);
    noPrinter();
    LogCapture capture;
    initDLL();
    EXPECT_NE(scratch.read("CONVERSOR.INI"), "");
    EXPECT_EQ(gStarts, c.starts);
    EXPECT_TRUE(capture.has("========== Inicializando DLL ==========", LOG_INFO));
    EXPECT_FALSE(PrinterController::getInstance().connected());
  }
}

}  // namespace
