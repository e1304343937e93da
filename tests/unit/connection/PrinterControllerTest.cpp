// PrinterControllerTest.cpp - the choice of pipe, the fallback, disconnect.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "support/TestSupport.h"

namespace {

using Strings = std::vector<std::string>;
Strings gEvents;  // what the scripted pipes were asked to do, in order
int gSerialStart = 0, gUsbStart = 0, gLivePipes = 0, gCreated = 0;

class ScriptedPipe : public AbstractCommunicationPipe {
 public:
  ScriptedPipe(const char* kind, int start) : kind(kind), start_(start), id(++gCreated) {
    ++gLivePipes;
  }
  ~ScriptedPipe() override { --gLivePipes; }
  int startCommunication() override {
    gEvents.push_back(kind + " start");
    return start_;
  }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t length) override { return length; }
  int close() override { return 1; }
  const std::string kind;
  int start_;
  const int id;
};

std::unique_ptr<AbstractCommunicationPipe> makeSerial() {
  return std::make_unique<ScriptedPipe>("serial", gSerialStart);
}
std::unique_ptr<AbstractCommunicationPipe> makeUsb() {
  return std::make_unique<ScriptedPipe>("usb", gUsbStart);
}
std::unique_ptr<AbstractCommunicationPipe> makeNothing() { return nullptr; }

PrinterController& controller() { return PrinterController::getInstance(); }
const ScriptedPipe* currentPipe() { return dynamic_cast<const ScriptedPipe*>(controller().pipe()); }

// A controller without pipe, with the scripted factories, and this method.
void reset(const char* method, int serialStart = 0, int usbStart = 0) {
  removePipe();
  controller().setPipeFactories(makeSerial, makeUsb);
  gEvents.clear();
  gSerialStart = serialStart;
  gUsbStart = usbStart;
  MasterController::getInstance().alterar(
      [&](Configuracao& c) { std::snprintf(c.metodo, sizeof c.metodo, "%s", method); });
}

class PrinterControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(""), gLivePipes = 0; }
  void TearDown() override { reset(""); }
};

const std::string kUnknown = "Metodo de comunica\xE7\xE3o desconhecido.";
const std::string kFailed = "Falha em estabelecer conex\xE3o.";
const std::string kSerial = "Iniciando comunica\xE7\xE3o serial.";
const std::string kUsb = "Iniciando comunica\xE7\xE3o usb.";

TEST_F(PrinterControllerTest, ConnectFollowsTheMethodAndFallsBack) {
  struct Case {
    const char* name;
    const char* method;
    int serialStart, usbStart, result;
    const char* pipe;  // kind of the pipe held afterwards, nullptr for none
    Strings events, messages, where = {};
  };
  const Case kCases[] = {
      {"serial answers", "SERIAL", 1, 0, 1, "serial", {"serial start"}, {kSerial}},
      {"serial silent, usb answers", "SERIAL", 0, 1, 1, "usb", {"serial start", "usb start"},
       {kSerial, kUsb}},
      {"usb answers", "USB", 0, 1, 1, "usb", {"usb start"}, {kUsb}},
      {"usb silent, serial answers", "USB", 1, 0, 1, "serial", {"usb start", "serial start"},
       {kUsb, kSerial}},
      {"neither answers", "SERIAL", 0, 0, 0, nullptr, {"serial start", "usb start"},
       {kSerial, kUsb, kFailed},
       {"PrinterController::connectSerial", "PrinterController::connectUsb",
        "PrinterController::connect"}},
      {"lower case method", "serial", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
      {"other word", "USB2", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
      {"empty method", "", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
      {"nine characters", "SERIALSER", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    reset(c.method, c.serialStart, c.usbStart);
    LogCapture capture;
    EXPECT_EQ(controller().connect(), c.result);
    EXPECT_EQ(gEvents, c.events);
    EXPECT_EQ(capture.messages(), c.messages);
    Strings where;
    for (const LogCapture::Line& line : capture.lines()) {
      EXPECT_EQ(line.level, LOG_INFO);
      where.push_back(line.where);
    }
    if (!c.where.empty()) {
      EXPECT_EQ(where, c.where);
    }
    EXPECT_EQ(controller().connected(), c.result == 1);
    const std::string held = !controller().pipe() ? "none" : currentPipe() ? currentPipe()->kind : "?";
    EXPECT_EQ(held, c.pipe ? c.pipe : "none");
  }
}

TEST_F(PrinterControllerTest, ReconnectKeepsOnlyTheNewerPipeAndUnbuiltPipesGiveZero) {
  reset("USB", 0, 1);
  ASSERT_EQ(controller().connect(), 1);
  const int first = currentPipe()->id;
  ASSERT_EQ(controller().connect(), 1);
  EXPECT_EQ(gLivePipes, 1);
  EXPECT_EQ(currentPipe()->id, first + 1);

  reset("SERIAL", 1, 1);
  controller().setPipeFactories(makeNothing, makeNothing);
  EXPECT_EQ(controller().connectSerial(), 0);
  EXPECT_EQ(controller().connect(), 0);
  EXPECT_EQ(controller().pipe(), nullptr);
}

TEST_F(PrinterControllerTest, DisconnectClosesDropsAndAnswersTheClose) {
  const int kNoPipe = -1;
  for (int closeResult : {1, 0, kNoPipe}) {
    SCOPED_TRACE(closeResult);
    removePipe();
    if (closeResult != kNoPipe) installRecordingPipe().script.closeResult = closeResult;
    EXPECT_EQ(controller().disconnect(), closeResult == kNoPipe ? 1 : closeResult);
    EXPECT_EQ(controller().pipe(), nullptr);
    EXPECT_FALSE(controller().connected());
  }
}

TEST_F(PrinterControllerTest, ReachPipeConnectsOnlyWithoutPipe) {
  RecordingPipe& held = installRecordingPipe();
  controller().setPipeFactories(makeSerial, makeUsb);
  EXPECT_EQ(controller().reachPipe(), &held);
  EXPECT_TRUE(gEvents.empty());

  reset("SERIAL", 1);
  AbstractCommunicationPipe* reached = controller().reachPipe();
  EXPECT_NE(reached, nullptr);
  EXPECT_EQ(reached, controller().pipe());
  EXPECT_EQ(gEvents, Strings{"serial start"});

  reset("SERIAL");
  EXPECT_EQ(controller().reachPipe(), nullptr);
}

}  // namespace
