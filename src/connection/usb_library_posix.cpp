// usb_library_posix.cpp - loading libusb 0.1 on POSIX systems.
#include <dlfcn.h>

#include "connection/UsbLibrary.h"

namespace usbplatform {

const char* defaultLibraryName() { return "libusb-0.1.so.4"; }

void* openLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

}  // namespace usbplatform
