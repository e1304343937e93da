// clock_win32.cpp - waiting on Windows.
#include <windows.h>

#include "common/Clock.h"

namespace tq587 {

void platformSleep(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace tq587
