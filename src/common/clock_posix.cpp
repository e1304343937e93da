// clock_posix.cpp - waiting and the calendar on a POSIX system.
#include <time.h>

#include <cerrno>
#include <ctime>

#include "common/ClockPlatform.h"

namespace tq587 {
namespace clock_platform {

void sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

bool localCalendar(std::time_t moment, std::tm* out) {
  tzset();  // TZ as it is now, as localtime() takes it
  return localtime_r(&moment, out) != nullptr;
}

bool utcCalendar(std::time_t moment, std::tm* out) { return gmtime_r(&moment, out) != nullptr; }

}  // namespace clock_platform
}  // namespace tq587
