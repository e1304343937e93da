// ImagePlatform.h - what reading a picture file needs of the operating
// system.
//
// One file per platform implements these calls (picture_file_posix.cpp,
// picture_file_win32.cpp); PictureFile above them holds no platform
// code. A handle is an open file, kInvalidHandle when there is none.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tq587 {
namespace image_platform {

using Handle = intptr_t;
constexpr Handle kInvalidHandle = -1;

// Opens a regular file for reading without waiting, and gives its size;
// kInvalidHandle when the path names nothing, cannot be read or is not a
// regular file.
Handle openFile(const char* path, int64_t* size);
void closeFile(Handle handle);
// Reads up to n bytes from the offset on: fewer at the end of the file,
// none past it or when the system refuses.
size_t readAt(Handle handle, int64_t offset, uint8_t* bytes, size_t n);

}  // namespace image_platform
}  // namespace tq587
