// UsbLibrary_posix.cpp - loading libusb 0.1 and waiting, on POSIX systems.
#include <dlfcn.h>
#include <time.h>

#include <cerrno>

#include "connection/UsbLibrary.h"

namespace usbplatform {

const char* defaultLibraryName() { return "libusb-0.1.so.4"; }

void* openLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

void sleepMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

}  // namespace usbplatform
