// log_directory_posix.cpp - where c:\KORVA\ lives on a POSIX system, and
// how a file there is opened.
//
// Under a Windows compatibility layer the drive c: is the entry dosdevices/c:
// of the current directory; otherwise the log files go to /var/log/KORVA/.
// The directory itself is never created here.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "log/LogPlatform.h"

namespace tq587 {
namespace log_platform {

std::string directory() {
  struct stat st;
  if (stat("dosdevices/c:", &st) == 0 && S_ISDIR(st.st_mode)) return "dosdevices/c:/KORVA/";
  return "/var/log/KORVA/";
}

std::FILE* openForAppending(const char* path) {
  constexpr int kFlags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = -1;
  // A file that is there is opened where its links lead (O_NONBLOCK: a FIFO
  // without a reader does not hold the caller); a missing one is created,
  // never through a link. Twice, should another process create it between.
  for (int attempt = 0; fd < 0 && attempt < 2; ++attempt) {
    fd = ::open(path, kFlags);
    if (fd < 0 && errno == ENOENT) fd = ::open(path, kFlags | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    if (fd < 0 && errno != EEXIST && errno != EINTR) return nullptr;
  }
  struct stat info;
  if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = fd >= 0 ? ::fdopen(fd, "a") : nullptr;
  if (!file && fd >= 0) ::close(fd);
  return file;
}

}  // namespace log_platform
}  // namespace tq587
