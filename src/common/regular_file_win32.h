// regular_file_win32.h - how the Windows platform files keep a file that
// must be a regular one (CONVERSOR.INI, a picture, a log file): CreateFileA
// waits on no pipe or device, and GetFileType then tells a disk file from
// a device (NUL, COM1...) or a pipe of that name.
#pragma once

#include <windows.h>

namespace tq587 {
namespace win32 {

// The handle when it is a disk file's; otherwise it is closed and the
// result is INVALID_HANDLE_VALUE.
inline HANDLE keepDiskFile(HANDLE handle) {
  if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return INVALID_HANDLE_VALUE;
  }
  return handle;
}

}  // namespace win32
}  // namespace tq587
