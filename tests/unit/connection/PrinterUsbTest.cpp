// PrinterUsbTest.cpp - the USB pipe against a fake libusb 0.1: which of
// several devices it opens, what it closes when a step is refused, the
// transfer a write makes and what close answers. A failed write's reset,
// wait and reopen, and a printer that goes, are tests/e2e/faults_test.cpp's.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeUsb.h"
#include "connection/PrinterUsb.h"
#include "connection/UsbLibrary.h"

namespace {

// The script of the fake, found in the same loaded library that the pipe uses.
void* gFake = nullptr;
#define FAKE(name) reinterpret_cast<decltype(&fakeusb_##name)>(dlsym(gFake, "fakeusb_" #name))
// The libusb calls since the last clear, one a line.
std::string calls() { return FAKE(calls)(); }
// Forgets everything, then plugs in one printer (0FE6:811E) on bus 0, unless told not to.
void plug(bool printer = true) {
  FAKE(clear)();
  if (printer) FAKE(add_device)(0, 0x0FE6, 0x811E);
}

const std::string kSearch = "usb_init\nusb_find_busses\nusb_find_devices\nusb_get_busses\n";
// One successful open of device n after a fresh search.
std::string opening(const std::string& n) {
  return kSearch + "usb_open " + n + "\nusb_set_configuration " + n + " 1\nusb_claim_interface " +
         n + " 0\n";
}

class PrinterUsbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gFake = dlopen(TQ587_FAKE_USB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(gFake, nullptr) << dlerror();
    ASSERT_NE(loadUsbLibrary(TQ587_FAKE_USB_PATH), nullptr);
  }
  void TearDown() override { loadUsbLibrary(nullptr); }
  // Opens pipe on one printer, then forgets the calls so far (the printer stays).
  void openOn(PrinterUsb& pipe) {
    plug();
    ASSERT_EQ(pipe.startCommunication(), 1);
    plug();
  }
};

TEST_F(PrinterUsbTest, OpensTheFirstPrinterInBusAndDeviceOrderOrClosesWhatItRefuses) {
  const std::vector<int> P = {0x0FE6, 0x811E};  // the printer
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::vector<int>>> devices;  // {bus, {vendor, product}}
    const char* refused;                                    // a libusb call that fails
    int result;
    std::string calls;
  };
  const Case kCases[] = {
      {"one printer", {{0, P}}, "", 1, opening("1")},
      {"the vendor's other product passed over, first of two printers",
       {{0, {0x0FE6, 0x811F}}, {0, P}, {0, P}}, "", 1, opening("2")},
      {"other vendor's device passed over, printer on a later bus", {{0, {0x0FE7, 0x811E}}, {3, P}},
       "", 1, opening("2")},
      {"earlier bus wins over device order", {{1, P}, {0, P}}, "", 1, opening("2")},
      {"open refused", {{0, P}}, "usb_open", 0, kSearch + "usb_open 1\n"},
      {"configuration refused", {{0, P}}, "usb_set_configuration", 0,
       kSearch + "usb_open 1\nusb_set_configuration 1 1\nusb_close 1\n"},
      {"interface refused", {{0, P}}, "usb_claim_interface", 0, opening("1") + "usb_close 1\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    FAKE(clear)();
    for (const auto& d : c.devices) FAKE(add_device)(d.first, d.second[0], d.second[1]);
    FAKE(script)(c.refused, -16);
    PrinterUsb pipe;
    EXPECT_EQ(pipe.startCommunication(), c.result);
    EXPECT_EQ(calls(), c.calls);
  }
}

TEST_F(PrinterUsbTest, WriteOpensAndSendsOneTransferAndCloseLetsGoOnce) {
  auto pipe = std::make_unique<PrinterUsb>();
  plug();
  const uint8_t job[] = {0x1B, 0x40, 0x41, 0x0A};
  EXPECT_EQ(pipe->write(job, 4), 4);
  EXPECT_EQ(calls(), opening("1") + "usb_bulk_write 1 2 4 5000 1B 40 41 0A\n");

  plug();
  FAKE(script)("usb_close", -5);
  EXPECT_EQ(pipe->close(), 0);
  EXPECT_EQ(pipe->close(), 0);  // nothing left to close
  EXPECT_EQ(calls(), "usb_close 1\n");
  openOn(*pipe);
  EXPECT_EQ(pipe->close(), 1);
  openOn(*pipe);
  pipe.reset();  // a dropped pipe lets go of its device
  EXPECT_EQ(calls(), "usb_close 1\n");
}

TEST_F(PrinterUsbTest, NoLibusbMeansNoDevice) {
  plug();
  ASSERT_EQ(loadUsbLibrary("/nonexistent/libusb-0.1.so.4"), nullptr);
  PrinterUsb pipe;
  const uint8_t bytes[] = {0x0A};
  EXPECT_EQ(pipe.write(bytes, 1), 0);
  EXPECT_EQ(pipe.close(), 0);
  EXPECT_EQ(calls(), "");
}

}  // namespace
