// usb_library_posix.cpp - loading a shared library on POSIX systems; the
// file name of the system's libusb 0.1 is in usb_library_<system>.cpp.
#include <dlfcn.h>

#include "connection/UsbPlatform.h"

namespace tq587 {
namespace usb_platform {

void* openLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

}  // namespace usb_platform
}  // namespace tq587
