// clock_win32.cpp - waiting and the calendar on Windows.
#include <windows.h>

#include <ctime>

#include "common/ClockPlatform.h"

namespace tq587 {
namespace clock_platform {

void sleep(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

// The C runtime keeps the result of localtime and gmtime per thread: it is
// copied before anything else can change it.
bool localCalendar(std::time_t moment, std::tm* out) {
  const std::tm* tm = std::localtime(&moment);
  if (tm) *out = *tm;
  return tm != nullptr;
}

bool utcCalendar(std::time_t moment, std::tm* out) {
  const std::tm* tm = std::gmtime(&moment);
  if (tm) *out = *tm;
  return tm != nullptr;
}

}  // namespace clock_platform
}  // namespace tq587
