// PrinterControllerTest.cpp - which kind of pipe connect starts first and
// falls back to, and a failed close. A pipe that answers at once, no
// printer at all, connecting only without a pipe and a close that succeeds
// are the golden scripts' (setters.golden) and the end-to-end tests'.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "support/TestSupport.h"

namespace {

std::string gStarts;  // the kinds of pipe started, in order: "S" serial, "U" usb
int gSerialStart = 0, gUsbStart = 0, gLivePipes = 0;

// A pipe whose start answers what the test says, counted while it lives.
struct ScriptedPipe : RecordingPipe {
  ScriptedPipe(char kind, int start) : kind(kind), start(start) { ++gLivePipes; }
  ~ScriptedPipe() override { --gLivePipes; }
  int startCommunication() override { return gStarts += kind, start; }
  const char kind;
  const int start;
};

std::unique_ptr<AbstractCommunicationPipe> makeSerial() {
  return std::make_unique<ScriptedPipe>('S', gSerialStart);
}
std::unique_ptr<AbstractCommunicationPipe> makeUsb() {
  return std::make_unique<ScriptedPipe>('U', gUsbStart);
}

PrinterController& controller() { return PrinterController::getInstance(); }
char heldKind() {
  const auto* held = dynamic_cast<const ScriptedPipe*>(controller().pipe());
  return held ? held->kind : '-';
}

// A controller without pipe, with the scripted pipes, and this method.
void reset(const char* method, int serialStart = 0, int usbStart = 0) {
  removePipe();
  controller().setPipeFactories(makeSerial, makeUsb);
  gStarts.clear();
  gSerialStart = serialStart;
  gUsbStart = usbStart;
  MasterController::getInstance().alterar(
      [&](Configuracao& c) { std::snprintf(c.metodo, sizeof c.metodo, "%s", method); });
}

class PrinterControllerTest : public ::testing::Test {
 protected:
  void TearDown() override { removePipe(); }
};

TEST_F(PrinterControllerTest, ConnectFollowsTheMethodAndFallsBack) {
  struct Case {
    const char* name;
    const char* method;
    int serialStart, usbStart, result;
    std::string starts;
    char held;  // the kind of pipe held afterwards, '-' for none
  };
  const Case kCases[] = {
      {"serial silent, usb answers", "SERIAL", 0, 1, 1, "SU", 'U'},
      {"usb silent, serial answers", "USB", 1, 0, 1, "US", 'S'},
      {"lower case method", "serial", 1, 1, 0, "", '-'},
      {"nine characters", "SERIALSER", 1, 1, 0, "", '-'},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    reset(c.method, c.serialStart, c.usbStart);
    LogCapture capture;
    EXPECT_EQ(controller().connect(), c.result);
    EXPECT_EQ(gStarts, c.starts);
    EXPECT_EQ(controller().connected(), c.result == 1);
    EXPECT_EQ(heldKind(), c.held);
    EXPECT_EQ(gLivePipes, c.result);
    // an unknown method says so before the failure: its only sign
    EXPECT_EQ(capture.has("Metodo de comunica\xE7\xE3o desconhecido.", LOG_INFO), c.starts.empty());
    EXPECT_EQ(capture.has("Falha em estabelecer conex\xE3o.", LOG_INFO), c.result == 0);
  }
}

TEST_F(PrinterControllerTest, DisconnectAnswersAFailedCloseAndDropsThePipe) {
  installRecordingPipe().closeResult = 0;
  EXPECT_EQ(controller().disconnect(), 0);
  EXPECT_EQ(controller().pipe(), nullptr);
  EXPECT_FALSE(controller().connected());
}

}  // namespace
