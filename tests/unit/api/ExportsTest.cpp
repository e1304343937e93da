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
int gSerialStart = 0;
int gUsbStart = 0;

class StartingPipe : public RecordingPipe {
 public:
  StartingPipe(const char* kind, int start) : kind_(kind), start_(start) {}
  int startCommunication() override {
    gStarts.push_back(kind_);
    return start_;
  }

 private:
  std::string kind_;
  int start_;
};

std::unique_ptr<AbstractCommunicationPipe> makeSerial() {
  return std::make_unique<StartingPipe>("serial", gSerialStart);
}
std::unique_ptr<AbstractCommunicationPipe> makeUsb() {
  return std::make_unique<StartingPipe>("usb", gUsbStart);
}

// No pipe, and connecting finds no printer.
void noPrinter() {
  removePipe();
  PrinterController::getInstance().setPipeFactories(makeSerial, makeUsb);
  gSerialStart = 0;
  gUsbStart = 0;
  gStarts.clear();
}

RecordingPipe* heldPipe() {
  return dynamic_cast<RecordingPipe*>(PrinterController::getInstance().pipe());
}

class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override { noPrinter(); }
  void TearDown() override { removePipe(); }
  ScratchDir dir;
};

const std::string kAlready = "Impressora j\xE1 conectada. Retornando 1...";

