// picture_file_posix.cpp - a picture file on POSIX: opened with O_NONBLOCK
// so that a FIFO without a writer does not hold the caller, then fstat to
// keep regular files only, then pread.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "image/ImagePlatform.h"

namespace tq587 {
namespace image_platform {

Handle openFile(const char* path, int64_t* size) {
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return kInvalidHandle;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return kInvalidHandle;
  }
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
