// picture_file_posix.cpp - a picture file on POSIX: a regular file only,
// opened without waiting, then read with pread.
#include <unistd.h>

#include <cerrno>

#include "common/regular_file_posix.h"
#include "image/ImagePlatform.h"

namespace tq587 {
namespace image_platform {

Handle openFile(const char* path, int64_t* size) {
  struct stat info;
  const int fd = posix::openRegular(path, O_RDONLY, 0, &info);
  if (fd < 0) return kInvalidHandle;
  *size = static_cast<int64_t>(info.st_size);
  return fd;
}

void closeFile(Handle handle) {
  if (handle >= 0) ::close(static_cast<int>(handle));
}

size_t readAt(Handle handle, int64_t offset, uint8_t* bytes, size_t n) {
  size_t done = 0;
  while (handle >= 0 && done < n) {
    const ssize_t r = ::pread(static_cast<int>(handle), bytes + done, n - done,
                              static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    done += static_cast<size_t>(r);
  }
  return done;
}

}  // namespace image_platform
}  // namespace tq587
