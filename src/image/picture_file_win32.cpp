// picture_file_win32.cpp - a picture file on Windows: a disk file only;
// reads give their offset in an OVERLAPPED on the synchronous handle.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "common/regular_file_win32.h"
#include "image/ImagePlatform.h"

namespace tq587 {
namespace image_platform {

namespace {
HANDLE toHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

Handle openFile(const char* path, int64_t* size) {
  HANDLE h = win32::keepDiskFile(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (h == INVALID_HANDLE_VALUE) return kInvalidHandle;
  LARGE_INTEGER length;
  if (!GetFileSizeEx(h, &length)) {
    CloseHandle(h);
    return kInvalidHandle;
  }
  *size = length.QuadPart;
  return reinterpret_cast<Handle>(h);
}

void closeFile(Handle handle) {
  if (handle != kInvalidHandle) CloseHandle(toHandle(handle));
}

size_t readAt(Handle handle, int64_t offset, uint8_t* bytes, size_t n) {
  size_t done = 0;
  while (handle != kInvalidHandle && done < n) {
    const uint64_t at = static_cast<uint64_t>(offset) + done;
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(toHandle(handle), bytes + done, ask, &got, &where) || got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace image_platform
}  // namespace tq587
