// log_directory_posix.cpp - where c:\KORVA\ lives on a POSIX system, and
// how a file there is opened.
//
// Under a Windows compatibility layer the drive c: is the entry dosdevices/c:
// of the current directory; otherwise the log files go to /var/log/KORVA/.
// The directory itself is never created here.
#include <sys/stat.h>

#include "common/regular_file_posix.h"
#include "log/LogPlatform.h"

namespace tq587 {
namespace log_platform {

std::string directory() {
  struct stat st;
  if (stat("dosdevices/c:", &st) == 0 && S_ISDIR(st.st_mode)) return "dosdevices/c:/KORVA/";
  return "/var/log/KORVA/";
}

std::FILE* openForAppending(const char* path) {
  constexpr int kFlags = O_WRONLY | O_APPEND;
  // A file that is there is opened where its links lead; a missing one is
  // created, never through a link. Twice, should another process create it
  // in between.
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 2; ++attempt) {
    fd = posix::openRegular(path, kFlags);
    if (fd < 0 && errno == ENOENT) fd = posix::openRegular(path, kFlags | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    if (fd < 0 && errno != EEXIST) return nullptr;
  }
  std::FILE* file = fd >= 0 ? ::fdopen(fd, "a") : nullptr;
  if (!file && fd >= 0) ::close(fd);
  return file;
}

}  // namespace log_platform
}  // namespace tq587