TEST_F(ExportsTest, DrawerKick) {
  struct Case {
    const char* name;
    bool printer;
    int shortBy;
    int result;
  };
  const Case kCases[] = {
      {"all five bytes taken", true, 0, 1},
      {"four of five taken", true, 1, 0},
      {"no printer", false, 0, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    noPrinter();
    if (c.printer) installRecordingPipe().script.shortBy = c.shortBy;
    for (char mode : {'0', '1'}) {
      MasterController::getInstance().config().gavetaInvertida = mode;
      EXPECT_EQ(TQ587_iAcionarGaveta(), c.result);
    }
    if (c.printer) {
      const std::vector<Bytes> kick(2, Bytes{0x1B, 0x70, 0x00, 0x96, 0xFF});
      EXPECT_EQ(heldPipe()->writes, kick);
    } else {
      EXPECT_EQ(PrinterController::getInstance().pipe(), nullptr);
    }
  }
}

TEST_F(ExportsTest, DrawerKickConnectsOnDemand) {
  gUsbStart = 1;
  MasterController::getInstance().config().metodo[0] = '\0';
  std::snprintf(MasterController::getInstance().config().metodo, 10, "%s", "USB");
  EXPECT_EQ(TQ587_iAcionarGaveta(), 1);
  EXPECT_EQ(gStarts, std::vector<std::string>{"usb"});
  ASSERT_NE(heldPipe(), nullptr);
  EXPECT_EQ(heldPipe()->writes, std::vector<Bytes>{Bytes({0x1B, 0x70, 0x00, 0x96, 0xFF})});
}

TEST_F(ExportsTest, TextGoesAfterTheStoredCodePage) {
  struct Case {
    const char* name;
    char stored;
    Bytes first;  // the first write
  };
  const Case kCases[] = {
      {"code page on", '1', {0x1B, 0x74, 0x10, 0x0A}},
      {"code page off", '0', {0x1B, 0x74, 0x00, 0x0A}},
      {"nothing valid stored: the text still prints", ' ', {0x41}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir scratch;
    RecordingPipe& pipe = installRecordingPipe();
    MasterController::getInstance().config().codePageAutomatico = c.stored;
    EXPECT_EQ(TQ587_iImprimirTexto("A", 0), 1);
    ASSERT_FALSE(pipe.writes.empty());
    EXPECT_EQ(pipe.writes.front(), c.first);
    const Bytes all = pipe.joined();
    EXPECT_NE(std::find(all.begin(), all.end(), 0x41), all.end());
  }
}

TEST_F(ExportsTest, PlaceholdersDoNothing) {
  RecordingPipe& pipe = installRecordingPipe();
  LogCapture capture;
  using Export = int (*)();
  const Export kPlaceholders[] = {TQ587_iConfigurarGuilhotina, TQ587_rConsultaStatusImpressora,
                                  TQ587_regLinhasGuilhotina, TQ587_regPortaComunicacao,
                                  TQ587_regVelocidade};
  for (Export placeholder : kPlaceholders) EXPECT_EQ(placeholder(), 0);
  EXPECT_TRUE(pipe.writes.empty());
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_EQ(dir.read("CONVERSOR.INI"), "");
}

TEST_F(ExportsTest, TabulacaoLengthLimit) {
  struct Case {
    const char* name;
    const char* value;
    int result;
    Bytes sent;
  };
  const Case kCases[] = {
      {"19 characters", "1,2,3,4,5,6,7,8,9,1", 1,
       {0x1B, 0x44, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x01, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"20 characters", "1,2,3,4,5,6,7,8,9,10", -99, {}},
      {"far longer", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", -99, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir scratch;
    RecordingPipe& pipe = installRecordingPipe();
    EXPECT_EQ(TQ587_regTabulacao(c.value), c.result);
    EXPECT_EQ(pipe.joined(), c.sent);
    const bool stored = scratch.read("CONVERSOR.INI").find(c.value) != std::string::npos;
    EXPECT_EQ(stored, c.result == 1);
  }
}

TEST_F(ExportsTest, NullArgumentsAreRefused) {
  struct Case {
    const char* name;
    int (*call)(const char*);
    int result;
  };
  const Case kCases[] = {
      {"code page", TQ587_regCodePageAutomatico, -99},
      {"enter", TQ587_regEnterFinal, -99},
      {"drawer mode", TQ587_regModoGaveta, -99},
      {"tabs", TQ587_regTabulacao, -99},
      {"bmp", TQ587_iImprimirBMP, -8},
      {"image", TQ587_iImprimirImagem, -8},
  };
  RecordingPipe& pipe = installRecordingPipe();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call(nullptr), c.result);
  }
  EXPECT_EQ(TQ587_iImprimirTexto(nullptr, 0), -99);
  EXPECT_EQ(TQ587_iImprimirTexto(nullptr, 5), -99);
  EXPECT_TRUE(pipe.writes.empty());
  EXPECT_EQ(dir.read("CONVERSOR.INI"), "");
}

TEST_F(ExportsTest, BuscarPortaVelocidade) {
  struct Case {
    const char* name;
    bool connected;
    int usbStart;
    int result;
    std::vector<std::string> starts;
    std::vector<std::string> messages;
  };
  const Case kCases[] = {
      {"already connected", true, 0, 1, {}, {"inicio: TQ587_eBuscarPortaVelocidade", kAlready}},
      {"connects", false, 1, 1, {"usb"},
       {"inicio: TQ587_eBuscarPortaVelocidade", "Iniciando comunica\xE7\xE3o usb."}},
      {"no printer", false, 0, 0, {"usb", "serial"},
       {"inicio: TQ587_eBuscarPortaVelocidade", "Iniciando comunica\xE7\xE3o usb.",
        "Iniciando comunica\xE7\xE3o serial.", "Falha em estabelecer conex\xE3o."}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    noPrinter();
    if (c.connected) installRecordingPipe();
    PrinterController::getInstance().setPipeFactories(makeSerial, makeUsb);
    gUsbStart = c.usbStart;
    std::snprintf(MasterController::getInstance().config().metodo, 10, "%s", "USB");
    LogCapture capture;
    EXPECT_EQ(TQ587_eBuscarPortaVelocidade(), c.result);
    EXPECT_EQ(gStarts, c.starts);
    EXPECT_EQ(capture.messages(), c.messages);
    if (c.connected) {
      EXPECT_TRUE(capture.has(kAlready, LOG_DEBUG));
      EXPECT_EQ(capture.lines().back().where, "TQ587_eBuscarPortaVelocidade");
    }
  }
}

TEST_F(ExportsTest, FecharPortaThenBuscarConnectsAgain) {
  RecordingPipe& pipe = installRecordingPipe();
  pipe.script.closeResult = 0;
  EXPECT_EQ(TQ587_fecharPorta(), 0);
  EXPECT_EQ(TQ587_fecharPorta(), 1);  // nothing left to close
  PrinterController::getInstance().setPipeFactories(makeSerial, makeUsb);
  gSerialStart = 1;
  std::snprintf(MasterController::getInstance().config().metodo, 10, "%s", "SERIAL");
  LogCapture capture;
  EXPECT_EQ(TQ587_eBuscarPortaVelocidade(), 1);
  EXPECT_EQ(gStarts, std::vector<std::string>{"serial"});
  EXPECT_FALSE(capture.has(kAlready));
}

TEST_F(ExportsTest, InitDllReadsOrCreatesTheFileThenConnectsOnce) {
  struct Case {
    const char* name;
    const char* ini;  // nullptr: no file
    std::vector<std::string> starts;
  };
  const Case kCases[] = {
      {"no file: defaults written, serial first", nullptr, {"serial", "usb"}},
      {"file asks for usb", "[TQ587]\r\n   METODO_DE_COMUNICACAO = \"USB\"\r\n",
       {"usb", "serial"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
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
