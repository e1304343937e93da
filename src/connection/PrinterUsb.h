// PrinterUsb.h - the printer on USB, through libusb 0.1 bulk transfers.
#pragma once

#include <cstdint>

#include "connection/AbstractCommunicationPipe.h"

struct usb_dev_handle;

// The printer model's USB identity.
constexpr uint16_t kUsbVendorId = 0x0FE6;
constexpr uint16_t kUsbProductId = 0x811E;

class PrinterUsb : public AbstractCommunicationPipe {
 public:
  PrinterUsb() = default;
  ~PrinterUsb() override;
  PrinterUsb(const PrinterUsb&) = delete;
  PrinterUsb& operator=(const PrinterUsb&) = delete;

  // Opens the first device with the printer's ids, configuration 1,
  // interface 0. 1 open, 0 not.
  int startCommunication() override;
  // Two bulk reads from endpoint 0x81 into bytes; the second one's count.
  int read(uint8_t* bytes, int32_t length) override;
  // One bulk write to endpoint 0x02. A failed transfer resets and reopens
  // the device and still answers the negative result.
  int write(const uint8_t* bytes, int32_t length) override;
  int close() override;

 private:
  // Resets the device through the handle, releases the handle and holds none.
  void resetAndDrop();

  usb_dev_handle* handle_ = nullptr;
};
