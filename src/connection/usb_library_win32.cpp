// usb_library_win32.cpp - loading libusb-win32 (libusb0.dll) at run time. A
// machine without it simply has no USB printer.
#include <windows.h>

#include <string>

#include "connection/UsbPlatform.h"

namespace tq587 {
namespace usb_platform {

namespace {

// The folder of the application's program, with its separator; empty when
// it cannot be had.
std::string applicationFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// The system's folder, as above.
std::string systemFolder() {
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? "" : std::string(path, length) + "\\";
}

}  // namespace

const char* defaultLibraryName() { return "libusb0.dll"; }

// From the application's folder and the system's folders only, never from
// the current directory, where anyone who may write the application's data
// could leave a DLL of that name.
void* openLibrary(const char* path) {
  HMODULE library = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return library;
  // a system without these search flags: the two folders by full path
  for (const std::string& folder : {applicationFolder(), systemFolder()}) {
    if (!folder.empty() && (library = LoadLibraryA((folder + path).c_str())) != nullptr) break;
  }
  return library;
}

void* findSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace usb_platform
}  // namespace tq587
