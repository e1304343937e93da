// usb_library_linux.cpp - the file name of libusb 0.1 on Linux.
#include "connection/UsbPlatform.h"

namespace tq587 {
namespace usb_platform {

const char* defaultLibraryName() { return "libusb-0.1.so.4"; }

}  // namespace usb_platform
}  // namespace tq587
