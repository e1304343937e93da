// PictureFile.h - a picture file open for reading.
//
// Only a regular file opens, and opening never waits: a FIFO or a device
// named as a picture would block a plain open or read for ever, so the file
// is opened without waiting and refused unless it is a regular file. The
// calls are the platform's (ImagePlatform.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/ImagePlatform.h"

class PictureFile {
 public:
  PictureFile() = default;
  ~PictureFile() { tq587::image_platform::closeFile(handle_); }
  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  // false when the path names nothing, cannot be read or is not a regular file.
  bool open(const char* path) {
    int64_t size = 0;
    const tq587::image_platform::Handle handle = tq587::image_platform::openFile(path, &size);
    if (handle == tq587::image_platform::kInvalidHandle) return false;
    handle_ = handle;
    size_ = size;
    return true;
  }
  // The size of the file when it was opened.
  int64_t size() const { return size_; }
  // Reads up to n bytes from the offset on: fewer at the end of the file,
  // none past it or when the system refuses.
  size_t readAt(int64_t offset, uint8_t* bytes, size_t n) {
    return tq587::image_platform::readAt(handle_, offset, bytes, n);
  }

 private:
  tq587::image_platform::Handle handle_ = tq587::image_platform::kInvalidHandle;
  int64_t size_ = 0;
};
