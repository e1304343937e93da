// PrinterUsbTest.cpp - the USB pipe against a fake libusb 0.1: which of
// several devices it opens, what it closes when a step is refused, the
// transfer a write makes, the reset, wait and reopen after a failed write,
// and what close answers.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeUsb.h"
#include "connection/PrinterUsb.h"
#include "connection/UsbLibrary.h"
#include "support/TestSupport.h"

namespace {

// The script of the fake, found in the same loaded library that the pipe uses.
void* gFake = nullptr;
#define FAKE(name) reinterpret_cast<decltype(&fakeusb_##name)>(dlsym(gFake, "fakeusb_" #name))
std::string calls() { return FAKE(calls)(); }
// Forgets every device and call, then plugs in one printer (0FE6:811E) on bus 0.
void plug() {
  FAKE(clear)();
  FAKE(add_device)(0, 0x0FE6, 0x811E);
}

const std::string kSearch = "usb_init\nusb_find_busses\nusb_find_devices\nusb_get_busses\n";
// One successful open of device n after a fresh search.
std::string opening(const std::string& n) {
  return kSearch + "usb_open " + n + "\nusb_set_configuration " + n + " 1\nusb_claim_interface " + n + " 0\n";
}

class PrinterUsbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gFake = dlopen(TQ587_FAKE_USB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(gFake, nullptr) << dlerror();
    ASSERT_NE(loadUsbLibrary(TQ587_FAKE_USB_PATH), nullptr);
  }
  void TearDown() override { loadUsbLibrary(nullptr); }
};

TEST_F(PrinterUsbTest, OpensTheFirstPrinterInBusAndDeviceOrderOrClosesWhatItRefuses) {
  struct Case {
    const char* name;
    std::vector<std::vector<int>> devices;  // bus, vendor, product; numbered from 1
    const char* refused;                    // a libusb call that fails
    int result;
    std::string calls;
  };
  const Case kCases[] = {
      {"bus 0 first; the vendor's other product and another vendor's device passed over; first of two",
       {{1, 0x0FE6, 0x811E}, {0, 0x0FE6, 0x811F}, {0, 0x0FE7, 0x811E}, {0, 0x0FE6, 0x811E}, {0, 0x0FE6, 0x811E}},
       "", 1, opening("4")},
      {"open refused", {{0, 0x0FE6, 0x811E}}, "usb_open", 0, kSearch + "usb_open 1\n"},
      {"configuration refused", {{0, 0x0FE6, 0x811E}}, "usb_set_configuration", 0,
       kSearch + "usb_open 1\nusb_set_configuration 1 1\nusb_close 1\n"},
      {"interface refused", {{0, 0x0FE6, 0x811E}}, "usb_claim_interface", 0, opening("1") + "usb_close 1\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    FAKE(clear)();
    for (const std::vector<int>& d : c.devices) FAKE(add_device)(d[0], d[1], d[2]);
    FAKE(script)(c.refused, -16);
    PrinterUsb pipe;
    EXPECT_EQ(pipe.startCommunication(), c.result);
    EXPECT_EQ(calls(), c.calls);
  }
}

// Bulk OUT endpoint 0x02, 5000 ms. A failed write is reset, waited for
// (1 s) and reopened, and answers its failure: its bytes are not sent again.
// A device that does not come back answers 0, and so does every later write,
// without a reset or a wait.
TEST_F(PrinterUsbTest, WritesOneTransferReopensAfterAFailureAndClosesOnce) {
  TestClock clock;
  auto pipe = std::make_unique<PrinterUsb>();
  plug();
  const uint8_t job[] = {0x1B, 0x40, 0x41, 0x0A};
  EXPECT_EQ(pipe->write(job, 4), 4);  // opens first
  FAKE(script)("usb_bulk_write", -5);
  EXPECT_EQ(pipe->write(job, 1), -5);
  EXPECT_EQ(pipe->write(job, 1), 1);
  FAKE(script)("usb_close", -5);
  EXPECT_EQ(pipe->close(), 0);
  EXPECT_EQ(pipe->close(), 0);  // nothing left to close
  EXPECT_EQ(pipe->startCommunication(), 1);
  FAKE(script)("usb_bulk_write", -19);  // unplugged
  FAKE(script)("usb_open", -1);
  EXPECT_EQ(pipe->write(job, 1), 0);
  FAKE(script)("usb_open", -1);
  EXPECT_EQ(pipe->write(job, 1), 0);
  EXPECT_EQ(pipe->startCommunication(), 1);  // plugged in again
  pipe.reset();  // a pipe let go of closes its device
  EXPECT_EQ(clock.slept, 2000);
  const std::string failed = "usb_bulk_write 1 2 1 5000 1B\nusb_reset 1\nusb_close 1\n";
  EXPECT_EQ(calls(), opening("1") + "usb_bulk_write 1 2 4 5000 1B 40 41 0A\n" + failed + opening("1") +
                         "usb_bulk_write 1 2 1 5000 1B\nusb_close 1\n" + opening("1") + failed + kSearch +
                         "usb_open 1\n" + kSearch + "usb_open 1\n" + opening("1") + "usb_close 1\n");
}

TEST_F(PrinterUsbTest, NoLibusbMeansNoDevice) {
  plug();
  ASSERT_EQ(loadUsbLibrary("/nonexistent/libusb-0.1.so.4"), nullptr);
  PrinterUsb pipe;
  const uint8_t lineFeed[] = {0x0A};
  EXPECT_EQ(pipe.write(lineFeed, 1), 0);
  EXPECT_EQ(pipe.close(), 0);
  EXPECT_EQ(calls(), "");
}

}  // namespace
