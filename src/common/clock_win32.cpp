// clock_win32.cpp - waiting on Windows.
#include <windows.h>

#include "common/ClockPlatform.h"

namespace tq587 {
namespace clock_platform {

void sleep(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace clock_platform
}  // namespace tq587
