// log_directory_win32.cpp - the fixed log directory on Windows, and how a
// file there is opened.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "common/regular_file_win32.h"
#include "log/LogPlatform.h"

namespace tq587 {
namespace log_platform {

std::string directory() { return "c:\\KORVA\\"; }

std::FILE* openForAppending(const char* path) {
  // as fopen(path, "a") opens it (text mode: each line ends in CR LF), but
  // only a disk file: a device or a pipe of that name is no file
  const HANDLE file = win32::keepDiskFile(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_APPEND | _O_TEXT | _O_WRONLY);
  if (fd < 0) {
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(fd, "a");
  if (!stream) _close(fd);  // and the handle with it
  return stream;
}

}  // namespace log_platform
}  // namespace tq587
