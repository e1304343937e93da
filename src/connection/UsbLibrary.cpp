// UsbLibrary.cpp - fills the table of libusb 0.1 calls from a loaded library.
#include "connection/UsbLibrary.h"

#include "connection/UsbPlatform.h"

namespace {

UsbLibrary gLibrary;
const UsbLibrary* gLoaded = nullptr;
bool gTried = false;

template <typename Function>
bool bind(void* library, const char* name, Function*& slot) {
  // The platform hands back an untyped address; each slot knows its own type.
  slot = reinterpret_cast<Function*>(tq587::usb_platform::findSymbol(library, name));
  return slot != nullptr;
}

const UsbLibrary* load(const char* path) {
  gTried = true;
  gLoaded = nullptr;
  void* library = tq587::usb_platform::openLibrary(path);
  if (!library) return nullptr;
  UsbLibrary table{};
  const bool complete = bind(library, "usb_init", table.init) &&
                        bind(library, "usb_find_busses", table.findBusses) &&
                        bind(library, "usb_find_devices", table.findDevices) &&
                        bind(library, "usb_get_busses", table.getBusses) &&
                        bind(library, "usb_open", table.open) &&
                        bind(library, "usb_set_configuration", table.setConfiguration) &&
                        bind(library, "usb_claim_interface", table.claimInterface) &&
                        bind(library, "usb_bulk_write", table.bulkWrite) &&
                        bind(library, "usb_bulk_read", table.bulkRead) &&
                        bind(library, "usb_reset", table.reset) &&
                        bind(library, "usb_close", table.close);
  if (!complete) return nullptr;
  gLibrary = table;
  gLoaded = &gLibrary;
  return gLoaded;
}

}  // namespace

const UsbLibrary* usbLibrary() {
  if (!gTried) load(tq587::usb_platform::defaultLibraryName());
  return gLoaded;
}

const UsbLibrary* loadUsbLibrary(const char* path) {
  return load(path ? path : tq587::usb_platform::defaultLibraryName());
}
