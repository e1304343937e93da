// LogPlatform.h - what the log needs of the operating system.
//
// One file per platform implements these calls (log_directory_posix.cpp,
// log_directory_win32.cpp); the log in Log.cpp holds no platform code.
#pragma once

#include <cstdio>
#include <string>

namespace tq587 {
namespace log_platform {

// The directory c:\KORVA\ on this platform, with its trailing separator.
// The directory itself is never created here.
std::string directory();

// Opens a log file to append lines to, as fopen(path, "a") does, but takes
// it only when it is a regular file (after links) and never waits: a FIFO,
// a device, a socket or a folder of that name, or a link that leads to
// nothing, is no file. nullptr when there is none.
std::FILE* openForAppending(const char* path);

}  // namespace log_platform
}  // namespace tq587
