// log_directory_posix.cpp - where c:\KORVA\ lives on a POSIX system.
//
// Under a Windows compatibility layer the drive c: is the entry dosdevices/c:
// of the current directory; otherwise the log files go to /var/log/KORVA/.
// The directory itself is never created here.
#include <sys/stat.h>

#include "log/LogPlatform.h"

namespace tq587 {
namespace log_platform {

std::string directory() {
  struct stat st;
  if (stat("dosdevices/c:", &st) == 0 && S_ISDIR(st.st_mode)) return "dosdevices/c:/KORVA/";
  return "/var/log/KORVA/";
}

}  // namespace log_platform
}  // namespace tq587
