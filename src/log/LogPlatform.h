// LogPlatform.h - what the log needs of the operating system.
//
// One file per platform implements these calls (log_directory_posix.cpp,
// log_directory_win32.cpp); the log in Log.cpp holds no platform code.
#pragma once

#include <string>

namespace tq587 {
namespace log_platform {

// The directory c:\KORVA\ on this platform, with its trailing separator.
// The directory itself is never created here.
std::string directory();

}  // namespace log_platform
}  // namespace tq587
