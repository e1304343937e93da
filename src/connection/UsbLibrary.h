// UsbLibrary.h - the libusb 0.1 calls of the USB pipe, loaded at run time.
//
// The library is looked up when the USB pipe first needs it, so that the
// driver loads and runs on a machine without libusb: there is then simply no
// USB device.
#pragma once

#include <usb.h>

struct UsbLibrary {
  void (*init)();
  int (*findBusses)();
  int (*findDevices)();
  struct usb_bus* (*getBusses)();
  usb_dev_handle* (*open)(struct usb_device* device);
  int (*setConfiguration)(usb_dev_handle* handle, int configuration);
  int (*claimInterface)(usb_dev_handle* handle, int interface);
  int (*bulkWrite)(usb_dev_handle* handle, int endpoint, const char* bytes, int size,
                   int timeout);
  int (*bulkRead)(usb_dev_handle* handle, int endpoint, char* bytes, int size, int timeout);
  int (*reset)(usb_dev_handle* handle);
  int (*close)(usb_dev_handle* handle);
};

// The system's libusb 0.1, loaded on first use; nullptr when it is not
// installed or lacks one of the calls.
const UsbLibrary* usbLibrary();

// Test seam: load the libusb 0.1 found at path instead (nullptr: the
// system's one again). Returns what usbLibrary() answers from now on.
const UsbLibrary* loadUsbLibrary(const char* path);
