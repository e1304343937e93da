// PrinterUsbTest.cpp - the USB pipe against a fake libusb 0.1.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "connection/PrinterUsb.h"
#include "connection/UsbLibrary.h"
#include "log/Log.h"
#include "support/TestSupport.h"

namespace {

using Calls = std::vector<std::string>;

// The script functions of the fake, found in the same loaded library that
// the pipe uses.
struct FakeUsb {
  void (*clear)();
  int (*addDevice)(int, int, int);
  void (*script)(const char*, int, int);
  int (*callCount)();
  const char* (*call)(int);
  int (*openHandles)();
  int (*lastWrite)(unsigned char*, int);

  Calls calls() const {
    Calls all;
    for (int i = 0; i < callCount(); ++i) all.push_back(call(i));
    return all;
  }
};

template <typename Function>
void bind(void* library, const char* name, Function*& slot) {
  slot = reinterpret_cast<Function*>(dlsym(library, name));
  ASSERT_NE(slot, nullptr) << name;
}

std::vector<int> gSleeps;
void recordSleep(int milliseconds) { gSleeps.push_back(milliseconds); }

const std::string kOpenFailed = "N\xE3o foi poss\xEDvel abrir o dispositivo.";
const std::string kOpened = "Sucesso em abrir o dispositivo usb";
const std::string kConfigFailed = "N\xE3o foi poss\xEDvel abrir configurar dispositivo.";
const std::string kConfigured = "Sucesso em configurar o dispositivo usb";
const std::string kClaimFailed = "Erro de estabelecimento de interface usb";
const std::string kClaimed = "Sucesso em estabelecer interface com dispositivo usb";
const std::string kRestart = "Reiniciando comunica\xE7\xE3o usb.";
const std::string kClosing = "Encerrando comunica\xE7\xE3o usb";
const std::string kCloseFailed = "Falha em encerrar comunica\xE7\xE3o usb";
const std::string kClosed = "Sucesso em encerrar comunica\xE7\xE3o usb";

// The calls of one successful open of device n after a fresh search.
Calls openCalls(const std::string& n) {
  return {"usb_init", "usb_find_busses", "usb_find_devices", "usb_get_busses",
          "usb_open " + n, "usb_set_configuration " + n + " 1",
          "usb_claim_interface " + n + " 0"};
}
Calls join(Calls a, const Calls& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class PrinterUsbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    void* library = dlopen(TQ587_FAKE_USB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    bind(library, "fakeusb_clear", fake.clear);
    bind(library, "fakeusb_add_device", fake.addDevice);
    bind(library, "fakeusb_script", fake.script);
    bind(library, "fakeusb_call_count", fake.callCount);
    bind(library, "fakeusb_call", fake.call);
    bind(library, "fakeusb_open_handles", fake.openHandles);
    bind(library, "fakeusb_last_write", fake.lastWrite);
    ASSERT_NE(loadUsbLibrary(TQ587_FAKE_USB_PATH), nullptr);
    fake.clear();
    gSleeps.clear();
    PrinterUsb::setSleepFunction(recordSleep);
  }
  void TearDown() override {
    PrinterUsb::setSleepFunction(nullptr);
    loadUsbLibrary(nullptr);
  }

  FakeUsb fake{};
};

TEST_F(PrinterUsbTest, OpensTheFirstPrinterInBusAndDeviceOrder) {
  struct Case {
    const char* name;
    std::vector<std::vector<int>> devices;  // {bus, vendor, product}
    int result;
    std::string opened;  // the device number opened, empty for none
  };
  const Case kCases[] = {
      {"one printer", {{0, 0x0FE6, 0x811E}}, 1, "1"},
      {"same vendor, other product ignored", {{0, 0x0FE6, 0x811F}, {0, 0x0FE6, 0x811E}}, 1, "2"},
      {"other vendor, same product ignored", {{0, 0x0FE7, 0x811E}}, 0, ""},
      {"two printers on one bus", {{0, 0x1234, 0x0001}, {0, 0x0FE6, 0x811E}, {0, 0x0FE6, 0x811E}},
       1, "2"},
      {"earlier bus wins over device order", {{1, 0x0FE6, 0x811E}, {0, 0x0FE6, 0x811E}}, 1, "2"},
      {"printer on a later bus", {{0, 0x1234, 0x0001}, {3, 0x0FE6, 0x811E}}, 1, "2"},
      {"no devices", {}, 0, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fake.clear();
    for (const std::vector<int>& d : c.devices) fake.addDevice(d[0], d[1], d[2]);
    LogCapture capture;
    PrinterUsb pipe;
    EXPECT_EQ(pipe.startCommunication(), c.result);
    if (c.opened.empty()) {
      EXPECT_EQ(fake.calls(), (Calls{"usb_init", "usb_find_busses", "usb_find_devices",
                                     "usb_get_busses"}));
      EXPECT_EQ(capture.messages(), Calls{kOpenFailed});
      EXPECT_TRUE(capture.has(kOpenFailed, LOG_ERROR));
    } else {
      EXPECT_EQ(fake.calls(), openCalls(c.opened));
      EXPECT_EQ(capture.messages(), (Calls{kOpened, kConfigured, kClaimed}));
    }
  }
}

TEST_F(PrinterUsbTest, ConfigurationOrInterfaceRefusedClosesTheHandle) {
  struct Case {
    const char* name;
    const char* refused;
    Calls calls;
    Calls messages;
  };
  const Case kCases[] = {
      {"open refused", "usb_open",
       {"usb_init", "usb_find_busses", "usb_find_devices", "usb_get_busses", "usb_open 1"},
       {kOpenFailed}},
      {"configuration refused", "usb_set_configuration",
       {"usb_init", "usb_find_busses", "usb_find_devices", "usb_get_busses", "usb_open 1",
        "usb_set_configuration 1 1", "usb_close 1"},
       {kOpened, kConfigFailed}},
      {"interface refused", "usb_claim_interface",
       join(openCalls("1"), {"usb_close 1"}),
       {kOpened, kConfigured, kClaimFailed}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fake.clear();
    fake.addDevice(0, 0x0FE6, 0x811E);
    fake.script(c.refused, -16, 1);
    LogCapture capture;
    PrinterUsb pipe;
    EXPECT_EQ(pipe.startCommunication(), 0);
    EXPECT_EQ(fake.calls(), c.calls);
    EXPECT_EQ(capture.messages(), c.messages);
    EXPECT_EQ(fake.openHandles(), 0);
  }
}

TEST_F(PrinterUsbTest, WriteSendsTheWholeJobInOneTransfer) {
  fake.addDevice(0, 0x0FE6, 0x811E);
  PrinterUsb pipe;
  ASSERT_EQ(pipe.startCommunication(), 1);
  // longer than a 64-byte packet: still one call
  std::vector<uint8_t> job(300, 0x41);
  job[0] = 0x1B;
  job[299] = 0x0A;
  EXPECT_EQ(pipe.write(job.data(), 300), 300);
  EXPECT_EQ(fake.calls().back(), "usb_bulk_write 1 2 300 5000");
  std::vector<uint8_t> sent(400);
  ASSERT_EQ(fake.lastWrite(sent.data(), 400), 300);
  sent.resize(300);
  EXPECT_EQ(sent, job);
}

TEST_F(PrinterUsbTest, WriteOpensTheDeviceWhenNoneIsHeld) {
  struct Case {
    const char* name;
    bool present;
    int result;
  };
  const Case kCases[] = {{"printer plugged in since", true, 3}, {"still no printer", false, 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fake.clear();
    PrinterUsb pipe;
    ASSERT_EQ(pipe.startCommunication(), 0);
    fake.clear();
    if (c.present) fake.addDevice(0, 0x0FE6, 0x811E);
    const uint8_t bytes[] = {0x1B, 0x40, 0x0A};
    EXPECT_EQ(pipe.write(bytes, 3), c.result);
    const Calls expected = c.present
                               ? join(openCalls("1"), {"usb_bulk_write 1 2 3 5000"})
                               : Calls{"usb_init", "usb_find_busses", "usb_find_devices",
                                       "usb_get_busses"};
    EXPECT_EQ(fake.calls(), expected);
  }
}

TEST_F(PrinterUsbTest, FailedWriteResetsWaitsAndReopens) {
  struct Case {
    const char* name;
    bool reopens;
    int result;
  };
  const Case kCases[] = {{"device comes back", true, -5}, {"device gone", false, 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fake.clear();
    gSleeps.clear();
    fake.addDevice(0, 0x0FE6, 0x811E);
    PrinterUsb pipe;
    ASSERT_EQ(pipe.startCommunication(), 1);
    fake.clear();
    fake.addDevice(0, 0x0FE6, 0x811E);
    fake.script("usb_bulk_write", -5, 1);
    if (!c.reopens) fake.script("usb_open", -1, 1);
    LogCapture capture;
    const uint8_t bytes[] = {0x41, 0x42};
    EXPECT_EQ(pipe.write(bytes, 2), c.result);
    EXPECT_EQ(gSleeps, std::vector<int>{1000});
    const Calls head = {"usb_bulk_write 1 2 2 5000", "usb_reset 1", "usb_close 1"};
    const Calls expected =
        c.reopens ? join(head, openCalls("1"))
                  : join(head, {"usb_init", "usb_find_busses", "usb_find_devices",
                                "usb_get_busses", "usb_open 1"});
    EXPECT_EQ(fake.calls(), expected);
    EXPECT_TRUE(capture.has(kRestart, LOG_INFO));
    EXPECT_EQ(capture.messages().front(), kRestart);
    // the failed bytes are not sent again; the next write goes through
    fake.clear();
    fake.addDevice(0, 0x0FE6, 0x811E);
    EXPECT_EQ(pipe.write(bytes, 2), 2);
  }
}

TEST_F(PrinterUsbTest, StartingAgainResetsTheHeldDevice) {
  fake.addDevice(0, 0x0FE6, 0x811E);
  PrinterUsb pipe;
  ASSERT_EQ(pipe.startCommunication(), 1);
  fake.clear();
  fake.addDevice(0, 0x0FE6, 0x811E);
  ASSERT_EQ(pipe.startCommunication(), 1);
  EXPECT_EQ(fake.calls(), join({"usb_reset 1", "usb_close 1"}, openCalls("1")));
  EXPECT_TRUE(gSleeps.empty());
}

TEST_F(PrinterUsbTest, ClosePaths) {
  struct Case {
    const char* name;
    bool open;
    int closeAnswer;  // what usb_close answers
    int result;
    Calls calls;
    Calls messages;
  };
  const Case kCases[] = {
      {"open device", true, 0, 1, {"usb_close 1"}, {kClosing, kClosed}},
      {"close refused", true, -5, 0, {"usb_close 1"}, {kClosing, kCloseFailed}},
      {"never opened", false, 0, 0, {}, {kClosing, kCloseFailed}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fake.clear();
    if (c.open) fake.addDevice(0, 0x0FE6, 0x811E);
    PrinterUsb pipe;
    if (c.open) {
      ASSERT_EQ(pipe.startCommunication(), 1);
    }
    fake.clear();
    if (c.closeAnswer != 0) fake.script("usb_close", c.closeAnswer, 1);
    LogCapture capture;
    EXPECT_EQ(pipe.close(), c.result);
    EXPECT_EQ(fake.calls(), c.calls);
    EXPECT_EQ(capture.messages(), c.messages);
    for (const LogCapture::Line& line : capture.lines()) {
      EXPECT_EQ(line.where, "PrinterUsb::close");
      EXPECT_EQ(line.level, LOG_INFO);
    }
    // closed: a second close has nothing to close
    EXPECT_EQ(pipe.close(), 0);
  }
}

TEST_F(PrinterUsbTest, DroppedPipeLetsGoOfTheDevice) {
  fake.addDevice(0, 0x0FE6, 0x811E);
  {
    PrinterUsb pipe;
    ASSERT_EQ(pipe.startCommunication(), 1);
    EXPECT_EQ(fake.openHandles(), 1);
  }
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_F(PrinterUsbTest, ReadReadsTwiceAndAnswersTheSecond) {
  fake.addDevice(0, 0x0FE6, 0x811E);
  PrinterUsb pipe;
  ASSERT_EQ(pipe.startCommunication(), 1);
  fake.clear();
  fake.script("usb_bulk_read", 7, 1);
  uint8_t buffer[8] = {};
  EXPECT_EQ(pipe.read(buffer, 8), 1);
  EXPECT_EQ(fake.calls(), (Calls{"usb_bulk_read 1 129 8 5000", "usb_bulk_read 1 129 8 5000"}));
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
  EXPECT_TRUE(fake.calls().empty());
}

TEST_F(PrinterUsbTest, NullOrNegativeWritesAreRefused) {
  fake.addDevice(0, 0x0FE6, 0x811E);
  PrinterUsb pipe;
  const uint8_t bytes[] = {0x0A};
  EXPECT_EQ(pipe.write(nullptr, 1), 0);
  EXPECT_EQ(pipe.write(bytes, -1), 0);
  EXPECT_TRUE(fake.calls().empty());
}

}  // namespace
