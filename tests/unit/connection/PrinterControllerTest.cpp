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

// What the scripted pipes were asked to do, in order.
std::vector<std::string> gEvents;
int gSerialStart = 0;
int gUsbStart = 0;
int gLivePipes = 0;
int gCreated = 0;

class ScriptedPipe : public AbstractCommunicationPipe {
 public:
  ScriptedPipe(const char* kind, int start) : kind_(kind), start_(start), id_(++gCreated) {
    ++gLivePipes;
  }
  ~ScriptedPipe() override { --gLivePipes; }
  int startCommunication() override {
    gEvents.push_back(kind_ + " start");
    return start_;
  }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t length) override { return length; }
  int close() override { return 1; }
  const std::string& kind() const { return kind_; }
  int id() const { return id_; }

 private:
  std::string kind_;
  int start_;
  int id_;
};

std::unique_ptr<AbstractCommunicationPipe> makeSerial() {
  return std::make_unique<ScriptedPipe>("serial", gSerialStart);
}
std::unique_ptr<AbstractCommunicationPipe> makeUsb() {
  return std::make_unique<ScriptedPipe>("usb", gUsbStart);
}
std::unique_ptr<AbstractCommunicationPipe> makeNothing() { return nullptr; }

void setMethod(const char* method) {
  Configuracao& config = MasterController::getInstance().config();
  std::snprintf(config.metodo, sizeof config.metodo, "%s", method);
}

const ScriptedPipe* currentPipe() {
  return dynamic_cast<const ScriptedPipe*>(PrinterController::getInstance().pipe());
}

class PrinterControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    removePipe();
    PrinterController::getInstance().setPipeFactories(makeSerial, makeUsb);
    gEvents.clear();
    gLivePipes = 0;
  }
  void TearDown() override {
    removePipe();
    setMethod("");
  }
};

const std::string kUnknown = "Metodo de comunica\xE7\xE3o desconhecido.";
const std::string kFailed = "Falha em estabelecer conex\xE3o.";
const std::string kSerial = "Iniciando comunica\xE7\xE3o serial.";
const std::string kUsb = "Iniciando comunica\xE7\xE3o usb.";

TEST_F(PrinterControllerTest, ConnectFollowsTheMethodAndFallsBack) {
  struct Case {
    const char* name;
    const char* method;
    int serialStart;
    int usbStart;
    int result;
    const char* pipe;  // kind of the pipe held afterwards, nullptr for none
    std::vector<std::string> events;
    std::vector<std::string> messages;
  };
  const Case kCases[] = {
      {"serial answers", "SERIAL", 1, 0, 1, "serial", {"serial start"}, {kSerial}},
      {"serial silent, usb answers", "SERIAL", 0, 1, 1, "usb",
       {"serial start", "usb start"}, {kSerial, kUsb}},
      {"usb answers", "USB", 0, 1, 1, "usb", {"usb start"}, {kUsb}},
      {"usb silent, serial answers", "USB", 1, 0, 1, "serial",
       {"usb start", "serial start"}, {kUsb, kSerial}},
      {"neither answers", "SERIAL", 0, 0, 0, nullptr,
       {"serial start", "usb start"}, {kSerial, kUsb, kFailed}},
      {"lower case method", "serial", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
      {"other word", "USB2", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
      {"empty method", "", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
      {"nine characters", "SERIALSER", 1, 1, 0, nullptr, {}, {kUnknown, kFailed}},
  };
  PrinterController& controller = PrinterController::getInstance();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    removePipe();
    controller.setPipeFactories(makeSerial, makeUsb);
    gEvents.clear();
    gSerialStart = c.serialStart;
    gUsbStart = c.usbStart;
    setMethod(c.method);
    LogCapture capture;

    EXPECT_EQ(controller.connect(), c.result);
    EXPECT_EQ(gEvents, c.events);
    EXPECT_EQ(capture.messages(), c.messages);
    for (const LogCapture::Line& line : capture.lines()) EXPECT_EQ(line.level, LOG_INFO);
    EXPECT_EQ(controller.connected(), c.result == 1);
    if (c.pipe) {
      ASSERT_NE(currentPipe(), nullptr);
      EXPECT_EQ(currentPipe()->kind(), c.pipe);
    } else {
      EXPECT_EQ(controller.pipe(), nullptr);
    }
  }
}

TEST_F(PrinterControllerTest, LogLinesNameTheirOperation) {
  setMethod("SERIAL");
  gSerialStart = 0;
  gUsbStart = 0;
  LogCapture capture;
  PrinterController::getInstance().connect();
  std::vector<std::string> where;
  for (const LogCapture::Line& line : capture.lines()) where.push_back(line.where);
  EXPECT_EQ(where, (std::vector<std::string>{"PrinterController::connectSerial",
                                             "PrinterController::connectUsb",
                                             "PrinterController::connect"}));
}

TEST_F(PrinterControllerTest, TwoConnectsLeaveOnlyTheNewerPipe) {
  setMethod("USB");
  gUsbStart = 1;
  PrinterController& controller = PrinterController::getInstance();
  ASSERT_EQ(controller.connect(), 1);
  const int first = currentPipe()->id();
  ASSERT_EQ(controller.connect(), 1);
  EXPECT_EQ(gLivePipes, 1);
  EXPECT_EQ(currentPipe()->id(), first + 1);
}

TEST_F(PrinterControllerTest, APipeThatCannotBeBuiltGivesZero) {
  setMethod("SERIAL");
  PrinterController& controller = PrinterController::getInstance();
  controller.setPipeFactories(makeNothing, makeNothing);
  EXPECT_EQ(controller.connectSerial(), 0);
  EXPECT_EQ(controller.connect(), 0);
  EXPECT_EQ(controller.pipe(), nullptr);
}

TEST_F(PrinterControllerTest, DisconnectWithoutPipeChangesNothing) {
  PrinterController& controller = PrinterController::getInstance();
  EXPECT_EQ(controller.disconnect(), 1);
  EXPECT_EQ(controller.pipe(), nullptr);
  EXPECT_FALSE(controller.connected());
}

TEST_F(PrinterControllerTest, DisconnectClosesDropsAndAnswersTheClose) {
  struct Case {
    const char* name;
    int closeResult;
  };
  const Case kCases[] = {{"close works", 1}, {"close fails", 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RecordingPipe& pipe = installRecordingPipe();
    pipe.script.closeResult = c.closeResult;
    PrinterController& controller = PrinterController::getInstance();
    EXPECT_EQ(controller.disconnect(), c.closeResult);
    EXPECT_EQ(controller.pipe(), nullptr);
    EXPECT_FALSE(controller.connected());
  }
}

TEST_F(PrinterControllerTest, ReachPipeConnectsOnlyWithoutPipe) {
  PrinterController& controller = PrinterController::getInstance();
  RecordingPipe& held = installRecordingPipe();
  controller.setPipeFactories(makeSerial, makeUsb);
  EXPECT_EQ(controller.reachPipe(), &held);
  EXPECT_TRUE(gEvents.empty());

  controller.setPipe(nullptr, false);
  setMethod("SERIAL");
  gSerialStart = 1;
  AbstractCommunicationPipe* reached = controller.reachPipe();
  EXPECT_NE(reached, nullptr);
  EXPECT_EQ(reached, controller.pipe());
  EXPECT_EQ(gEvents, std::vector<std::string>{"serial start"});

  controller.setPipe(nullptr, false);
  gSerialStart = 0;
  gUsbStart = 0;
  EXPECT_EQ(controller.reachPipe(), nullptr);
}

}  // namespace
