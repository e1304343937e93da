// log_directory_win32.cpp - the fixed log directory on Windows.
#include "log/LogPlatform.h"

namespace tq587 {
namespace log_platform {

std::string directory() { return "c:\\KORVA\\"; }

}  // namespace log_platform
}  // namespace tq587
