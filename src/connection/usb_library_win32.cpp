// usb_library_win32.cpp - loading libusb-win32 (libusb0.dll) at run time. A
// machine without it simply has no USB printer.
#include <windows.h>

#include "connection/UsbLibrary.h"

namespace usbplatform {

const char* defaultLibraryName() { return "libusb0.dll"; }

void* openLibrary(const char* path) { return LoadLibraryA(path); }

void* findSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace usbplatform
