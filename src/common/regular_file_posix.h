// regular_file_posix.h - how the POSIX platform files open a file that must
// be a regular one (CONVERSOR.INI, a picture, a log file): without waiting,
// and only when it is (or its links lead to) a regular file.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tq587 {
namespace posix {

// open(path, flags, mode), retried when a signal interrupts it, with
// O_NONBLOCK (a FIFO without a writer or reader does not hold the caller;
// on a regular file it changes nothing), O_NOCTTY and O_CLOEXEC. The
// descriptor when it is a regular file, its status in info when asked;
// otherwise -1, with errno ENOENT only when nothing was there.
inline int openRegular(const char* path, int flags, mode_t mode = 0, struct stat* info = nullptr) {
  int fd;
  do {
    fd = ::open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  struct stat status;
  if (fd >= 0 && (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
    ::close(fd);
    errno = EINVAL;  // something is there, and it is no regular file
    return -1;
  }
  if (fd >= 0 && info != nullptr) *info = status;
  return fd;
}

}  // namespace posix
}  // namespace tq587
