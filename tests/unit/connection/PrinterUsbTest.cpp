// PrinterUsbTest.cpp - the USB pipe against a fake libusb 0.1.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeUsb.h"
#include "connection/PrinterUsb.h"
#include "connection/UsbLibrary.h"
#include "log/Log.h"
#include "support/TestSupport.h"

namespace {

using Calls = std::vector<std::string>;

// The script of the fake, found in the same loaded library that the pipe uses.
void* gFake = nullptr;
#define FAKE(name) reinterpret_cast<decltype(&fakeusb_##name)>(dlsym(gFake, "fakeusb_" #name))
Calls calls() {
  Calls all;
  for (int i = 0; i < FAKE(call_count)(); ++i) all.push_back(FAKE(call)(i));
  return all;
}
// Forgets everything, then plugs in one printer (0FE6:811E) on bus 0, unless told not to.
void plug(bool printer = true) {
  FAKE(clear)();
  if (printer) FAKE(add_device)(0, 0x0FE6, 0x811E);
}


const std::string kOpenFailed = "N\xE3o foi poss\xEDvel abrir o dispositivo.";
const std::string kOpened = "Sucesso em abrir o dispositivo usb";
const std::string kConfigured = "Sucesso em configurar o dispositivo usb";
const std::string kClaimed = "Sucesso em estabelecer interface com dispositivo usb";
const std::string kClosing = "Encerrando comunica\xE7\xE3o usb";
const std::string kCloseFailed = "Falha em encerrar comunica\xE7\xE3o usb";

const Calls kSearch = {"usb_init", "usb_find_busses", "usb_find_devices", "usb_get_busses"};
Calls join(Calls a, const Calls& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// The calls of one successful open of device n after a fresh search.
Calls openCalls(const std::string& n) {
  return join(kSearch, {"usb_open " + n, "usb_set_configuration " + n + " 1",
                        "usb_claim_interface " + n + " 0"});
}

class PrinterUsbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gFake = dlopen(TQ587_FAKE_USB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(gFake, nullptr) << dlerror();
    for (const char* name : {"fakeusb_clear", "fakeusb_add_device", "fakeusb_script",
                             "fakeusb_call_count", "fakeusb_call", "fakeusb_open_handles",
                             "fakeusb_last_write"})
      ASSERT_NE(dlsym(gFake, name), nullptr) << name;
    ASSERT_NE(loadUsbLibrary(TQ587_FAKE_USB_PATH), nullptr);
    FAKE(clear)();
    clock_ = std::make_unique<TestClock>();
  }
  void TearDown() override {
    clock_.reset();
    loadUsbLibrary(nullptr);
  }
  // Opens `pipe` on one printer, then forgets the calls so far (the printer stays).
  void openOn(PrinterUsb& pipe) {
    plug();
    ASSERT_EQ(pipe.startCommunication(), 1);
    plug();
  }
  std::unique_ptr<TestClock> clock_;
};

TEST_F(PrinterUsbTest, OpensTheFirstPrinterInBusAndDeviceOrder) {
  struct Case {
    const char* name;
    std::vector<std::vector<int>> devices;  // {bus, vendor, product}
    std::string opened;                     // the device number opened, empty for none
  };
  const Case kCases[] = {
      {"one printer", {{0, 0x0FE6, 0x811E}}, "1"},
      {"same vendor, other product ignored", {{0, 0x0FE6, 0x811F}, {0, 0x0FE6, 0x811E}}, "2"},
      {"other vendor, same product ignored", {{0, 0x0FE7, 0x811E}}, ""},
      {"two printers on one bus", {{0, 0x1234, 1}, {0, 0x0FE6, 0x811E}, {0, 0x0FE6, 0x811E}}, "2"},
      {"earlier bus wins over device order", {{1, 0x0FE6, 0x811E}, {0, 0x0FE6, 0x811E}}, "2"},
      {"printer on a later bus", {{0, 0x1234, 0x0001}, {3, 0x0FE6, 0x811E}}, "2"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    FAKE(clear)();
    for (const std::vector<int>& d : c.devices) FAKE(add_device)(d[0], d[1], d[2]);
    LogCapture capture;
    PrinterUsb pipe;
    EXPECT_EQ(pipe.startCommunication(), c.opened.empty() ? 0 : 1);
    EXPECT_EQ(calls(), c.opened.empty() ? kSearch : openCalls(c.opened));
    if (c.opened.empty()) {
      EXPECT_EQ(capture.messages(), Calls{kOpenFailed});
      EXPECT_TRUE(capture.has(kOpenFailed, LOG_ERROR));
    } else {
      EXPECT_EQ(capture.messages(), (Calls{kOpened, kConfigured, kClaimed}));
    }
  }
}

TEST_F(PrinterUsbTest, ARefusedStepClosesTheHandle) {
  struct Case {
    const char* refused;
    Calls calls, messages;
  };
  const Case kCases[] = {
      {"usb_open", join(kSearch, {"usb_open 1"}), {kOpenFailed}},
      {"usb_set_configuration", join(kSearch, {"usb_open 1", "usb_set_configuration 1 1",
                                               "usb_close 1"}),
       {kOpened, "N\xE3o foi poss\xEDvel abrir configurar dispositivo."}},
      {"usb_claim_interface", join(openCalls("1"), {"usb_close 1"}),
       {kOpened, kConfigured, "Erro de estabelecimento de interface usb"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.refused);
    plug();
    FAKE(script)(c.refused, -16, 1);
    LogCapture capture;
    PrinterUsb pipe;
    EXPECT_EQ(pipe.startCommunication(), 0);
    EXPECT_EQ(calls(), c.calls);
    EXPECT_EQ(capture.messages(), c.messages);
    EXPECT_EQ(FAKE(open_handles)(), 0);
  }
}

TEST_F(PrinterUsbTest, WriteSendsTheWholeJobInOneTransferAndOpensWhenNeeded) {
  PrinterUsb pipe;
  openOn(pipe);
  std::vector<uint8_t> job(300, 0x41);  // longer than a 64-byte packet: still one call
  job[0] = 0x1B;
  job[299] = 0x0A;
  EXPECT_EQ(pipe.write(job.data(), 300), 300);
  EXPECT_EQ(calls(), Calls{"usb_bulk_write 1 2 300 5000"});
  std::vector<uint8_t> sent(400);
  ASSERT_EQ(FAKE(last_write)(sent.data(), 400), 300);
  sent.resize(300);
  EXPECT_EQ(sent, job);

  const uint8_t bytes[] = {0x1B, 0x40, 0x0A};
  for (bool present : {false, true}) {
    SCOPED_TRACE(present ? "printer plugged in since" : "still no printer");
    plug(false);
    PrinterUsb late;
    ASSERT_EQ(late.startCommunication(), 0);
    plug(present);
    EXPECT_EQ(late.write(bytes, 3), present ? 3 : 0);
    EXPECT_EQ(calls(), present ? join(openCalls("1"), {"usb_bulk_write 1 2 3 5000"}) : kSearch);
  }
  plug();
  PrinterUsb idle;  // refused before any try to open the printer
  EXPECT_EQ(idle.write(nullptr, 1), 0);
  EXPECT_EQ(idle.write(bytes, -1), 0);
  EXPECT_TRUE(calls().empty());
}

TEST_F(PrinterUsbTest, FailedWriteResetsWaitsAndReopens) {
  for (bool reopens : {true, false}) {
    SCOPED_TRACE(reopens ? "device comes back" : "device gone");
    clock_->sleeps.clear();
    PrinterUsb pipe;
    openOn(pipe);
    FAKE(script)("usb_bulk_write", -5, 1);
    if (!reopens) FAKE(script)("usb_open", -1, 1);
    LogCapture capture;
    const uint8_t bytes[] = {0x41, 0x42};
    EXPECT_EQ(pipe.write(bytes, 2), reopens ? -5 : 0);
    EXPECT_EQ(clock_->sleeps, std::vector<int>{1000});
    const Calls head = {"usb_bulk_write 1 2 2 5000", "usb_reset 1", "usb_close 1"};
    EXPECT_EQ(calls(), join(head, reopens ? openCalls("1") : join(kSearch, {"usb_open 1"})));
    EXPECT_TRUE(capture.has("Reiniciando comunica\xE7\xE3o usb.", LOG_INFO));
    EXPECT_EQ(capture.messages().front(), "Reiniciando comunica\xE7\xE3o usb.");
    plug();  // the failed bytes are not sent again; the next write goes through
    EXPECT_EQ(pipe.write(bytes, 2), 2);
  }
}

TEST_F(PrinterUsbTest, HeldDeviceIsResetOnRestartReadTwiceAndLetGoWhenDropped) {
  PrinterUsb pipe;
  openOn(pipe);
  ASSERT_EQ(pipe.startCommunication(), 1);
  EXPECT_EQ(calls(), join({"usb_reset 1", "usb_close 1"}, openCalls("1")));
  EXPECT_TRUE(clock_->sleeps.empty());
  FAKE(clear)();
  FAKE(script)("usb_bulk_read", 7, 1);
  uint8_t buffer[8] = {};
  EXPECT_EQ(pipe.read(buffer, 8), 1);
  EXPECT_EQ(calls(), (Calls{"usb_bulk_read 1 129 8 5000", "usb_bulk_read 1 129 8 5000"}));
  plug();
  {
    PrinterUsb dropped;
    ASSERT_EQ(dropped.startCommunication(), 1);
    EXPECT_EQ(FAKE(open_handles)(), 1);
  }
  EXPECT_EQ(FAKE(open_handles)(), 0);
}

TEST_F(PrinterUsbTest, ClosePaths) {
  struct Case {
    bool open;
    int closeAnswer;  // what usb_close answers
    int result;
    Calls calls, messages;
  };
  const Case kCases[] = {
      {true, 0, 1, {"usb_close 1"}, {kClosing, "Sucesso em encerrar comunica\xE7\xE3o usb"}},
      {true, -5, 0, {"usb_close 1"}, {kClosing, kCloseFailed}},
      {false, 0, 0, {}, {kClosing, kCloseFailed}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.open ? c.closeAnswer : 99);
    PrinterUsb pipe;
    if (c.open) openOn(pipe);
    FAKE(clear)();
    if (c.closeAnswer != 0) FAKE(script)("usb_close", c.closeAnswer, 1);
    LogCapture capture;
    EXPECT_EQ(pipe.close(), c.result);
    EXPECT_EQ(calls(), c.calls);
    EXPECT_EQ(capture.messages(), c.messages);
    for (const LogCapture::Line& line : capture.lines()) {
      EXPECT_EQ(line.where, "PrinterUsb::close");
      EXPECT_EQ(line.level, LOG_INFO);
    }
    EXPECT_EQ(pipe.close(), 0);  // closed: a second close has nothing to close
  }
}

TEST_F(PrinterUsbTest, NoLibusbMeansNoDevice) {
  ASSERT_EQ(loadUsbLibrary("/nonexistent/libusb-0.1.so.4"), nullptr);
  LogCapture capture;
  PrinterUsb pipe;
  EXPECT_EQ(pipe.startCommunication(), 0);
  const uint8_t bytes[] = {0x0A};
  EXPECT_EQ(pipe.write(bytes, 1), 0);
  EXPECT_EQ(pipe.close(), 0);
  EXPECT_TRUE(capture.has(kOpenFailed, LOG_ERROR));
  EXPECT_TRUE(calls().empty());
}

}  // namespace
