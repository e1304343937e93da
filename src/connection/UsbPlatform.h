// UsbPlatform.h - what loading libusb 0.1 needs of the operating system.
//
// usb_library_posix.cpp opens shared libraries on every POSIX system and
// usb_library_<system>.cpp names the system's own libusb 0.1
// (usb_library_linux.cpp); usb_library_win32.cpp does both on Windows.
// UsbLibrary.cpp above them holds no platform code.
#pragma once

namespace tq587 {
namespace usb_platform {

// The file name of the system's libusb 0.1.
const char* defaultLibraryName();
// Opens a shared library: a handle, nullptr when it cannot be loaded.
void* openLibrary(const char* path);
// The address of an exported name, nullptr when missing.
void* findSymbol(void* library, const char* name);

}  // namespace usb_platform
}  // namespace tq587
